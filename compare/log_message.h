#pragma once
// Progress messages of the comparison in the form the host's log pane shows: an optional line
// break, the plug-in's display name, a text that starts with ">  ", then a flush, so that the
// host receives each message in one log call.

#include <ostream>
#include <string_view>

namespace compare {

void logMessage(std::ostream& log, std::string_view text);

// The same, preceded by a line break, for messages that open a new step of the run.
void logMessageOnNewLine(std::ostream& log, std::string_view text);

}  // namespace compare
