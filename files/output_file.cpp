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
    : options_(options), ops_(options.ops ? options.ops : &DefaultWriteOps()) {}

OutputFile::~OutputFile() {
    if (!committed_) Abandon();
}

bool OutputFile::Fail(WriteFailure failure, int error) {
    failure_ = failure;
    errno_ = error;
    error_ = "cannot write " + path_ + ": " + std::strerror(error);
    return false;
}

bool OutputFile::Open(const std::string& path) {
    Abandon();
    path_ = path;
    committed_ = false;
    failure_ = WriteFailure::None;
    errno_ = 0;
    error_.clear();
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    if (options_.dashIsStandardOutput && path == "-") {
        path_ = "standard output";
        standardOutput_ = true;
        fd_ = 1;
        return true;
    }
    standardOutput_ = false;
    if (!FollowLinks(path, target_)) return Fail(WriteFailure::CannotOpen, errno);
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return Fail(WriteFailure::CannotOpen, errno);
    if (exists && !S_ISREG(st.st_mode)) {
        Fail(WriteFailure::CannotOpen, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        if (!S_ISDIR(st.st_mode)) error_ = "cannot write " + path_ + ": not a regular file";
        return false;
    }
    // A file the user may not change is not replaced, though the folder
    // would allow a rename over it.
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
        return Fail(WriteFailure::CannotOpen, errno);
    }
    temp_ = FolderOf(target_) + "/.ovlet-XXXXXX";
    fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temp_.clear();
        return Fail(WriteFailure::CannotOpen, errno);
    }
    if (exists) {
        // Owner and group as before: root can give both back, a user the group
        // when a member of it. Mode after ownership, which may clear set-id bits.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            const uid_t owner = ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1);
            [[maybe_unused]] const int ignored = ::fchown(fd_, owner, st.st_gid);
        }
        ::fchmod(fd_, st.st_mode & 07777);
    } else {
        ::fchmod(fd_, NewFileMode());
    }
    return true;
}

bool OutputFile::WriteFd(const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        errno = 0;
        const long n = ops_->write(fd_, data + done, size - done);
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
    if (buffer_.empty()) return true;
    const bool ok = WriteFd(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
}

bool OutputFile::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return failure_ != WriteFailure::None ? false : Fail(WriteFailure::CannotOpen, EBADF);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (buffer_.size() + size <= kBufferBytes) {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return true;
    }
    if (!Flush()) return false;
    if (size < kBufferBytes) {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return true;
    }
    return WriteFd(bytes, size);
}

bool OutputFile::Commit() {
    if (fd_ < 0) return failure_ != WriteFailure::None ? false : Fail(WriteFailure::CannotOpen, EBADF);
    if (!Flush()) return false;
    if (standardOutput_) {
        fd_ = -1;
        committed_ = true;
        return true;
    }
    const bool synced = options_.durability == Durability::Synced;
    if (synced && ops_->fsync(fd_) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    temp_.clear();
    committed_ = true;
    if (synced) {
        // The rename itself reaches the disk with the folder.
        const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ops_->fsync(folder);
            ::close(folder);
        }
    }
    return true;
}

void OutputFile::Abandon() {
    if (fd_ >= 0 && !standardOutput_) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    buffer_.clear();
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
