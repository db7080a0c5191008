// Row conversions shared by the decoders of uncompressed pictures, and the
// conversion of bitmap lines for writing them out.
#pragma once

#include <cstdint>

namespace ovlet::picture {

class CBmp;

namespace rows {

// Writes count 32-bit pixels (blue, green, red, 255) from count stored
// 3-byte values (blue, green, red). Reads exactly 3 * count bytes. Large
// rows bypass the cache, so call FinishRows() before the pixels are read.
void ExpandBgrToBgra(const std::uint8_t* src, std::uint8_t* dest, std::int64_t count);

// Makes the pixels written by ExpandBgrToBgra visible to every later read.
void FinishRows();

// Writes line y (0 = top) of a bitmap of any depth as width pixels of red,
// green, blue and alpha bytes; alpha is 255 unless the bitmap's alpha is
// meaningful.
void LineToRgba(const CBmp& bitmap, std::int32_t y, std::uint8_t* out);

}  // namespace rows

}  // namespace ovlet::picture
