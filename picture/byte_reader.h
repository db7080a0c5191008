// Checked little- and big-endian reads for the hand-written decoders. Header
// fields go through the byte source one by one; the pixel loops take a
// MemoryCursor over the bytes that remain, which checks each packet against
// its own end instead of calling the source per byte.
#pragma once

#include <cstdint>

#include "picture/data_source.h"
#include "picture/text_exception.h"

namespace ovlet::picture::io {

inline std::uint8_t ReadU8(CDataSource& source) {
    return *source.ReadBytes(1);
}

inline std::uint16_t ReadU16Le(CDataSource& source) {
    const std::uint8_t* p = source.ReadBytes(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadU32Le(CDataSource& source) {
    const std::uint8_t* p = source.ReadBytes(4);
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

inline std::uint16_t ReadU16Be(CDataSource& source) {
    const std::uint8_t* p = source.ReadBytes(2);
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t ReadU32Be(CDataSource& source) {
    const std::uint8_t* p = source.ReadBytes(4);
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

// Skips n bytes; n may exceed 2^31 when it comes from a 32-bit length field,
// in which case the data certainly ends first.
inline void Skip(CDataSource& source, std::int64_t n) {
    if (n < 0 || n > source.GetBytesLeft()) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
    source.ReadBytes(static_cast<std::int32_t>(n));
}

// Whether n more bytes lie ahead of the read position.
inline bool HasBytes(const CDataSource& source, std::int64_t n) {
    return n >= 0 && n <= source.GetBytesLeft();
}

[[noreturn]] inline void ThrowEndOfData() {
    throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
}

// A read position inside the bytes that remain in a source. Take() fails
// the same way the source does when the data ends.
class MemoryCursor {
public:
    explicit MemoryCursor(const CDataSource& source)
        : pos(source.GetReadPointer()), end(source.GetReadPointer() + source.GetBytesLeft()) {}

    std::int64_t Left() const { return end - pos; }
    const std::uint8_t* Take(std::int64_t n) {
        if (n < 0 || n > end - pos) {
            ThrowEndOfData();
        }
        const std::uint8_t* result = pos;
        pos += n;
        return result;
    }
    std::uint8_t TakeU8() { return *Take(1); }
    const std::uint8_t* Position() const { return pos; }
    // Moves the source on to where the cursor stands.
    void Commit(CDataSource& source) const {
        source.ReadBytes(static_cast<std::int32_t>(pos - source.GetReadPointer()));
    }

private:
    const std::uint8_t* pos;
    const std::uint8_t* end;
};

}  // namespace ovlet::picture::io
