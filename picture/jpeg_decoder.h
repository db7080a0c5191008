// CJPEGDecoder: JPEG through libjpeg(-turbo)'s classic API. The decompressor
// is created once and reused for every picture; libjpeg reads straight from
// the byte source and writes colour lines straight into the bitmap lines.
#pragma once

#include <memory>

#include "picture/pic_decoder.h"

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

    // libjpeg's structures live behind this, so users of the decoder need not
    // see jpeglib.h.
    struct State;
    std::unique_ptr<State> state;
    // Favour speed where libjpeg offers the choice (no fancy upsampling).
    bool fastMode = true;
};
