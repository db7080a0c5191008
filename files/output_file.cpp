#include "files/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>

namespace ovlet::files {
namespace {

constexpr int kMaxLinkHops = 40;
// Names tried for the new file before giving up, as mkstemp tries.
constexpr int kNameTries = 100;

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

// A link the kernel itself does not follow (fs.protected_symlinks): one in a
// folder that is sticky and writable by all, as /tmp, whose owner is neither
// the user nor the folder's owner. Following it would let another user aim a
// privileged write at any file.
bool IsForeignLinkInSharedFolder(const std::string& link, const struct stat& st) {
    if (st.st_uid == ::geteuid()) return false;
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0) return true;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && st.st_uid != folder.st_uid;
}

enum class Followed { Done, Failed, Foreign };

// The file a path finally names: links in its last part are followed (a link
// may name a file that does not exist yet, which the write then makes).
Followed FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return Followed::Done;
        if (IsForeignLinkInSharedFolder(target, st)) return Followed::Foreign;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return Followed::Failed;
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' || target.find('/') == std::string::npos ? link : FolderOf(target) + "/" + link;
    }
    errno = ELOOP;
    return Followed::Failed;
}

// The descriptor a name stands for when it names one the program was given:
// the shell's redirection behind it must get the output, not be replaced by
// a file of the writer's. -1 for any other name.
int DescriptorNamed(const std::string& path, bool dash) {
    if (dash && path == "-") return 1;
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    std::string digits;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.rfind(prefix, 0) == 0) digits = path.substr(std::strlen(prefix));
    }
    if (digits.empty() || digits.size() > 6) return -1;
    int fd = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return -1;
        fd = fd * 10 + (c - '0');
    }
    return fd;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// An unnamed file is named through its descriptor's entry in /proc.
bool CanNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

// Errors of O_TMPFILE that mean the file system (or kernel) has no unnamed
// files: the write then makes a named one.
bool LacksUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

std::string FreshNewName(const std::string& folder) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::atomic<unsigned> counter{0};
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        const auto mix = static_cast<unsigned long long>(std::time(nullptr)) ^
                         (static_cast<unsigned long long>(::getpid()) << 20) ^ (counter++ * 2654435761ULL);
        for (std::size_t i = 0; i < sizeof random; ++i) random[i] = static_cast<unsigned char>(mix >> (8 * i));
    }
    std::string name = folder + "/.ovlet-";
    for (const unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
    return name;
}

// ------------------------------------------------------------------ signals

// The names of new files being written, for the handler of SIGINT, SIGTERM
// and SIGHUP: fixed storage, as a handler may not allocate.
struct PendingName {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 named
    char path[PATH_MAX];
};
PendingName pendingNames[8];

extern "C" void RemovePendingAndEnd(int signal) {
    for (PendingName& pending : pendingNames) {
        if (pending.state.load(std::memory_order_acquire) == 2) ::unlink(pending.path);
    }
    // Ends as the signal would have ended the program.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A handler of the program's own, or an ignored signal (nohup), is left alone.
void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = RemovePendingAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int s : kEndingSignals) sigaddset(&action.sa_mask, s);
        for (const int s : kEndingSignals) {
            struct sigaction old {};
            if (::sigaction(s, nullptr, &old) != 0) continue;
            if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
            ::sigaction(s, &action, nullptr);
        }
    });
}

int Remember(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < static_cast<int>(std::size(pendingNames)); ++i) {
        int expected = 0;
        if (!pendingNames[i].state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(pendingNames[i].path, path.c_str(), path.size() + 1);
        pendingNames[i].state.store(2, std::memory_order_release);
        return i;
    }
    return -1;
}

// Holds SIGINT, SIGTERM and SIGHUP back while a name is made and remembered,
// so that no signal falls between the two.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t set;
        sigemptyset(&set);
        for (const int s : kEndingSignals) sigaddset(&set, s);
        ::pthread_sigmask(SIG_BLOCK, &set, &old);
    }
    ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &old, nullptr); }

private:
    sigset_t old;
};

}  // namespace

const WriteOps& DefaultWriteOps() {
    static const WriteOps ops{PosixWrite, PosixFsync};
    return ops;
}

bool NamesStandardOutput(const std::string& path, bool dash) {
    return DescriptorNamed(path, dash) == 1;
}

OutputFile::OutputFile(const WriteOptions& options)
    : settings(options), ops(options.ops ? options.ops : &DefaultWriteOps()) {}

OutputFile::~OutputFile() {
    if (!committed) Abandon();
}

void OutputFile::ForgetNewPath() {
    if (registered >= 0) pendingNames[registered].state.store(0, std::memory_order_release);
    registered = -1;
    newPath.clear();
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
    if (const int fd = DescriptorNamed(path, settings.dashIsStandardOutput); fd >= 0) {
        if (path == "-") shownPath = "standard output";
        if (::fcntl(fd, F_GETFD) < 0) return Fail(WriteFailure::CannotOpen, EBADF);
        standardOutput = true;
        descriptor = fd;
        return true;
    }
    standardOutput = false;
    // A batch claims a name of its own: a link there is a name taken.
    targetPath = path;
    if (settings.replace) {
        const Followed followed = FollowLinks(path, targetPath);
        if (followed == Followed::Failed) return Fail(WriteFailure::CannotOpen, errno);
        if (followed == Followed::Foreign) {
            Fail(WriteFailure::CannotOpen, EACCES);
            reason = "it is a link another user made in a shared folder";
            return false;
        }
    }
    struct stat st {};
    const bool exists = (settings.replace ? ::stat(targetPath.c_str(), &st) : ::lstat(targetPath.c_str(), &st)) == 0;
    if (!exists && errno != ENOENT) return Fail(WriteFailure::CannotOpen, errno);
    if (exists && !settings.replace) return Fail(WriteFailure::NameTaken, EEXIST);
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
    InstallHandlers();
    const std::string folder = FolderOf(targetPath);
    int error = 0;
    if (CanNameUnnamedFiles()) {
        error = Injected(WriteCall::OpenUnnamed);
        descriptor = error ? -1 : ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (descriptor < 0 && error == 0) error = errno;
        if (descriptor < 0 && !LacksUnnamedFiles(error)) return Fail(WriteFailure::CannotOpen, error);
        unnamed = descriptor >= 0;
    }
    if (descriptor < 0) {
        HeldSignals held;
        newPath = folder + "/.ovlet-XXXXXX";
        error = Injected(WriteCall::OpenNamed);
        descriptor = error ? -1 : ::mkostemp(newPath.data(), O_CLOEXEC);
        if (descriptor < 0) {
            newPath.clear();
            return Fail(WriteFailure::CannotOpen, error ? error : errno);
        }
        registered = Remember(newPath);
    }
    if (exists) {
        // Owner and group as before: root can give both back, a user the group
        // when a member of it. Mode after ownership, which may clear set-id bits.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            const uid_t owner = ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1);
            [[maybe_unused]] const int ignored = ::fchown(descriptor, owner, st.st_gid);
        }
    }
    error = Injected(WriteCall::Chmod);
    if (error == 0 && ::fchmod(descriptor, exists ? st.st_mode & 07777 : NewFileMode()) != 0) error = errno;
    if (error != 0) {
        Abandon();
        return Fail(WriteFailure::CannotOpen, error);
    }
    return true;
}

// Names the complete new file and puts it in the target's place: an unnamed
// file gets a fresh name beside the target and is renamed over it; without
// `replace` it takes the target's name at once, only if that is free.
bool OutputFile::PutInPlace() {
    int error = 0;
    bool placed = false;  // the new file has the target's name
    if (unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
        HeldSignals held;
        for (int tries = 0;; ++tries) {
            const std::string name = settings.replace ? FreshNewName(FolderOf(targetPath)) : targetPath;
            error = Injected(WriteCall::Link);
            if (error == 0 && ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                error = errno;
            }
            if (error == EEXIST && settings.replace && tries < kNameTries) continue;
            if (error == 0 && settings.replace) {
                newPath = name;
                registered = Remember(newPath);
            }
            placed = error == 0 && !settings.replace;
            break;
        }
        unnamed = false;
        if (error != 0) {
            Abandon();
            return Fail(error == EEXIST && !settings.replace ? WriteFailure::NameTaken : WriteFailure::WriteFailed,
                        error);
        }
    }
    const int fd = descriptor;
    descriptor = -1;
    error = Injected(WriteCall::Close);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        if (placed) ::unlink(targetPath.c_str());
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    if (placed) return true;
    error = Injected(WriteCall::Rename);
    if (error == 0 && settings.replace && ::rename(newPath.c_str(), targetPath.c_str()) != 0) error = errno;
    if (error == 0 && !settings.replace &&
        ::renameat2(AT_FDCWD, newPath.c_str(), AT_FDCWD, targetPath.c_str(), RENAME_NOREPLACE) != 0) {
        error = errno;
        // A file system without the flag: a link claims the name as surely.
        if (error == EINVAL || error == ENOSYS) {
            error = ::link(newPath.c_str(), targetPath.c_str()) == 0 ? 0 : errno;
            if (error == 0) ::unlink(newPath.c_str());
        }
    }
    if (error != 0) {
        Abandon();
        return Fail(error == EEXIST && !settings.replace ? WriteFailure::NameTaken : WriteFailure::WriteFailed, error);
    }
    return true;
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
    if (synced) {
        int error = Injected(WriteCall::Fsync);
        if (error == 0 && ops->fsync(descriptor) != 0) error = errno;
        if (error != 0) {
            Abandon();
            return Fail(WriteFailure::WriteFailed, error);
        }
    }
    if (!PutInPlace()) return false;
    ForgetNewPath();
    committed = true;
    if (!synced) return true;
    // The rename itself reaches the disk with the folder. The new file is in
    // place by now; a failure here means it may not survive a crash.
    int error = Injected(WriteCall::OpenFolder);
    const int folder = error ? -1 : ::open(FolderOf(targetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 && error == 0) error = errno;
    if (folder >= 0) {
        error = Injected(WriteCall::FsyncFolder);
        if (error == 0 && ops->fsync(folder) != 0) error = errno;
        ::close(folder);
    }
    if (error == 0) return true;
    Fail(WriteFailure::NotSynced, error);
    reason = std::string("the new file is in place, but its folder did not reach the disk: ") + std::strerror(error);
    return false;
}

void OutputFile::Abandon() {
    if (descriptor >= 0 && !standardOutput) ::close(descriptor);
    descriptor = -1;
    unnamed = false;
    if (!newPath.empty()) ::unlink(newPath.c_str());
    ForgetNewPath();
    buffer.clear();
}

Result<void> WriteWholeFile(const std::string& path, const void* data, std::size_t size, const WriteOptions& options) {
    OutputFile file(options);
    if (file.Open(path) && file.Write(data, size) && file.Commit()) return {};
    return file.Error();
}

Result<void> SyncFileSystem(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int code = errno;
        if (fd >= 0) ::close(fd);
        return FileError{code, "cannot write " + folder + " to the disk: " + SystemErrorText(code)};
    }
    ::close(fd);
    return {};
}

}  // namespace ovlet::files
