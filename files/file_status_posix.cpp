#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/file_status.h"

namespace ovlet::files {
namespace {

bool FolderExists(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

PathPresence FindPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return PathPresence::Present;
    const int error = errno;
    if (error == EACCES || error == EPERM) return PathPresence::NoAccess;
    if (error == ENOTDIR || (error == ENOENT && !FolderExists(path))) return PathPresence::NoSuchFolder;
    return PathPresence::NoSuchFile;
}

bool NameIsTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string ProgramFolder() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    const std::string path(self, static_cast<std::size_t>(n));
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool MeansDiskFull(int errorNumber) {
    return errorNumber == ENOSPC || errorNumber == EDQUOT;
}

}  // namespace ovlet::files
