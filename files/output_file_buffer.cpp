// What the writer does alike on every system: the failure it reports and the
// buffer in front of the system's write.
#include <cerrno>
#include <cstring>

#include "files/output_file.h"

namespace ovlet::files {

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
