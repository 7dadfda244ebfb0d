// quorvis: a stand-in for the host application that Tandrel-kit plug-ins run in.

#include <iostream>

#include "host/command_line.h"
#include "host/console.h"
#include "host/plugin_session.h"

int main(int argc, char** argv) {
    host::CommandLine commandLine = host::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (!commandLine.options) return commandLine.exitStatus;
    const host::SessionStreams streams{std::cout, std::cerr, host::stderrIsTerminal(),
                                       host::stdinIsTerminal() ? &std::cin : nullptr};
    return host::runSession(std::move(*commandLine.options), streams);
}
