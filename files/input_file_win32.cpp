// The reader on Windows: the file is opened with CreateFileW (sharing reading,
// writing and deleting, as a POSIX open would not lock it) and then read
// through the C library's descriptor of that handle, in binary mode.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "files/input_file.h"
#include "files/windows_support.h"

namespace ovlet::files {
namespace {

// What a handle that is not a file on a disk is, in the POSIX build's words.
const char* KindOfType(DWORD type) {
    if (type == FILE_TYPE_PIPE) return "is a pipe, not a regular file";
    if (type == FILE_TYPE_CHAR) return "is a device, not a regular file";
    return "is not a regular file";
}

}  // namespace

void InputFile::Close() {
    if (descriptor >= 0 && ownsDescriptor) ::_close(descriptor);
    descriptor = -1;
}

std::optional<std::uint64_t> InputFile::StandardInputFileSize() {
    const HANDLE handle = ::GetStdHandle(STD_INPUT_HANDLE);
    LARGE_INTEGER length{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &length)) return std::nullopt;
    return static_cast<std::uint64_t>(length.QuadPart);
}

bool InputFile::OpenNamed(const std::string& path) {
    // Device names (CON, NUL, COM1, "\\.\PhysicalDrive0") are refused by
    // name: opening one could wait for a keyboard or a line, or read a disk.
    if (windows::NamesDevice(path)) return Fail("is a device, not a regular file");
    const std::wstring wide = windows::WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail("is a folder");
    const HANDLE handle =
        ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD refused = ::GetLastError();
        const int code = static_cast<int>(refused);
        if (refused == ERROR_FILE_NOT_FOUND || refused == ERROR_PATH_NOT_FOUND) return Fail("no such file", code);
        return FailSystem(code);
    }
    const DWORD type = ::GetFileType(handle);
    // Only the size and the kind: the standard information is one query,
    // where GetFileInformationByHandle gathers times, volume and index too
    // (under Wine five times as long as the rest of the opening).
    FILE_STANDARD_INFO info{};
    if (type != FILE_TYPE_DISK || !::GetFileInformationByHandleEx(handle, FileStandardInfo, &info, sizeof info) ||
        info.Directory) {
        ::CloseHandle(handle);
        return Fail(type != FILE_TYPE_DISK ? KindOfType(type) : "is a folder");
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return Fail(std::strerror(EMFILE));
    }
    descriptor = fd;
    ownsDescriptor = true;
    return Opened(static_cast<std::uint64_t>(info.EndOfFile.QuadPart));
}

bool InputFile::Read(void* out, std::size_t count, std::size_t& got) {
    got = 0;
    if (descriptor < 0) return Fail("not open");
    auto* bytes = static_cast<std::uint8_t*>(out);
    while (got < count) {
        // One read takes at most an unsigned int of bytes.
        const unsigned want = static_cast<unsigned>(std::min<std::size_t>(count - got, 1u << 30));
        const int n = ::_read(descriptor, bytes + got, want);
        if (n < 0) return Fail(std::strerror(errno));
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        position += static_cast<std::uint64_t>(n);
        if (position > maxBytes) return Fail("larger than " + SizeText(maxBytes));
    }
    return true;
}

bool InputFile::SeekTo(std::uint64_t target) {
    const auto offset = static_cast<long long>(target);
    return ::_lseeki64(descriptor, offset, SEEK_SET) == offset;
}

}  // namespace ovlet::files
