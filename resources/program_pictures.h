// The pictures the programs carry on Linux: the toolbar's bitmaps and the
// programs' icons, the files of resources/bitmaps and resources/icons built
// in as they are (the build writes program_pictures.cpp from them).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ovlet::resources {

// A bitmap resource: its number and its BMP file.
struct BitmapFile {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> bytes;
};

// One size of a program's icon: a PNG file of a square picture `side` pixels high.
struct IconFile {
    std::string_view program;  // "ovmake" or "ovview"
    int side = 0;
    std::span<const std::uint8_t> bytes;
};

std::span<const BitmapFile> ProgramBitmaps();
std::span<const IconFile> ProgramIcons();

}  // namespace ovlet::resources
