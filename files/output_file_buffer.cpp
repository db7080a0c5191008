// What the writer does alike on every system: the failure it reports, the
// buffer in front of the system's write, and the write itself.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/output_file.h"

namespace ovlet::files {

int OutputFile::Injected(WriteCall call) const {
    return ops->inject ? ops->inject(call) : 0;
}

bool OutputFile::WriteFd(const std::uint8_t* data, std::size_t size) {
    // At most 1 GiB a call: one write's count is 32 bits wide on Windows.
    constexpr std::size_t kMostAtOnce = std::size_t{1} << 30;
    std::size_t done = 0;
    while (done < size) {
        errno = 0;
        const int injected = Injected(WriteCall::Write);
        const long n = injected ? -1
                                : ops->write(descriptor, data + done,
                                             static_cast<unsigned long>(std::min(size - done, kMostAtOnce)));
        if (injected) errno = injected;
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

bool OutputFile::Fail(WriteFailure kind, int number) {
    failure = kind;
    errorNumber = number;
    reason = std::strerror(number);
    return false;
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

}  // namespace ovlet::files
