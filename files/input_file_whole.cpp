// What the reader offers on every system, over InputFile.
#include <algorithm>

#include "files/input_file.h"

namespace ovlet::files {

InputFile::~InputFile() {
    Close();
}

bool InputFile::Open(const std::string& path, const ReadOptions& options) {
    Start(path, options);
    if (!options.dashIsStandardInput || path != "-") return OpenNamed(path);
    shownPath = "standard input";
    descriptor = 0;
    ownsDescriptor = false;
    // A file given as the standard input is refused at once when it is too
    // large; a pipe's bytes are counted as they are read.
    const std::optional<std::uint64_t> fileSize = StandardInputFileSize();
    if (fileSize && *fileSize > maxBytes) return Fail("larger than " + SizeText(maxBytes));
    return true;
}

bool InputFile::Fail(const std::string& reason, int systemCode) {
    error = {systemCode, "cannot read " + shownPath + ": " + reason};
    return false;
}

bool InputFile::FailSystem(int systemCode) {
    return Fail(SystemErrorText(systemCode), systemCode);
}

void InputFile::Start(const std::string& path, const ReadOptions& options) {
    Close();
    shownPath = path;
    error = {};
    position = 0;
    size = 0;
    sizeKnown = false;
    maxBytes = options.maxBytes;
}

bool InputFile::Opened(std::uint64_t fileSize) {
    size = fileSize;
    // The kernel's own files (/proc) report no size but have content.
    sizeKnown = size > 0;
    if (size > maxBytes) {
        Close();
        return Fail("larger than " + SizeText(maxBytes));
    }
    return true;
}

bool InputFile::ReadExactly(void* out, std::size_t count) {
    std::size_t got = 0;
    if (!Read(out, count, got)) return false;
    if (got < count) return Fail("the file ends early");
    return true;
}

bool InputFile::Skip(std::uint64_t count) {
    if (descriptor < 0) return Fail("not open");
    if (count == 0) return true;
    if (ownsDescriptor && SeekTo(position + count)) {
        position += count;
        return true;
    }
    // A stream cannot seek: read past the bytes.
    std::uint8_t buffer[1 << 14];
    while (count > 0) {
        std::size_t got = 0;
        const std::size_t want = count < sizeof buffer ? static_cast<std::size_t>(count) : sizeof buffer;
        if (!Read(buffer, want, got)) return false;
        if (got == 0) return Fail("the file ends early");
        count -= got;
    }
    return true;
}

namespace {

template <class Buffer>
Result<Buffer> ReadAll(const std::string& path, const ReadOptions& options) {
    InputFile file;
    if (!file.Open(path, options)) return file.Error();
    Buffer bytes;
    // A regular file is read straight into a buffer of its size; a stream
    // (or a file of the kernel's that reports no size) grows the buffer.
    std::size_t chunk = 1 << 16;
    if (file.SizeKnown() && file.Size() > 0) chunk = static_cast<std::size_t>(file.Size()) + 1;
    while (true) {
        const std::size_t used = bytes.size();
        bytes.resize(used + chunk);
        std::size_t got = 0;
        if (!file.Read(bytes.data() + used, chunk, got)) return file.Error();
        bytes.resize(used + got);
        // Read stops short only at the end of the file.
        if (got < chunk) break;
        chunk = std::max<std::size_t>(1 << 16, std::min<std::size_t>(bytes.size(), 64u << 20));
    }
    return bytes;
}

}  // namespace

Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, const ReadOptions& options) {
    return ReadAll<std::vector<std::uint8_t>>(path, options);
}

Result<std::string> ReadWholeText(const std::string& path, const ReadOptions& options) {
    return ReadAll<std::string>(path, options);
}

std::string SizeText(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    // A limit one below a power of two (the largest signed 32-bit number) reads as that power.
    if (bytes % (1ull << 30) == (1ull << 30) - 1) return std::to_string((bytes + 1) >> 30) + " GiB";
    if (bytes % (1ull << 30) == 0) return std::to_string(bytes >> 30) + " GiB";
    if (bytes % (1ull << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes % (1ull << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

}  // namespace ovlet::files
