#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ovlet::files {
namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    return "is not a regular file";
}

}  // namespace

void InputFile::Close() {
    if (descriptor >= 0 && ownsDescriptor) ::close(descriptor);
    descriptor = -1;
}

std::optional<std::uint64_t> InputFile::StandardInputFileSize() {
    struct stat st {};
    if (::fstat(0, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

bool InputFile::OpenNamed(const std::string& path) {
    // Opened without waiting, so that a FIFO with no writer cannot block the
    // open; what is not a regular file is then refused before any read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        // Some kinds cannot even be opened (a socket); say which kind it is.
        struct stat st {};
        if (e != ENOENT && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return Fail(KindOf(st.st_mode));
        return e == ENOENT ? Fail("no such file", e) : FailSystem(e);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return FailSystem(e);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(KindOf(st.st_mode));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    descriptor = fd;
    ownsDescriptor = true;
    return Opened(static_cast<std::uint64_t>(st.st_size));
}

bool InputFile::Read(void* out, std::size_t count, std::size_t& got) {
    got = 0;
    if (descriptor < 0) return Fail("not open");
    auto* bytes = static_cast<std::uint8_t*>(out);
    while (got < count) {
        const ssize_t n = ::read(descriptor, bytes + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FailSystem(errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        position += static_cast<std::uint64_t>(n);
        if (position > maxBytes) return Fail("larger than " + SizeText(maxBytes));
    }
    return true;
}

bool InputFile::SeekTo(std::uint64_t target) {
    const auto offset = static_cast<off_t>(target);
    return ::lseek(descriptor, offset, SEEK_SET) == offset;
}

}  // namespace ovlet::files
