// The one reader of the programs' input files: cards, pictures, vCards, CSV.
//
// Only regular files are read. A folder, FIFO, device or socket is refused at
// once, before a byte is read (a FIFO would block, a device never end), and a
// file larger than the caller's limit is refused before reading and again
// while reading (a file can grow, and some report no size). Files are read,
// never mapped: a file cut short by another program while it is read gives
// an early end, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_error.h"

namespace ovlet::files {

// A card's picture length is a signed 32-bit number.
inline constexpr std::uint64_t kMaxPictureBytes = 0x7FFFFFFF;
// vCard and CSV files.
inline constexpr std::uint64_t kMaxTextFileBytes = 64u << 20;
// No limit but the file's own size.
inline constexpr std::uint64_t kNoLimit = UINT64_MAX;

struct ReadOptions {
    std::uint64_t maxBytes = kNoLimit;
    // "-" names standard input, which may be a pipe or a terminal; the limit
    // is then checked while reading.
    bool dashIsStandardInput = false;
};

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens the file; false, with Error() set, when it cannot be read.
    bool Open(const std::string& path, const ReadOptions& options = {});
    void Close();

    // The size when it was opened; 0 when unknown (standard input, files of
    // the kernel's own that report none).
    std::uint64_t Size() const { return size; }
    std::uint64_t Position() const { return position; }
    bool SizeKnown() const { return sizeKnown; }

    // Reads up to `count` bytes into `out` and sets `got` (0 at the end).
    // Fails on a read error and when the file passes the limit.
    bool Read(void* out, std::size_t count, std::size_t& got);
    // Reads exactly `count` bytes; false when the file ends first (Error()
    // then says so) or fails.
    bool ReadExactly(void* out, std::size_t count);
    // Moves `count` bytes on without reading them.
    bool Skip(std::uint64_t count);

    // "cannot read PATH: REASON", with the system's number where it refused.
    const FileError& Error() const { return error; }
    const std::string& Path() const { return shownPath; }

private:
    bool Fail(const std::string& reason, int systemCode = 0);
    // The system refused: its number and its words.
    bool FailSystem(int systemCode);
    // Closes what was open and starts over for `path`.
    void Start(const std::string& path, const ReadOptions& options);
    // Takes the size of the file just opened, or refuses it over the limit.
    bool Opened(std::uint64_t fileSize);
    // The system's part of Open: a file by its name, and the size of the
    // standard input when it is a file on a disk (nothing when it is not).
    bool OpenNamed(const std::string& path);
    static std::optional<std::uint64_t> StandardInputFileSize();
    // Moves to `target` on a seekable file (the system's part of Skip).
    bool SeekTo(std::uint64_t target);

    int descriptor = -1;
    bool ownsDescriptor = false;
    bool sizeKnown = false;
    std::uint64_t size = 0;
    std::uint64_t position = 0;
    std::uint64_t maxBytes = kNoLimit;
    std::string shownPath;
    FileError error;
};

// The whole file, of at most `options.maxBytes` bytes, or why it cannot be
// read ("cannot read PATH: REASON"): as bytes, or as text.
Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, const ReadOptions& options);
Result<std::string> ReadWholeText(const std::string& path, const ReadOptions& options);

// "64 MiB", "2 GiB": a limit as people read it.
std::string SizeText(std::uint64_t bytes);

}  // namespace ovlet::files
