// Pictures encoded in memory with known pixels, for the decoders' tests and
// benchmarks and for the sample card's picture.
#pragma once

#include <cstdint>
#include <vector>

namespace ovlet::test_support {

using Bytes = std::vector<std::uint8_t>;

// How a JPEG stores its pixels.
enum class JpegKind { YCbCr, Grey, Rgb, CmykAdobe, YcckAdobe };

// How finely a JPEG keeps colour: every component at full resolution (flat
// colours then survive closely enough for a small tolerance), or chroma
// halved both ways, as cameras write.
enum class JpegChroma { Full, Halved };

// Encodes width x height pixels. `pixels` holds 3 bytes (red, green, blue)
// per pixel for YCbCr and Rgb, 1 for Grey, and 4 ink bytes (cyan, magenta,
// yellow, black; 255 = full ink) for the CMYK kinds, which are stored the
// Adobe way, inverted.
Bytes EncodeJpeg(JpegKind kind, int width, int height, const Bytes& pixels, int quality = 95, bool progressive = false,
                 JpegChroma chroma = JpegChroma::Full);

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = 2;  // PNG colour type
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> palette;       // 3 bytes per entry, red, green, blue
    std::vector<std::uint8_t> transparency;  // tRNS bytes, if any
    std::vector<Bytes> rows;                 // packed rows as the PNG format stores them
};
// Throws std::runtime_error when libpng refuses the picture.
Bytes EncodePng(const PngPicture& picture);

}  // namespace ovlet::test_support
