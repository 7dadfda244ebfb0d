#pragma once
// One session of the host: open the run, load the plug-in, create it, initialise it, run each
// task as one dialog action, destroy it and unload it, then report how it went.

#include <istream>
#include <ostream>

#include "host/command_line.h"

namespace host {

// Where a session's text goes; the file dialog asks `terminal` (null: no terminal).
struct SessionStreams {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
    std::istream* terminal = nullptr;
};

// Runs the session the options describe and returns its exit status.
int runSession(Options options, const SessionStreams& streams);

}  // namespace host
