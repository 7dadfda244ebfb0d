#pragma once
// Runs a program as a separate process and collects what it says, as a user's shell would.

#include <string>
#include <vector>

namespace host_test {

struct ProcessResult {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs `arguments` (the program first) in `folder` with standard input from /dev/null.
ProcessResult runProcess(const std::vector<std::string>& arguments, const std::string& folder);

}  // namespace host_test
