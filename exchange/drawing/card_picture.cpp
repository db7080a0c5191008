#include "exchange/drawing/card_picture.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace drawing {
namespace {

// Each source pixel is added to the destination pixel it falls in and each
// destination pixel is the mean of its sources: one pass over the bitmap,
// one line of sums in memory.
QImage Reduce(const CWinBmp& bitmap, int width, int height) {
    const auto [sourceWidth, sourceHeight] = bitmap.GetSize();
    QImage out(width, height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    std::vector<int> column(static_cast<std::size_t>(sourceWidth));
    for (int x = 0; x < sourceWidth; ++x) {
        column[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<std::int64_t>(x) * width / sourceWidth);
    }
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 4, 0);
    const bool indexed = bitmap.GetBitsPerPixel() == 8;
    const RGBQuad* palette = bitmap.GetPalette();
    const std::uint8_t* const* lines = bitmap.GetLineTable();
    int row = 0;
    auto flushRow = [&] {
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(row));
        for (int x = 0; x < width; ++x) {
            const std::uint64_t* s = &sums[static_cast<std::size_t>(x) * 4];
            const std::uint64_t n = std::max<std::uint64_t>(s[3], 1);
            target[x] = qRgb(static_cast<int>(s[2] / n), static_cast<int>(s[1] / n), static_cast<int>(s[0] / n));
        }
        std::fill(sums.begin(), sums.end(), 0);
    };
    for (int y = 0; y < sourceHeight; ++y) {
        const int targetRow = static_cast<int>(static_cast<std::int64_t>(y) * height / sourceHeight);
        if (targetRow != row) {
            flushRow();
            row = targetRow;
        }
        const std::uint8_t* line = lines[y];
        for (int x = 0; x < sourceWidth; ++x) {
            std::uint8_t b = 0, g = 0, r = 0;
            if (indexed) {
                const RGBQuad& q = palette[line[x]];
                b = q.blue;
                g = q.green;
                r = q.red;
            } else {
                b = line[4 * x];
                g = line[4 * x + 1];
                r = line[4 * x + 2];
            }
            std::uint64_t* s = &sums[static_cast<std::size_t>(column[static_cast<std::size_t>(x)]) * 4];
            s[0] += b;
            s[1] += g;
            s[2] += r;
            s[3] += 1;
        }
    }
    flushRow();
    return out;
}

}  // namespace

QImage CardPictureImage(const CardRecord& card, QSize box, std::string& warning) {
    if (!card.HasPicture() || box.width() < 1 || box.height() < 1) return {};
    const auto size = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(card.PictureLength), card.PictureBytes.size()));
    CAnyPicDecoder decoder;
    CWinBmp bitmap;
    CDataSource source;
    source.OpenData("card picture", card.PictureBytes.data(), size);
    try {
        decoder.DecodeSource(&source, &bitmap, 0);
    } catch (const CTextException& e) {
        warning = e.GetText();
        source.Close();
        return {};
    } catch (const std::bad_alloc&) {
        warning = "the picture is too large to decode";
        source.Close();
        return {};
    }
    source.Close();
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
