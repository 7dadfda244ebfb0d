#pragma once
// Parses a quorvis command line the way main() does, keeping what it printed.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "host/command_line.h"

namespace host_test {

struct Parsed {
    host::CommandLine commandLine;
    std::string out;
    std::string err;
};

// The arguments without the program name, which is added in front.
inline Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "quorvis");
    std::ostringstream out;
    std::ostringstream err;
    host::CommandLine commandLine =
        host::parseCommandLine(static_cast<int>(arguments.size()), arguments.data(), out, err);
    return Parsed{std::move(commandLine), out.str(), err.str()};
}

}  // namespace host_test
