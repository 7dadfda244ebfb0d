#pragma once
// The host's command line: the generic form `quorvis [OPTIONS] [RUN]`, which plays the dialog
// parameter by parameter, and `quorvis compare RUN SDM1 SDM2 ...` for the common case. One option
// table yields both the parser and --help. Everything a user can get wrong here is refused before
// the run is read or the plug-in is loaded.

#include <deque>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/dialog_parameters.h"
#include "host/host_context.h"

namespace host {

// The host's exit statuses.
enum ExitStatus : int {
    kExitSuccess = 0,  // every step succeeded
    kExitFailure =
        1,  // the plug-in refused or failed, showed a message box, or a host service failed
    kExitUsage = 2,  // a wrong command line, or a run or plug-in that cannot be read
};

// A command line the host cannot act on; the text says which part and why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string run;                 // empty: no current document
    std::string pluginPath;          // empty: the plug-in beside the program
    DialogParameters parameters;     // the dialog with every --set applied
    std::vector<std::string> tasks;  // run in order
    std::deque<std::string> picks;   // answers of the file dialogs, in order
    bool printParameters = false;
    bool preview = false;  // a PNG picture beside each saved map
    HostVersion hostVersion;
};

struct CommandLine {
    std::optional<Options> options;  // none: stop with exitStatus
    int exitStatus = kExitSuccess;
};

// Parses the command line. --help and --version print to `out`; a usage error prints its
// message to `err` and gives kExitUsage.
CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err);

// "X.Y.Z" with three decimal integers. Throws UsageError.
HostVersion parseHostVersion(const std::string& text);

}  // namespace host
