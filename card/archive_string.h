// The length-prefixed string of the card file.
//
//   length 0..254        one byte L, then the bytes
//   length 255..65533    FF, L as 16-bit LE, then the bytes
//   length 65534 and up  FF, FF FF, L as 32-bit LE, then the bytes
//
// A reader also accepts the 16-bit form for short lengths, and the wide-text
// marker FF FE FF, after which the length follows again and the string is
// UTF-16LE text of twice that many bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovlet::files {
class InputFile;
}

namespace ovlet::card {

// A checked cursor over the bytes of a card file, in memory or read from the
// file through a small buffer. Reads never pass the end: every length is
// compared with what remains before anything is taken, so no length in a
// file asks for more memory than the file has bytes.
class CardByteReader {
public:
    CardByteReader(const std::uint8_t* bytes, std::size_t length) : data(bytes), size(length) {}
    // What remains is judged by the file's size when it was opened; a file
    // cut short while it is read ends early.
    explicit CardByteReader(files::InputFile& input);

    std::uint64_t Remaining() const { return size - position; }
    std::uint64_t Position() const { return position; }

    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    // Takes up to `count` bytes, fewer when the data ends first; returns how many.
    std::size_t ReadSome(std::uint8_t* out, std::size_t count);
    // Takes exactly `count` bytes; false, having taken what there was, when fewer remain.
    bool ReadExactly(std::uint8_t* out, std::size_t count);
    // A read of the file failed (not the end of it).
    bool Failed() const { return failed; }

private:
    bool Fill();

    const std::uint8_t* data = nullptr;  // memory, or null when reading a file
    files::InputFile* file = nullptr;
    std::uint64_t size = 0;
    std::uint64_t position = 0;
    std::vector<std::uint8_t> buffer;  // a file's bytes from buffer position on
    std::size_t bufferPosition = 0;
    bool failed = false;
};

enum class ArchiveStringStatus {
    Ok,
    PastEnd,  // the data ends inside the length or the bytes
    Damaged,  // a wide-text marker where a length must be
    TooLong,  // the string says it is longer than `maxBytes`; nothing was taken
};

// Reads one string; a length over `maxBytes` (in the file's bytes) is refused
// before anything is allocated, however many bytes the file really holds (a
// sparse file holds gigabytes for nothing).
ArchiveStringStatus ReadArchiveString(CardByteReader& reader, std::string& out,
                                      std::uint64_t maxBytes = UINT32_MAX * std::uint64_t{2});
void WriteArchiveString(std::vector<std::uint8_t>& out, std::string_view text);

}  // namespace ovlet::card
