#include "tests/hardening/child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace hardening {
namespace {

// Output goes to files rather than pipes: a child that writes much to both streams cannot block
// while the parent waits for it.
std::string takeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    std::remove(path.c_str());
    return text;
}

}  // namespace

ChildResult runChild(const std::vector<std::string>& arguments, const std::string& folder) {
    const std::string temporary = std::filesystem::temp_directory_path().string();
    std::string outTemplate = temporary + "/tandrel-child-out-XXXXXX";
    std::string errTemplate = temporary + "/tandrel-child-err-XXXXXX";
    const int outFile = ::mkstemp(outTemplate.data());
    const int errFile = ::mkstemp(errTemplate.data());
    if (outFile < 0 || errFile < 0) throw std::runtime_error("cannot create output files");

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("cannot fork");
    if (child == 0) {
        const int input = ::open("/dev/null", O_RDONLY);
        if (input < 0 || ::dup2(input, 0) < 0 || ::dup2(outFile, 1) < 0 || ::dup2(errFile, 2) < 0 ||
            ::chdir(folder.c_str()) != 0) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outFile);
    ::close(errFile);

    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child) throw std::runtime_error("wait4 failed");
    ChildResult result;
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.peakResidentKiB = usage.ru_maxrss;
    result.out = takeFile(outTemplate);
    result.err = takeFile(errTemplate);
    return result;
}

}  // namespace hardening
