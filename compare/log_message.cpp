#include "compare/log_message.h"

#include "plugin/descriptor.h"

namespace compare {

void logMessage(std::ostream& log, std::string_view text) {
    log << plugin::kPluginName << text << std::flush;
}

void logMessageOnNewLine(std::ostream& log, std::string_view text) {
    log << '\n' << plugin::kPluginName << text << std::flush;
}

}  // namespace compare
