// Row conversions shared by the decoders of uncompressed pictures.
#pragma once

#include <cstdint>

namespace picture_rows {

// Writes count 32-bit pixels (blue, green, red, 255) from count stored
// 3-byte values (blue, green, red). Reads exactly 3 * count bytes. Large
// rows bypass the cache, so call FinishRows() before the pixels are read.
void ExpandBgrToBgra(const std::uint8_t* src, std::uint8_t* dest, std::int64_t count);

// Makes the pixels written by ExpandBgrToBgra visible to every later read.
void FinishRows();

}  // namespace picture_rows
