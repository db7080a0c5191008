#include <cerrno>

#include "files/file_status.h"
#include "files/windows_support.h"

namespace ovlet::files {

PathPresence FindPath(const std::string& path) {
    if (::GetFileAttributesW(windows::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return PathPresence::Present;
    switch (::GetLastError()) {
        case ERROR_ACCESS_DENIED: return PathPresence::NoAccess;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE: return PathPresence::NoSuchFolder;
        default: return PathPresence::NoSuchFile;
    }
}

bool NameIsTaken(const std::string& path) {
    // A device name is there in every folder.
    return windows::NamesDevice(path) || ::GetFileAttributesW(windows::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MeansDiskFull(int errorNumber) {
    return errorNumber == ENOSPC;
}

}  // namespace ovlet::files
