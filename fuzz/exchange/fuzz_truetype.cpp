// Font files as the system gives them to the PDF canvas: reading any bytes
// ends cleanly, every lookup stays inside the font, and the subset of the
// glyphs drawn is itself a font that reads, with the same glyphs and
// advances.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "exchange/drawing/truetype_font.h"

namespace ovlet::exchange {
namespace {

int CheckFontBytes(const std::uint8_t* data, std::size_t size) {
    const auto font = drawing::TrueTypeFont::Read(std::vector<std::uint8_t>(data, data + size));
    if (!font) {
        if (font.Error().Describe().empty()) std::abort();
        return 0;
    }
    std::set<std::uint16_t> drawn;
    for (char32_t c : {U' ', U'A', U'e', U'\u00E9', U'\u20AC', U'\u201C', U'\u2026', U'\U0001F600'}) {
        const std::uint16_t glyph = font->GlyphOf(c);
        if (glyph >= font->GlyphCount()) std::abort();
        drawn.insert(glyph);
    }
    const auto subset = drawing::TrueTypeFont::Read(font->Subset(drawn));
    if (!subset || subset->GlyphCount() != font->GlyphCount()) std::abort();
    for (std::uint16_t glyph : drawn) {
        if (subset->AdvanceOf(glyph) != font->AdvanceOf(glyph)) std::abort();
    }
    return 0;
}

}  // namespace
}  // namespace ovlet::exchange

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return ovlet::exchange::CheckFontBytes(data, size);
}
