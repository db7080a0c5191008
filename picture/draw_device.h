// The drawing device a bitmap draws on. The bitmap hands over its packed DIB
// unchanged (header, colour table, bottom-up lines); the platform layer
// implements this interface on its own graphics system.
#pragma once

#include <cstdint>

namespace ovlet::picture {

// The 40-byte header at the start of every packed DIB, field for field.
struct BitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;  // positive: lines stored bottom-up
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the header is 40 bytes in every packed DIB");

// One colour-table entry in DIB order.
struct RGBQuad {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t reserved;
};
static_assert(sizeof(RGBQuad) == 4);

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;
// Raster operation that copies the source unchanged.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;

class CDrawDevice {
public:
    virtual ~CDrawDevice() = default;

    // Draws the source rectangle (origin counted from the bottom line, as DIBs
    // do) of the packed DIB into the destination rectangle, scaling as needed.
    virtual int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                              int srcHeight, const void* bits, const BitmapInfoHeader* info, std::uint32_t usage,
                              std::uint32_t rasterOp) = 0;

    // Copies a rectangle of the packed DIB unscaled; ySrc counts from the
    // bottom line, scan lines startScan .. startScan + scanLines - 1 are given.
    virtual int SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, int startScan,
                                  int scanLines, const void* bits, const BitmapInfoHeader* info,
                                  std::uint32_t usage) = 0;
};

}  // namespace ovlet::picture
