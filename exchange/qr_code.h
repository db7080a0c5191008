// QR codes of cards: the card's vCard without its photo, encoded with
// libqrencode, and the code as a PNG picture through libpng. No Qt; a window
// draws the module grid itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_record.h"
#include "exchange/vcard.h"

namespace qr {

// Phones read codes up to this version reliably (117 x 117 modules).
inline constexpr int kMaxVersion = 25;
// The light border every reader expects around a code, in modules.
inline constexpr int kQuietZone = 4;
// Pixels per module when the caller names no size.
inline constexpr int kDefaultModulePixels = 8;
// The largest picture `EncodePng` makes, in pixels a side.
inline constexpr int kMaxPixels = 10000;

struct Code {
    int version = 0;
    char level = 0;                     // 'L', 'M', 'Q' or 'H'
    int width = 0;                      // modules a side, without the quiet zone
    std::vector<std::uint8_t> modules;  // width * width, row by row, 1 = dark

    bool Dark(int x, int y) const { return modules[static_cast<std::size_t>(y) * width + x] != 0; }
    int PixelsAtDefault() const { return (width + 2 * kQuietZone) * kDefaultModulePixels; }
};

// Encodes bytes in 8-bit mode at the highest error-correction level whose code
// stays within `maxVersion`. False, with `error` set, when no level fits.
bool Encode(std::string_view data, Code& code, std::string& error, int maxVersion = kMaxVersion);

struct CardCode {
    Code code;
    std::string text;          // the vCard the code holds
    bool noteLeftOut = false;  // the general information did not fit and was left out
};

// The code of a card's vCard without the photo. When the whole card does not
// fit, the general information is left out and `noteLeftOut` says so.
bool EncodeCard(const CardRecord& record, vcard::Version version, CardCode& out, std::string& error);

// The code as an 8-bit greyscale PNG of `pixels` x `pixels` (0: kDefaultModulePixels
// per module), the code centred with at least its quiet zone around it.
bool EncodePng(const Code& code, int pixels, std::vector<std::uint8_t>& png, std::string& error);

}  // namespace qr
