#include "exchange/outgoing_picture.h"

#include <algorithm>
#include <new>

#include "exchange/png_writer.h"
#include "exchange/vcard.h"
#include "picture/decode_outcome.h"
#include "picture/win_bmp.h"

namespace ovlet::exchange {
namespace {

// The bitmap as PNG samples, line by line: red, green, blue and, when the
// picture's alpha means something, alpha. Nothing is lost: the bitmap holds
// 8 bits a channel.
Result<std::vector<std::uint8_t>> BitmapToPng(const picture::CWinBmp& bitmap) {
    // Plain variables, not a structured binding: the row lambda below uses them.
    const std::int32_t width = bitmap.GetSize().first;
    const std::int32_t height = bitmap.GetSize().second;
    const bool alpha = bitmap.HasAlpha();
    const bool indexed = bitmap.GetBitsPerPixel() == 8;
    if (width < 1 || height < 1 || (!indexed && bitmap.GetBitsPerPixel() != 32)) {
        return ExchangeError{ExchangeError::Kind::PictureUnusable, "the picture has no pixels to convert"};
    }
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * static_cast<std::size_t>(channels));
    const picture::RGBQuad* palette = bitmap.GetPalette();
    const std::uint8_t* const* lines = bitmap.GetLineTable();
    auto line = [&](int y) {
        const std::uint8_t* source = lines[y];
        std::uint8_t* out = row.data();
        for (int x = 0; x < width; ++x, out += channels) {
            if (indexed) {
                const picture::RGBQuad& q = palette[source[x]];
                out[0] = q.red;
                out[1] = q.green;
                out[2] = q.blue;
                if (alpha) out[3] = 255;
            } else {
                const std::uint8_t* p = source + 4 * static_cast<std::size_t>(x);  // blue, green, red, alpha
                out[0] = p[2];
                out[1] = p[1];
                out[2] = p[0];
                if (alpha) out[3] = p[3];
            }
        }
        return static_cast<const std::uint8_t*>(row.data());
    };
    return EncodePng(width, height, alpha ? PngChannels::Rgba : PngChannels::Rgb, line);
}

}  // namespace

OutgoingPicture OutgoingPictureOf(const card::CardRecord& card) {
    OutgoingPicture out;
    if (!card.HasPicture()) return out;
    const auto size = std::min(static_cast<std::size_t>(card.PictureLength), card.PictureBytes.size());
    const std::uint8_t* data = card.PictureBytes.data();
    const std::string type = vcard::PictureMediaType(data, size);
    if (type == "image/jpeg" || type == "image/png") {
        out.mediaType = type;
        out.bytes = {data, size};
        return out;
    }
    picture::CWinBmp bitmap;
    if (const picture::Result<void> decoded =
            picture::DecodePicture("card picture", data, static_cast<std::int32_t>(size), bitmap, 32);
        !decoded) {
        out.warning = decoded.Error().kind == picture::DecodeError::Kind::OutOfMemory
                          ? "the picture is too large to convert to PNG; left out"
                          : "the picture does not decode (" + decoded.Error().Describe() + "); left out";
        return out;
    }
    try {
        Result<std::vector<std::uint8_t>> png = BitmapToPng(bitmap);
        if (!png) {
            out.warning = "the picture cannot be converted to PNG (" + png.Error().Describe() + "); left out";
            return out;
        }
        out.converted = std::move(png).Value();
    } catch (const std::bad_alloc&) {
        out.warning = "the picture is too large to convert to PNG; left out";
        return out;
    }
    out.mediaType = "image/png";
    out.bytes = out.converted;
    return out;
}

}  // namespace ovlet::exchange
