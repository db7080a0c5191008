// Helpers of the BMP, TGA and PICT decoder tests: byte builders for files
// made in memory, decoding from memory, and reading pixels back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "picture/pic_decoder.h"
#include "picture/win_bmp.h"
#include "tests/picture/picture_test_support.h"
#include "tests/support/byte_writer.h"

namespace ovlet::picture {

// A copy of `layout` changed by `change`: a valid file with one field broken.
template <typename Layout, typename Change>
Layout Changed(Layout layout, Change change) {
    change(layout);
    return layout;
}

// Decodes and returns the code and text of the CTextException, or code 0.
inline Failure DecodeFailure(CPicDecoder& decoder, const Bytes& bytes, int depth = 32) {
    CWinBmp bitmap;
    return CatchFailure([&] { DecodeBytes(decoder, bytes, bitmap, depth); });
}

// Decodes the file expecting a failure with `code` and, unless `text` is
// empty, that text.
inline void ExpectFailure(CPicDecoder& decoder, const Bytes& file, int code, const std::string& text, int depth = 32) {
    const Failure failure = DecodeFailure(decoder, file, depth);
    EXPECT_EQ(failure.code, code);
    if (!text.empty()) {
        EXPECT_EQ(failure.text, text);
    }
}

// The text a raised error reaches the caller with.
inline std::string Raised(const std::string& text) {
    return "Decoder error: " + text + "\n";
}

// Pixels of a 32-bit bitmap, top line first, as 32-bit values (blue in the
// low byte, alpha in the high byte).
inline std::vector<std::uint32_t> Pixels32(const CWinBmp& bitmap) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) {
            std::uint32_t value;
            std::memcpy(&value, line + 4 * x, 4);
            pixels.push_back(value);
        }
    }
    return pixels;
}

// Indices of an 8-bit bitmap, top line first.
inline std::vector<std::uint32_t> Indices8(const CWinBmp& bitmap) {
    std::vector<std::uint32_t> indices;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        indices.insert(indices.end(), line, line + bitmap.GetWidth());
    }
    return indices;
}

// What a decode must give: depth, size, whether alpha is meaningful, and the
// pixels top line first (indices at 8 bits).
struct Decoded {
    int depth;
    int width, height;
    bool alpha;
    std::vector<std::uint32_t> pixels;
};

// Decodes the file at `depth` into `bitmap` and compares it with what it
// must be.
inline void ExpectDecoded(CPicDecoder& decoder, const Bytes& file, int depth, const Decoded& want, CWinBmp& bitmap) {
    DecodeBytes(decoder, file, bitmap, depth);
    ASSERT_EQ(bitmap.GetBitsPerPixel(), want.depth);
    ASSERT_EQ(bitmap.GetWidth(), want.width);
    ASSERT_EQ(bitmap.GetHeight(), want.height);
    EXPECT_EQ(bitmap.HasAlpha(), want.alpha);
    EXPECT_EQ(want.depth == 8 ? Indices8(bitmap) : Pixels32(bitmap), want.pixels);
}

// Colours as the tests write them: red, green, blue, alpha.
constexpr std::uint32_t Rgba(unsigned r, unsigned g, unsigned b, unsigned a = 255) {
    return b | (g << 8) | (r << 16) | (a << 24);
}
constexpr std::uint32_t kBlack = Rgba(0, 0, 0);
constexpr std::uint32_t kWhite = Rgba(255, 255, 255);

}  // namespace ovlet::picture
