// Runs a program as a script would, without a shell: its words, its exit code
// and both of its output streams. The child can be made an ordinary user
// (the suite runs as root in CI, where permission checks always pass), can be
// given a file-size limit, which makes a write fail the way a full disk does,
// and can run with a changed environment.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ovlet::test_support {

struct ToolResult {
    int code = -1;  // exit code, or -1 when the program did not exit by itself (a signal)
    int signal = 0;
    std::string out;
    std::string err;
};

struct ToolSetup {
    bool asNobody = false;           // run as uid/gid 65534 (only takes effect when the suite runs as root)
    long long fileLimit = -1;        // bytes a file may grow to; a write past it fails (EFBIG)
    long long memoryLimit = -1;      // bytes of address space (not under AddressSanitizer, which needs more)
    std::string input;               // written to standard input, then closed
    std::string directory;           // the working folder, "" for the suite's
    std::vector<std::string> unset;  // environment variables removed
    std::vector<std::pair<std::string, std::string>> variables;  // environment variables set
};

inline constexpr unsigned kNobody = 65534;

bool RunningAsRoot();

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args, const ToolSetup& setup = {});

// Runs a command line through /bin/sh, for commands that redirect or quote.
// On Windows it goes to cmd.exe, with 'single quotes' as double quotes and
// /dev/null as NUL.
ToolResult RunShell(const std::string& command, const ToolSetup& setup = {});

// Whether the Linux programs some tests compare with (python3 and its
// readers, zbarimg, Java, node) can be run: not from the Windows build under
// Wine. Tests that need them skip with OVLET_SKIP_WITHOUT_LINUX_PEERS().
bool LinuxPeersRun();
#define OVLET_SKIP_WITHOUT_LINUX_PEERS()                                                                       \
    if (!test_support::LinuxPeersRun())                                                                        \
    GTEST_SKIP() << "needs the Linux peer readers, which the Windows build cannot start; the Windows output is " \
                    "compared byte for byte with the Linux build's instead"

}  // namespace ovlet::test_support
