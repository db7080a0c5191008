// Files made in memory by tests, benchmarks and fuzz targets: fields appended
// in either byte order. Header-only, so a fuzz target can use it without the
// rest of the test support.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ovlet::test_support {

using Bytes = std::vector<std::uint8_t>;

// Appends the low 8, 16 or 32 bits of v to `out`.
inline void PutU8(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}
inline void PutU16Le(Bytes& out, unsigned v) {
    PutU8(out, v & 0xFF);
    PutU8(out, (v >> 8) & 0xFF);
}
inline void PutU32Le(Bytes& out, std::uint32_t v) {
    PutU16Le(out, v & 0xFFFF);
    PutU16Le(out, v >> 16);
}
inline void PutU16Be(Bytes& out, unsigned v) {
    PutU8(out, (v >> 8) & 0xFF);
    PutU8(out, v & 0xFF);
}
inline void PutU32Be(Bytes& out, std::uint32_t v) {
    PutU16Be(out, v >> 16);
    PutU16Be(out, v & 0xFFFF);
}

// A file under construction, field by field.
class ByteWriter {
public:
    ByteWriter& U8(unsigned v) {
        PutU8(bytes, v);
        return *this;
    }
    ByteWriter& U16Le(unsigned v) {
        PutU16Le(bytes, v);
        return *this;
    }
    ByteWriter& U32Le(std::uint32_t v) {
        PutU32Le(bytes, v);
        return *this;
    }
    ByteWriter& U16Be(unsigned v) {
        PutU16Be(bytes, v);
        return *this;
    }
    ByteWriter& U32Be(std::uint32_t v) {
        PutU32Be(bytes, v);
        return *this;
    }
    ByteWriter& Raw(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& Raw(std::initializer_list<int> more) {
        for (int v : more) {
            U8(static_cast<unsigned>(v));
        }
        return *this;
    }
    ByteWriter& Zeros(std::size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    std::size_t Size() const { return bytes.size(); }
    Bytes bytes;
};

}  // namespace ovlet::test_support
