// Bitmap resources by number, for CWinBmp::LoadFromResource.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ovlet::platform {

// A bitmap resource as a program carries it: its number and a BMP file.
struct BitmapFile {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> bytes;
};

// Makes the bitmaps the bitmap resources of the program; an empty list takes
// them away again. The bytes are not copied: they stay where they are for as
// long as the bitmaps are installed.
void InstallBitmapResources(const std::vector<BitmapFile>& bitmaps);

}  // namespace ovlet::platform
