#include "exchange/qr_code.h"

#include <qrencode.h>

#include <algorithm>
#include <memory>

#include "exchange/markup_text.h"
#include "exchange/png_writer.h"

namespace ovlet::exchange::qr {
namespace {

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

Result<Code> Encode(std::string_view data, int maxVersion) {
    static constexpr std::pair<QRecLevel, char> kLevels[] = {{QR_ECLEVEL_M, 'M'}, {QR_ECLEVEL_L, 'L'}};
    if (data.size() > 7089) {  // the most a version-40 code holds in 8-bit mode is far less
        return ExchangeError{ExchangeError::Kind::QrTooLong,
                             "the text is too long for a QR code (" + std::to_string(data.size()) + " bytes)"};
    }
    for (const auto& [level, letter] : kLevels) {
        std::unique_ptr<QRcode, QrCodeFree> encoded(QRcode_encodeData(
            static_cast<int>(data.size()), reinterpret_cast<const unsigned char*>(data.data()), 0, level));
        if (!encoded || encoded->version > maxVersion) continue;
        Code code;
        code.version = encoded->version;
        code.level = letter;
        code.width = encoded->width;
        const auto count = static_cast<std::size_t>(encoded->width) * static_cast<std::size_t>(encoded->width);
        code.modules.resize(count);
        for (std::size_t i = 0; i < count; ++i) code.modules[i] = encoded->data[i] & 1;
        return code;
    }
    return ExchangeError{ExchangeError::Kind::QrTooLong, "the text (" + std::to_string(data.size()) +
                                                             " bytes) does not fit in a QR code of version " +
                                                             std::to_string(maxVersion) + " or smaller"};
}

std::string CardCodeText(const card::CardRecord& record) {
    vcard::WriteOptions options;
    options.version = vcard::Version::V3_0;
    options.photo = false;
    options.note = false;
    options.uid = false;
    options.compact = true;
    return vcard::EncodeVCard(record, options);
}

Result<CardCode> EncodeCard(const card::CardRecord& record) {
    CardCode out;
    out.text = CardCodeText(record);
    Result<Code> code = Encode(out.text);
    if (!code) return code.Error();
    out.code = std::move(code).Value();
    return out;
}

Result<std::vector<std::uint8_t>> EncodePng(const Code& code, int pixels) {
    const int span = code.width + 2 * kQuietZone;
    if (code.width <= 0 ||
        code.modules.size() != static_cast<std::size_t>(code.width) * static_cast<std::size_t>(code.width)) {
        return ExchangeError{ExchangeError::Kind::QrPictureSize, "there is no code to draw"};
    }
    if (pixels == 0) pixels = span * kDefaultModulePixels;
    const int smallest = span * kMinModulePixels;
    if (pixels < smallest || pixels > kMaxPixels) {
        return ExchangeError{ExchangeError::Kind::QrPictureSize,
                             "a picture of " + std::to_string(pixels) + " pixels cannot show this code of " +
                                 std::to_string(code.width) + " modules (with its border, " + std::to_string(span) +
                                 ") at " + std::to_string(kMinModulePixels) +
                                 " pixels a module or more; choose between " + std::to_string(smallest) + " and " +
                                 std::to_string(kMaxPixels)};
    }
    const int scale = pixels / span;
    const int offset = (pixels - scale * code.width) / 2;
    const auto side = static_cast<std::size_t>(pixels);
    std::vector<std::uint8_t> rows(side * side, 0xFF);
    for (int y = 0; y < code.width; ++y) {
        for (int x = 0; x < code.width; ++x) {
            if (!code.Dark(x, y)) continue;
            for (int dy = 0; dy < scale; ++dy) {
                std::uint8_t* row = &rows[static_cast<std::size_t>(offset + y * scale + dy) * side];
                std::fill_n(row + offset + x * scale, scale, std::uint8_t{0});
            }
        }
    }
    Result<std::vector<std::uint8_t>> png =
        exchange::EncodePng(pixels, pixels, exchange::PngChannels::Grey,
                            [&](int y) { return rows.data() + static_cast<std::size_t>(y) * side; });
    if (!png) return ExchangeError{png.Error().kind, "the PNG picture cannot be made: " + png.Error().text};
    return png;
}

}  // namespace ovlet::exchange::qr

namespace ovlet::exchange::qr {

std::string EncodeSvg(const Code& code, std::string_view title) {
    const int span = code.width + 2 * kQuietZone;
    const std::string escaped = exchange::EscapeMarkup(title);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(span) + " " +
                      std::to_string(span) + "\" role=\"img\" shape-rendering=\"crispEdges\"><title>" + escaped +
                      "</title><rect width=\"" + std::to_string(span) + "\" height=\"" + std::to_string(span) +
                      "\" fill=\"#fff\"/><path fill=\"#000\" d=\"";
    // One run of dark modules in a row is one rectangle.
    for (int y = 0; y < code.width; ++y) {
        for (int x = 0; x < code.width;) {
            if (!code.Dark(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < code.width && code.Dark(end, y)) ++end;
            svg += "M" + std::to_string(x + kQuietZone) + " " + std::to_string(y + kQuietZone) + "h" +
                   std::to_string(end - x) + "v1h-" + std::to_string(end - x) + "z";
            x = end;
        }
    }
    return svg + "\"/></svg>";
}

}  // namespace ovlet::exchange::qr
