// Draws the bitmap model with Qt: a CDrawDevice on a QPainter.
#pragma once

#include <QImage>

#include "picture/draw_device.h"

class QPainter;

namespace ovlet::platform {

// Packed-DIB drawing on a painter. As on the desktop the pictures were made
// for, the fourth byte of 32-bit pixels is ignored: pictures are drawn opaque.
class PainterDevice : public picture::CDrawDevice {
public:
    explicit PainterDevice(QPainter& target) : painter(target) {}

    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void* bits, const picture::BitmapInfoHeader* info, std::uint32_t usage,
                      std::uint32_t rasterOp) override;
    int SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, int startScan, int scanLines,
                          const void* bits, const picture::BitmapInfoHeader* info, std::uint32_t usage) override;

private:
    QPainter& painter;
};

// A QImage over the DIB's own lines, bottom line first (so upside down); null
// for a layout Qt cannot take. The image does not own the pixels.
QImage WrapDibLines(const void* bits, const picture::BitmapInfoHeader* info);

}  // namespace ovlet::platform
