// PNG pictures written through libpng for other programs: QR codes and
// card pictures that leave in a format they read. No Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "exchange/exchange_error.h"

namespace ovlet::exchange {

// Samples a pixel: grey, red green blue, or red green blue alpha, 8 bits each.
enum class PngChannels { Grey = 1, Rgb = 3, Rgba = 4 };

// Hands over the samples of line y, top line first: width x channels bytes
// that stay valid until the next call.
using PngRowSource = std::function<const std::uint8_t*(int y)>;

// Encodes a width x height picture as PNG; PngRefused when libpng refuses
// (or memory runs out), in libpng's words.
Result<std::vector<std::uint8_t>> EncodePng(int width, int height, PngChannels channels, const PngRowSource& row);

}  // namespace ovlet::exchange
