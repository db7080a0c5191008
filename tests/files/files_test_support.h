// Helpers of the files tests: a scratch folder, whole files, and a child
// process that runs as an ordinary user.
#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "files/file_error.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_files.h"

namespace ovlet::files {

// What a whole-file read gives, as `bytes` and `error`: false, with no
// bytes, when it failed.
template <class Buffer>
bool ReadInto(Result<Buffer> read, Buffer& bytes, std::string& error) {
    bytes.clear();
    if (!read) {
        error = read.Error().Describe();
        return false;
    }
    bytes = std::move(read).Value();
    return true;
}

// Whether a write or sync was done; `error` says why not.
inline bool Done(const Result<void>& done, std::string& error) {
    if (!done) error = done.Error().Describe();
    return static_cast<bool>(done);
}

// Lets the ordinary user of RunAsNobody work in the folder.
inline void GiveToNobody(const test_support::TempFolder& folder) {
    [[maybe_unused]] int r = ::chown(folder.Path().c_str(), test_support::kNobody, test_support::kNobody);
}

inline std::string Slurp(const std::string& path) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

inline void Put(const std::string& path, const std::string& text, int mode = 0644) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    ::chmod(path.c_str(), static_cast<mode_t>(mode));
}

inline unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Runs `body` in a child process as uid and gid 65534 (when the suite runs as
// root, as it does in CI, where every permission check passes); returns what
// `body` returned, or -1 when the child could not become that user.
inline int RunAsNobody(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(test_support::kNobody) != 0 ||
                                 ::setuid(test_support::kNobody) != 0)) {
            ::_exit(255);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
    return WEXITSTATUS(status);
}

}  // namespace ovlet::files
