#include <cerrno>
#include <cstring>

#include "files/ascii_text.h"
#include "files/utf16.h"
#include "files/windows_support.h"

namespace ovlet::files::windows {
namespace {

// Longer paths need the "\\?\" form; folders are limited to 248 (room for a
// file name of 8.3 characters), so the switch comes a little before 260.
constexpr std::size_t kPlainPathLimit = 240;

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf16FromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::wstring WidePath(const std::string& utf8) {
    std::wstring path = Wide(utf8);
    if (path.size() < kPlainPathLimit || path.rfind(L"\\\\?\\", 0) == 0) return path;
    const DWORD need = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) return path;
    std::wstring full(need, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (got == 0 || got >= need) return path;
    full.resize(got);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
    return L"\\\\?\\" + full;
}

int ErrnoFromWindows(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return EEXIST;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_PARAMETER: return EINVAL;
        case ERROR_FILE_TOO_LARGE: return EFBIG;
        default: return EIO;
    }
}

std::string ReasonFromWindows(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return "the file is open in another program";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME: return "not a valid file name on Windows";
        default: return std::strerror(ErrnoFromWindows(error));
    }
}

bool NamesDevice(const std::string& utf8) {
    if (utf8.rfind("\\\\.\\", 0) == 0 || utf8.rfind("//./", 0) == 0 || utf8.rfind("\\\\?\\GLOBALROOT", 0) == 0) return true;
    const std::size_t slash = utf8.find_last_of("/\\:");
    std::string name = LowerAscii(slash == std::string::npos ? utf8 : utf8.substr(slash + 1));
    // "nul.txt" and "con " name the devices too: the extension and trailing
    // dots and spaces do not count.
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    if (name == "con" || name == "prn" || name == "aux" || name == "nul" || name == "conin$" || name == "conout$") {
        return true;
    }
    if (name.size() == 4 && (name.rfind("com", 0) == 0 || name.rfind("lpt", 0) == 0)) return name[3] >= '0' && name[3] <= '9';
    // COM¹, LPT² ...: the superscript digits in UTF-8.
    if (name.size() == 5 && (name.rfind("com", 0) == 0 || name.rfind("lpt", 0) == 0) && name[3] == '\xC2') {
        return name[4] == '\xB9' || name[4] == '\xB2' || name[4] == '\xB3';
    }
    return false;
}

}  // namespace ovlet::files::windows
