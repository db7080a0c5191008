// CBmpDecoder: Windows bitmaps with the 40-byte info header, 1, 4, 8, 24 and
// 32 bits per pixel, uncompressed or run-length encoded (4 and 8 bits).
#pragma once

#include <cstdint>

#include "picture/draw_device.h"
#include "picture/pic_decoder.h"

namespace ovlet::picture {

class CBmpDecoder : public CPicDecoder {
protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;

private:
    // The info header that follows the 14-byte file header: the packed DIB's own.
    using InfoHeader = BitmapInfoHeader;

    // The file header and the info header, checked: the signature, the
    // header size, the depth and the size.
    InfoHeader ReadInfoHeader();
    // ReadInfoHeader, then the colour table and the check of the file's extent.
    InfoHeader ReadBmpHeaders();
    // Returns the number of colour-table bytes that were read.
    std::int64_t ReadBmpPalette(const InfoHeader& header);

    // Each takes the pixel rows from the source's read position. Line y of
    // the picture (0 = top) receives stored row RowToLine(r).
    void DecodeIndexed(int bitsPerPixel);
    void Decode24Bpp();
    void Decode32Bpp();
    // Run-length encoded rows of 8 or 4 bits per pixel (RLE8, RLE4).
    void DecodeRunLength(int bitsPerPixel);

    // The line a stored row goes to: bottom-up files store the bottom line
    // first, top-down ones (negative height) the top line.
    std::uint8_t* RowLine(std::int32_t row) const;
    // Fails with end of data unless the uncompressed rows are all there.
    void CheckRowsPresent(std::int64_t rowBytes) const;

    std::uint32_t bfSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool topDown = false;
};

}  // namespace ovlet::picture
