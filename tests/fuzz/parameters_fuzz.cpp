// Fuzz target of the host's parameter handling: the bytes, split at line feeds and NULs, are the
// arguments of a quorvis command line. A command line that parses fills the dialog, and the
// plug-in's side of the dialog then reads every parameter back through the host's services into
// 512-byte buffers of its own, as the plug-in does, writes it again, and asks the file dialog for
// each --pick. The buffers are heap blocks of exactly 512 bytes, so AddressSanitizer sees any
// write past them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/console.h"
#include "host/host_context.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// A command line has few arguments; a cap keeps each run of the target short.
constexpr std::size_t kMaxArguments = 64;
constexpr std::size_t kBufferSize = 512;

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"quorvis"};
    std::string current;
    for (std::size_t i = 0; i < size && arguments.size() < kMaxArguments; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n' || c == '\0') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() && arguments.size() < kMaxArguments) arguments.push_back(current);
    return arguments;
}

void useDialog(host::Options& options) {
    std::ostringstream out, err;
    host::Console console(out, err, false);
    host::HostContext host(console, options.parameters, std::nullopt, options.picks,
                           options.hostVersion, nullptr);
    const auto buffer = std::make_unique<char[]>(kBufferSize);
    for (const auto& [name, value] : options.parameters.all()) {
        if (!host.getStringParameter(name.c_str(), buffer.get())) __builtin_trap();
        if (buffer.get() != value) __builtin_trap();
        host.getIntParameter(name.c_str());
        host.setStringParameter(name.c_str(), buffer.get());
    }
    for (std::size_t i = 0; i < options.picks.size(); ++i) {
        host.getOpenFileName("Select an SDM:", "", "Design Matrix (*.sdm)", buffer.get());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = argumentsOf(data, size);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    host::CommandLine commandLine =
        host::parseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    if (commandLine.options) useDialog(*commandLine.options);
    return 0;
}
