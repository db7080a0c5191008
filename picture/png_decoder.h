// CPNGDecoder: PNG through libpng 1.6. libpng's transformations bring every
// colour type and bit depth into the bitmap's pixel layout, and libpng writes
// each row straight into its bitmap line.
#pragma once

#include "picture/pic_decoder.h"

#include <cstdint>

namespace ovlet::picture {

class CWinBmp;

// Decodes a PNG only as large as it is drawn, for thumbnails: every
// `step`-th row and column (step the smallest that brings both sides to at
// most `maxSide`), into a 32-bit bitmap of that size. The rows are
// inflated one at a time and only the sampled ones kept, so memory follows
// the small picture, not the large one; an interlaced picture is sampled
// from its last pass, which holds every odd row whole. Returns false, having
// done nothing, when the picture is no larger than `maxSide` or not a PNG
// (decode it whole then); throws CTextException when it cannot be decoded.
bool DecodePngReduced(const std::uint8_t* data, std::int32_t size, std::int32_t maxSide, CWinBmp& bitmap);

class CPNGDecoder : public CPicDecoder {
protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;
};

}  // namespace ovlet::picture
