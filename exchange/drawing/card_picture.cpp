#include "exchange/drawing/card_picture.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "picture/decode_outcome.h"
#include "picture/win_bmp.h"

namespace drawing {
namespace {

// Each destination pixel is the mean of up to kSamples x kSamples source
// pixels spread evenly over the area it covers: a box filter for a modest
// reduction, and a bounded cost (16 reads a pixel) however large the bitmap.
constexpr int kSamples = 4;

// The source positions a destination position samples, for every destination position.
std::vector<int> Samples(int source, int target) {
    const int count = std::min(kSamples, std::max(1, source / target));
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(target) * static_cast<std::size_t>(count) + 1);
    for (int t = 0; t < target; ++t) {
        for (int k = 0; k < count; ++k) {
            const double at = (t + (k + 0.5) / count) * source / target;
            out.push_back(std::min(source - 1, static_cast<int>(at)));
        }
    }
    out.push_back(count);  // the last entry says how many each position takes
    return out;
}

QImage Reduce(const CWinBmp& bitmap, int width, int height) {
    const auto [sourceWidth, sourceHeight] = bitmap.GetSize();
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    std::vector<int> columns = Samples(sourceWidth, width);
    std::vector<int> rows = Samples(sourceHeight, height);
    const int perColumn = columns.back();
    const int perRow = rows.back();
    const bool indexed = bitmap.GetBitsPerPixel() == 8;
    const RGBQuad* palette = bitmap.GetPalette();
    const std::uint8_t* const* lines = bitmap.GetLineTable();
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            unsigned b = 0, g = 0, r = 0;
            for (int j = 0; j < perRow; ++j) {
                const std::uint8_t* line = lines[rows[static_cast<std::size_t>(y * perRow + j)]];
                for (int i = 0; i < perColumn; ++i) {
                    const int sx = columns[static_cast<std::size_t>(x * perColumn + i)];
                    if (indexed) {
                        const RGBQuad& q = palette[line[sx]];
                        b += q.blue;
                        g += q.green;
                        r += q.red;
                    } else {
                        b += line[4 * sx];
                        g += line[4 * sx + 1];
                        r += line[4 * sx + 2];
                    }
                }
            }
            const unsigned n = static_cast<unsigned>(perRow * perColumn);
            target[x] = qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
        }
    }
    return out;
}

}  // namespace

QImage CardPictureImage(const CardRecord& card, QSize box, std::string& warning) {
    if (!card.HasPicture() || box.width() < 1 || box.height() < 1) return {};
    const auto size = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(card.PictureLength), card.PictureBytes.size()));
    CWinBmp bitmap;
    const DecodeOutcome outcome = DecodePicture("card picture", card.PictureBytes.data(), size, bitmap, 0);
    if (!outcome.decoded) {
        warning = outcome.outOfMemory ? "the picture is too large to decode" : outcome.why;
        return {};
    }
    const auto [width, height] = bitmap.GetSize();
    if (width < 1 || height < 1 || (bitmap.GetBitsPerPixel() != 8 && bitmap.GetBitsPerPixel() != 32)) {
        warning = "the picture has no pixels this drawing can use";
        return {};
    }
    QSize fitted(width, height);
    if (width > box.width() || height > box.height()) fitted.scale(box, Qt::KeepAspectRatio);
    fitted = fitted.expandedTo(QSize(1, 1));
    return Reduce(bitmap, fitted.width(), fitted.height());
}

}  // namespace drawing
