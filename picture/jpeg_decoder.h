// CJPEGDecoder: JPEG through libjpeg(-turbo)'s classic API. The decompressor
// is created once and reused for every picture; libjpeg reads straight from
// the byte source and writes colour lines straight into the bitmap lines.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/pic_decoder.h"

namespace ovlet::picture {

class CJPEGDecoder : public CPicDecoder {
public:
    CJPEGDecoder();
    ~CJPEGDecoder() override;

protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;

private:
    // Hands libjpeg the bytes from the source's read position on and reads
    // the header; raises libjpeg's error if it fails.
    void StartPicture();
    // Refuses, before anything is allocated or decoded, a picture whose
    // output with libjpeg's own buffers exceeds the limits, whose data cannot
    // hold it, or whose scans ask for more work than its size warrants.
    void CheckWork(std::int64_t outputWidth, std::int64_t outputHeight, int depth);

    // libjpeg's structures live behind this, so users of the decoder need not
    // see jpeglib.h.
    struct State;
    std::unique_ptr<State> state;
    // Favour speed where libjpeg offers the choice (no fancy upsampling).
    bool fastMode = true;
};

}  // namespace ovlet::picture
