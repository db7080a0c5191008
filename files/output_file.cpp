#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace files {
namespace {

constexpr std::size_t kBufferBytes = 1 << 16;
constexpr int kMaxLinkHops = 40;

long PosixWrite(int fd, const void* data, unsigned long size) {
    return static_cast<long>(::write(fd, data, size));
}

int PosixFsync(int fd) {
    return ::fsync(fd);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a path finally names: links in its last part are followed (a link
// may name a file that does not exist yet, which the write then makes).
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return false;
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' || target.find('/') == std::string::npos ? link : FolderOf(target) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

const WriteOps& DefaultWriteOps() {
    static const WriteOps ops{PosixWrite, PosixFsync};
    return ops;
}

OutputFile::OutputFile(const WriteOptions& options)
    : settings(options), ops(options.ops ? options.ops : &DefaultWriteOps()) {}

OutputFile::~OutputFile() {
    if (!committed) Abandon();
}

bool OutputFile::Fail(WriteFailure kind, int number) {
    failure = kind;
    errorNumber = number;
    reason = std::strerror(number);
    return false;
}

bool OutputFile::Open(const std::string& path) {
    Abandon();
    shownPath = path;
    committed = false;
    failure = WriteFailure::None;
    errorNumber = 0;
    reason.clear();
    buffer.clear();
    buffer.reserve(kBufferBytes);
    if (settings.dashIsStandardOutput && path == "-") {
        shownPath = "standard output";
        standardOutput = true;
        descriptor = 1;
        return true;
    }
    standardOutput = false;
    if (!FollowLinks(path, targetPath)) return Fail(WriteFailure::CannotOpen, errno);
    struct stat st {};
    const bool exists = ::stat(targetPath.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return Fail(WriteFailure::CannotOpen, errno);
    if (exists && !S_ISREG(st.st_mode)) {
        Fail(WriteFailure::CannotOpen, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        if (!S_ISDIR(st.st_mode)) reason = "not a regular file";
        return false;
    }
    // A file the user may not change is not replaced, though the folder
    // would allow a rename over it.
    if (exists && ::faccessat(AT_FDCWD, targetPath.c_str(), W_OK, AT_EACCESS) != 0) {
        return Fail(WriteFailure::CannotOpen, errno);
    }
    newPath = FolderOf(targetPath) + "/.ovlet-XXXXXX";
    descriptor = ::mkostemp(newPath.data(), O_CLOEXEC);
    if (descriptor < 0) {
        newPath.clear();
        return Fail(WriteFailure::CannotOpen, errno);
    }
    if (exists) {
        // Owner and group as before: root can give both back, a user the group
        // when a member of it. Mode after ownership, which may clear set-id bits.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            const uid_t owner = ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1);
            [[maybe_unused]] const int ignored = ::fchown(descriptor, owner, st.st_gid);
        }
        ::fchmod(descriptor, st.st_mode & 07777);
    } else {
        ::fchmod(descriptor, NewFileMode());
    }
    return true;
}

bool OutputFile::WriteFd(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        errno = 0;
        const long n = ops->write(descriptor, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 && errno != 0 ? errno : ENOSPC;
            Abandon();
            return Fail(WriteFailure::WriteFailed, error);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool OutputFile::Flush() {
    if (buffer.empty()) return true;
    const bool ok = WriteFd(buffer.data(), buffer.size());
    buffer.clear();
    return ok;
}

bool OutputFile::Write(const void* data, std::size_t size) {
    if (descriptor < 0) return failure != WriteFailure::None ? false : Fail(WriteFailure::CannotOpen, EBADF);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (buffer.size() + size <= kBufferBytes) {
        buffer.insert(buffer.end(), bytes, bytes + size);
        return true;
    }
    if (!Flush()) return false;
    if (size < kBufferBytes) {
        buffer.insert(buffer.end(), bytes, bytes + size);
        return true;
    }
    return WriteFd(bytes, size);
}

bool OutputFile::Commit() {
    if (descriptor < 0) return failure != WriteFailure::None ? false : Fail(WriteFailure::CannotOpen, EBADF);
    if (!Flush()) return false;
    if (standardOutput) {
        descriptor = -1;
        committed = true;
        return true;
    }
    const bool synced = settings.durability == Durability::Synced;
    if (synced && ops->fsync(descriptor) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    const int fd = descriptor;
    descriptor = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    if (::rename(newPath.c_str(), targetPath.c_str()) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    newPath.clear();
    committed = true;
    if (synced) {
        // The rename itself reaches the disk with the folder.
        const int folder = ::open(FolderOf(targetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ops->fsync(folder);
            ::close(folder);
        }
    }
    return true;
}

void OutputFile::Abandon() {
    if (descriptor >= 0 && !standardOutput) ::close(descriptor);
    descriptor = -1;
    if (!newPath.empty()) ::unlink(newPath.c_str());
    newPath.clear();
    buffer.clear();
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& error,
                    const WriteOptions& options) {
    OutputFile file(options);
    if (file.Open(path) && file.Write(data, size) && file.Commit()) return true;
    error = file.Error();
    return false;
}

bool SyncFileSystem(const std::string& folder, std::string& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        error = "cannot write " + folder + " to the disk: " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace files
