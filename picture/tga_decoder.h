// CTGADecoder: Truevision Targa, colour-mapped, true-colour and grey-scale
// images (types 1, 2, 3 and their run-length forms 9, 10, 11) of 8, 15, 16,
// 24 and 32 bits per pixel.
#pragma once

#include <cstdint>

#include "picture/pic_decoder.h"

namespace ovlet::picture {

class CTGADecoder : public CPicDecoder {
protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;

private:
    struct TgaHeader {
        std::uint8_t IdLength;
        std::uint8_t ColorMapType;
        std::uint8_t ImageType;
        std::uint16_t CmapStart;
        std::uint16_t CmapLength;
        std::uint8_t CmapEntrySize;
        std::uint16_t XOrigin;
        std::uint16_t YOrigin;
        std::uint16_t Width;
        std::uint16_t Height;
        std::uint8_t PixelDepth;
        std::uint8_t ImageDescriptor;
    };

    // Reads the header and skips the identification bytes; refuses pixel
    // depths and image types this decoder has no form for.
    TgaHeader ReadTgaHeader();
    void ReadTgaPalette(int first, int count, int bitsPerEntry);
    void MakeGreyColourTable();
    void ReadTgaImage(const TgaHeader& header);
    void ReadUncompressed(const TgaHeader& header);
    void ReadRunLength(const TgaHeader& header);
    // The line that stored row r goes to.
    std::uint8_t* TargetLine(const TgaHeader& header, int row) const;
};

}  // namespace ovlet::picture
