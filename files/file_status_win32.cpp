#include <cerrno>

#include "files/file_status.h"
#include "files/utf16.h"
#include "files/windows_support.h"

namespace ovlet::files {

PathPresence FindPath(const std::string& path) {
    if (::GetFileAttributesW(windows::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return PathPresence::Present;
    switch (::GetLastError()) {
        case ERROR_ACCESS_DENIED:
            return PathPresence::NoAccess;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
            return PathPresence::NoSuchFolder;
        default:
            return PathPresence::NoSuchFile;
    }
}

bool NameIsTaken(const std::string& path) {
    // A device name is there in every folder.
    return windows::NamesDevice(path) ||
           ::GetFileAttributesW(windows::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    const std::wstring::size_type slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    return Utf8FromUtf16(std::u16string(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(slash)));
}

bool MeansDiskFull(int errorNumber) {
    return errorNumber == ENOSPC;
}

}  // namespace ovlet::files
