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

// A checked cursor over the bytes of a card file. Reads never pass the end:
// every length is compared with what remains before anything is taken.
class CardByteReader {
public:
    CardByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - pos_; }
    std::size_t Position() const { return pos_; }

    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    // Takes up to `count` bytes, fewer when the file ends first; returns how many.
    std::size_t ReadSome(std::uint8_t* out, std::size_t count);
    // A view of the next `count` bytes, or null when fewer remain.
    const std::uint8_t* Take(std::size_t count);

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

enum class ArchiveStringStatus {
    Ok,
    PastEnd,  // the data ends inside the length or the bytes
    Damaged,  // a wide-text marker where a length must be
};

ArchiveStringStatus ReadArchiveString(CardByteReader& reader, std::string& out);
void WriteArchiveString(std::vector<std::uint8_t>& out, std::string_view text);
