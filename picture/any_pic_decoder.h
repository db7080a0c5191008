// CAnyPicDecoder: recognises the format of a picture by its first bytes and
// hands the decode to the decoder it owns for that format.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/pic_decoder.h"

class CJPEGDecoder;
class CPNGDecoder;

enum class PictureFormat : int {
    Unknown = 0,
    WindowsBitmap = 1,
    MacPict = 2,
    Targa = 3,
    Tiff = 4,
    Jpeg = 5,
    Png = 6,
    EpsTiff = 7,
};

// A short lower-case name: "unknown", "bmp", "pict", "tga", "tiff", "jpeg",
// "png", "eps".
const char* PictureFormatName(PictureFormat format);

class CAnyPicDecoder : public CPicDecoder {
public:
    CAnyPicDecoder();
    ~CAnyPicDecoder() override;

    void DecodeSource(CDataSource* source, CBmp* bitmap, int requestedDepth) override;
    void SetPictureLimits(std::int64_t maxPixels, std::int64_t maxBitmapBytes) override;

    // Decides the format from the first bytes; reads nothing beyond size
    // bytes (a byte past the end counts as 0) and changes nothing.
    static PictureFormat DetectFormat(const std::uint8_t* data, std::int32_t size);

private:
    // The decoder for a format, or null when this build has none for it.
    CPicDecoder* DecoderFor(PictureFormat format) const;

    // Formats without a decoder in this build keep a null pointer and are
    // refused with DECERR_UNSUPPORTED.
    std::unique_ptr<CPicDecoder> bmpDecoder;
    std::unique_ptr<CPicDecoder> pictDecoder;
    std::unique_ptr<CPicDecoder> tgaDecoder;
    std::unique_ptr<CJPEGDecoder> jpegDecoder;
    std::unique_ptr<CPNGDecoder> pngDecoder;
};
