// Reading a picture's size from its header without decoding it.
#pragma once

#include <cstdint>

#include "picture/any_pic_decoder.h"

struct PictureHeaderSize {
    std::int64_t width;
    std::int64_t height;
};

// The size the header of a picture in the given format declares. Returns
// false when the header is cut short or the format carries no size this
// reader knows (TIFF, EPS, unknown). Reads nothing beyond size bytes.
bool ReadHeaderSize(PictureFormat format, const std::uint8_t* data, std::int32_t size, PictureHeaderSize* result);
