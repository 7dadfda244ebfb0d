#include "tests/host/process_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/host/host_test_support.h"

extern char** environ;

namespace host_test {

ProcessResult runProcess(const std::vector<std::string>& arguments, const std::string& folder) {
    // The output goes to files, so a talkative process never blocks on a full pipe.
    const TempFolder capture;
    const std::string outPath = capture.path("out");
    const std::string errPath = capture.path("err");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int failure = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) throw std::runtime_error("cannot start " + arguments[0]);
    int wait = 0;
    if (waitpid(pid, &wait, 0) != pid) throw std::runtime_error("cannot wait for " + arguments[0]);

    ProcessResult result;
    result.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

}  // namespace host_test
