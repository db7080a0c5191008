// Runs a program as a script would, without a shell: its words, its exit code
// and both of its output streams. The child can be made an ordinary user
// (the suite runs as root in CI, where permission checks always pass), can be
// given a file-size limit, which makes a write fail the way a full disk does,
// and can run with a changed environment.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace test_support {

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
ToolResult RunShell(const std::string& command, const ToolSetup& setup = {});

}  // namespace test_support
