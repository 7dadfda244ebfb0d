#pragma once
// Runs a program as a separate process, as a user's shell would, and reports besides its exit
// status and output the most memory it held at once, so that a test can tell a refusal made
// before allocating from one made after touching gigabytes.

#include <string>
#include <vector>

namespace hardening {

struct ChildResult {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    int signal = 0;   // the signal that ended it, 0 when it exited
    std::string out;
    std::string err;
    long peakResidentKiB = 0;  // the child's maximum resident set size
};

// Runs `arguments` (the program first, found by path) in `folder`, standard input /dev/null.
ChildResult runChild(const std::vector<std::string>& arguments, const std::string& folder);

}  // namespace hardening
