// Smooth resizing of 32-bit pictures for the picture panel: area sampling
// with fixed-point weights, the method of Imlib2's smooth scaler (the one Qt's
// smooth transformation also uses, so a picture looks the same whichever face
// shows it). Enlarging an axis interpolates between the two nearest pixels;
// shrinking one averages every source pixel a target pixel covers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ovlet::picture {
class CWinBmp;
}  // namespace ovlet::picture

namespace ovlet::controls {

// 32-bit pixels (blue, green, red and a fourth byte, in memory order) in rows
// `stride` pixels apart, from the first row shown; a negative stride walks
// memory backwards (a bottom-up bitmap seen top line first).
struct PixelRows {
    const std::uint32_t* first = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
};

struct MutablePixelRows {
    std::uint32_t* first = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
};

// Fills `target` with `source` resized to the target's size. Where an axis
// shrinks the fourth byte becomes 0xFF; where both grow it is interpolated
// like the colours. Nothing happens when either is empty.
void SmoothResize(const PixelRows& source, const MutablePixelRows& target);

// `source` (32 bits a pixel) resized to width x height into `target`, made
// anew as a 32-bit bitmap. The lines are taken in the order the bitmap stores
// them (bottom line first) or, with `topLineFirst`, from the top line down:
// the weights are not symmetric, so the order changes the result in the last
// bit. False, with `target` untouched, for an empty or non-32-bit source or a
// size below 1 x 1.
bool SmoothResizeBitmap(const picture::CWinBmp& source, int width, int height, bool topLineFirst,
                        picture::CWinBmp& target);

}  // namespace ovlet::controls
