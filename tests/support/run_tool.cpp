#include "tests/support/run_tool.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace ovlet::test_support {

bool LinuxPeersRun() {
    return true;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args, const ToolSetup& setup) {
    ToolResult result;
    int out[2], err[2], in[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) return result;
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (!setup.directory.empty() && ::chdir(setup.directory.c_str()) != 0) ::_exit(126);
        if (setup.asNobody && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(126);
        }
        if (setup.fileLimit >= 0) {
            // A write past the limit then fails with EFBIG instead of ending the program.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(setup.fileLimit), static_cast<rlim_t>(setup.fileLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (setup.memoryLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(setup.memoryLimit), static_cast<rlim_t>(setup.memoryLimit)};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        for (const std::string& name : setup.unset) ::unsetenv(name.c_str());
        for (const auto& [name, value] : setup.variables) ::setenv(name.c_str(), value.c_str(), 1);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (!setup.input.empty()) {
        ::signal(SIGPIPE, SIG_IGN);
        [[maybe_unused]] const ssize_t n = ::write(in[1], setup.input.data(), setup.input.size());
    }
    ::close(in[1]);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

ToolResult RunShell(const std::string& command, const ToolSetup& setup) {
    return RunTool("/bin/sh", {"-c", command}, setup);
}

}  // namespace ovlet::test_support
