// CAnyPicDecoder: recognises the format of a picture by its first bytes and
// hands the decode to the decoder it owns for that format.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/pic_decoder.h"

namespace ovlet::picture {

class CJPEGDecoder;
class CPNGDecoder;

class CAnyPicDecoder : public CPicDecoder {
public:
    CAnyPicDecoder();
    ~CAnyPicDecoder() override;

    void DecodeSource(CDataSource* source, CBmp* bitmap, int requestedDepth) override;
    void DecodeSourceReduced(CDataSource* source, CBmp* bitmap, int requestedDepth, std::int32_t minWidth,
                             std::int32_t minHeight) override;
    // Recognises the format and reads the header through that format's decoder.
    PictureHeader ReadHeader(CDataSource* source) override;
    void SetPictureLimits(std::int64_t maxPixels, std::int64_t maxBitmapBytes) override;

    // Decides the format from the first bytes; reads nothing beyond size
    // bytes (a byte past the end counts as 0) and changes nothing.
    static PictureFormat DetectFormat(const std::uint8_t* data, std::int32_t size);

private:
    // The decoder for a format, or null when this build has none for it.
    CPicDecoder* DecoderFor(PictureFormat format) const;
    // The decoder for the data at the source's read position; raises
    // DECERR_UNKNOWN_TYPE or DECERR_UNSUPPORTED when there is none.
    CPicDecoder& DecoderForSource(CDataSource* source) const;

    // Formats without a decoder in this build keep a null pointer and are
    // refused with DECERR_UNSUPPORTED.
    std::unique_ptr<CPicDecoder> bmpDecoder;
    std::unique_ptr<CPicDecoder> pictDecoder;
    std::unique_ptr<CPicDecoder> tgaDecoder;
    std::unique_ptr<CJPEGDecoder> jpegDecoder;
    std::unique_ptr<CPNGDecoder> pngDecoder;
};

}  // namespace ovlet::picture
