// QR codes of cards: what a phone needs to save the contact (a compact vCard
// 3.0 without photo and general information), encoded with libqrencode at
// error-correction level M, and the code as a PNG picture through libpng or
// as SVG. No Qt; a window draws the module grid itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_record.h"
#include "exchange/exchange_error.h"
#include "exchange/vcard.h"

namespace ovlet::exchange::qr {

// Phones read codes up to this version reliably (117 x 117 modules).
inline constexpr int kMaxVersion = 25;
// The light border every reader expects around a code, in modules.
inline constexpr int kQuietZone = 4;
// Pixels per module when the caller names no size, and the fewest a picture
// may give a module and still be read.
inline constexpr int kDefaultModulePixels = 8;
inline constexpr int kMinModulePixels = 2;
// The largest picture `EncodePng` makes, in pixels a side.
inline constexpr int kMaxPixels = 10000;

struct Code {
    int version = 0;
    char level = 0;                     // 'L', 'M', 'Q' or 'H'
    int width = 0;                      // modules a side, without the quiet zone
    std::vector<std::uint8_t> modules;  // width * width, row by row, 1 = dark

    bool Dark(int x, int y) const { return modules[static_cast<std::size_t>(y * width + x)] != 0; }
    int PixelsAtDefault() const { return (width + 2 * kQuietZone) * kDefaultModulePixels; }
};

// Encodes bytes in 8-bit mode in the smallest code of level M, which phones
// read well in poor light; level L only when M does not fit in `maxVersion`.
// QrTooLong when neither fits.
Result<Code> Encode(std::string_view data, int maxVersion = kMaxVersion);

struct CardCode {
    Code code;
    std::string text;  // the vCard the code holds
};

// The vCard a card's code holds: version 3.0, which phones read best, with
// only what a contact needs (no photo, general information, UID or labels).
std::string CardCodeText(const card::CardRecord& record);

// The code of a card; QrTooLong when its text does not fit.
Result<CardCode> EncodeCard(const card::CardRecord& record);

// The code as an 8-bit greyscale PNG of `pixels` x `pixels` (0: kDefaultModulePixels
// per module), the code centred with at least its quiet zone around it. A size
// that would give a module fewer than kMinModulePixels pixels is refused
// (QrPictureSize); PngRefused when libpng refuses.
Result<std::vector<std::uint8_t>> EncodePng(const Code& code, int pixels);

// The code as an SVG picture of one path, the quiet zone included, scaled to
// whatever box it is drawn in; `title` (UTF-8) is its accessible name.
std::string EncodeSvg(const Code& code, std::string_view title);

}  // namespace ovlet::exchange::qr
