// PNG pictures written through libpng for other programs: QR codes and
// card pictures that leave in a format they read. No Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ovlet::exchange {

// Samples a pixel: grey, red green blue, or red green blue alpha, 8 bits each.
enum class PngChannels { Grey = 1, Rgb = 3, Rgba = 4 };

// Hands over the samples of line y, top line first: width x channels bytes
// that stay valid until the next call.
using PngRowSource = std::function<const std::uint8_t*(int y)>;

// Encodes a width x height picture into `png`. False, with `error` set, when
// libpng refuses (or memory runs out).
bool EncodePng(int width, int height, PngChannels channels, const PngRowSource& row, std::vector<std::uint8_t>& png,
               std::string& error);

}  // namespace ovlet::exchange
