// The writer on Windows. The new file is made beside the target with a name of
// its own and marked for deletion while it is written, so a crash or
// TerminateProcess takes it away with the handle (the system's equivalent of
// a file without a name). Once written it is flushed (FlushFileBuffers), the
// mark is taken off and ReplaceFileW puts it in the target's place, keeping
// the target's attributes and security descriptor; a target that is not there
// yet is made by MoveFileExW(MOVEFILE_WRITE_THROUGH).
//
// Windows has no flush of a whole volume for users, so a batch's files
// (Durability::Later) are flushed one by one as well.
#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "files/output_file.h"
#include "files/windows_support.h"

namespace ovlet::files {
namespace {

// Attributes a replaced file keeps; read-only targets are refused before.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

long WindowsWrite(int fd, const void* data, unsigned long size) {
    // The writer hands over at most 1 GiB a call, and resumes a short write.
    return ::_write(fd, data, static_cast<unsigned int>(size));
}

int WindowsFsync(int fd) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(handle)) {
        errno = windows::ErrnoFromWindows(::GetLastError());
        return -1;
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    if (slash == 0) return path.substr(0, 1);
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

// The path made absolute (from the current folder), or as it is when that fails.
std::wstring FullPath(const std::wstring& path) {
    const DWORD need = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) return path;
    std::wstring full(need, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) return path;
    full.resize(got);
    return full;
}

std::string NewFileName() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char name[40];
    std::snprintf(name, sizeof name, ".ovlet-%08lx%04x", static_cast<unsigned long>(::GetCurrentProcessId()),
                  (seed + counter++) & 0xFFFFu);
    return name;
}

bool MarkForDeletion(HANDLE handle, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

}  // namespace

const WriteOps& DefaultWriteOps() {
    static const WriteOps ops{WindowsWrite, WindowsFsync};
    return ops;
}

OutputFile::OutputFile(const WriteOptions& options)
    : settings(options), ops(options.ops ? options.ops : &DefaultWriteOps()) {}

OutputFile::~OutputFile() {
    if (!committed) Abandon();
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
    targetPath = path;
    auto failWith = [this](DWORD error) {
        Fail(WriteFailure::CannotOpen, windows::ErrnoFromWindows(error));
        reason = windows::ReasonFromWindows(error);
        return false;
    };
    if (windows::NamesDevice(path)) {
        Fail(WriteFailure::CannotOpen, EINVAL);
        reason = "not a regular file";
        return false;
    }
    const std::wstring target = windows::WidePath(targetPath);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return failWith(error);
    }
    if (exists && !settings.replace) {
        // A batch takes another name; what is there stays as it is.
        return Fail(WriteFailure::NameTaken, EEXIST);
    }
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(WriteFailure::CannotOpen, EISDIR);
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(WriteFailure::CannotOpen, EACCES);
        reason = "the file is read-only";
        return false;
    }
    if (exists) {
        // A file another program holds open without letting it be deleted
        // cannot be replaced: said now, before anything is written.
        const HANDLE probe =
            ::CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return failWith(::GetLastError());
        const DWORD type = ::GetFileType(probe);
        ::CloseHandle(probe);
        if (type != FILE_TYPE_DISK) {
            Fail(WriteFailure::CannotOpen, EINVAL);
            reason = "not a regular file";
            return false;
        }
    }
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        newPath = FolderOf(targetPath) + "\\" + NewFileName();
        handle = ::CreateFileW(windows::WidePath(newPath).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        newPath.clear();
        return failWith(::GetLastError());
    }
    // Gone with the handle if the program ends before Commit. A file system
    // that cannot mark it (FAT over a network) leaves it to Abandon.
    MarkForDeletion(handle, true);
    descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        newPath.clear();
        return Fail(WriteFailure::CannotOpen, EMFILE);
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
    auto failWith = [this](DWORD error) {
        Abandon();
        Fail(WriteFailure::WriteFailed, windows::ErrnoFromWindows(error));
        reason = windows::ReasonFromWindows(error);
        return false;
    };
    if (ops->fsync(descriptor) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    const std::wstring target = windows::WidePath(targetPath);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        FILE_BASIC_INFO basic{};
        if (::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
            basic.FileAttributes =
                (attributes & kKeptAttributes) ? (attributes & kKeptAttributes) : FILE_ATTRIBUTE_NORMAL;
            ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
        }
    }
    if (!MarkForDeletion(handle, false)) {
        const DWORD error = ::GetLastError();
        // Never marked (the file system cannot), or the mark cannot come off.
        if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED) return failWith(error);
    }
    const int fd = descriptor;
    descriptor = -1;
    if (::_close(fd) != 0) {
        const int error = errno;
        Abandon();
        return Fail(WriteFailure::WriteFailed, error);
    }
    const std::wstring replacement = windows::WidePath(newPath);
    if (!settings.replace) {
        // Without MOVEFILE_REPLACE_EXISTING the name is taken only if free, at
        // once: two writers never take one name.
        if (::MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            newPath.clear();
            committed = true;
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return failWith(error);
        Abandon();
        return Fail(WriteFailure::NameTaken, EEXIST);
    }
    bool placed = false;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // By full names: the replacing does not go by the current folder
        // everywhere (Wine's refuses a relative name with ERROR_DIRECTORY).
        const std::wstring fullTarget = FullPath(target);
        const std::wstring fullReplacement = FullPath(replacement);
        placed = ::ReplaceFileW(fullTarget.c_str(), fullReplacement.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr) != 0;
        // The target went away meanwhile: put the new file in its place.
        if (!placed && ::GetLastError() != ERROR_FILE_NOT_FOUND) return failWith(::GetLastError());
    }
    if (!placed &&
        !::MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return failWith(::GetLastError());
    }
    newPath.clear();
    committed = true;
    return true;
}

void OutputFile::Abandon() {
    if (descriptor >= 0 && !standardOutput) ::_close(descriptor);
    descriptor = -1;
    if (!newPath.empty()) ::DeleteFileW(windows::WidePath(newPath).c_str());
    newPath.clear();
    buffer.clear();
}

Result<void> WriteWholeFile(const std::string& path, const void* data, std::size_t size, const WriteOptions& options) {
    OutputFile file(options);
    if (file.Open(path) && file.Write(data, size) && file.Commit()) return {};
    return file.Error();
}

bool NamesStandardOutput(const std::string& path, bool dash) {
    // Windows has no names of descriptors ("/dev/stdout"): only "-".
    return dash && path == "-";
}

Result<void> SyncFileSystem(const std::string& /*folder*/) {
    // Each file was flushed as it was committed.
    return {};
}

}  // namespace ovlet::files
