// What a PDF needs of a TrueType font to embed it: its glyph for a
// character (cmap), the glyphs' advances (hmtx), its size and line metrics
// (head, hhea, OS/2), its PostScript name, and a copy of it that keeps only
// the outlines drawn. The font is a file from the system: every table and
// every count in it is checked against the bytes there are before it is read.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "exchange/drawing/drawing_error.h"

namespace ovlet::exchange::drawing {

class TrueTypeFont {
public:
    // The font in `bytes` (a TrueType font, not a collection or a font of
    // PostScript outlines); FontUnusable, saying why, when it cannot be used.
    static Result<TrueTypeFont> Read(std::vector<std::uint8_t> bytes);

    // The glyph that draws `c`, 0 (the font's "missing" glyph) when none.
    std::uint16_t GlyphOf(char32_t c) const;
    // A glyph's advance in font units.
    int AdvanceOf(std::uint16_t glyph) const;

    int UnitsPerEm() const { return unitsPerEm; }
    int Ascender() const { return ascender; }    // above the baseline, font units
    int Descender() const { return descender; }  // below it, negative
    int CapHeight() const { return capHeight; }
    double ItalicAngle() const { return italicAngle; }
    // xMin, yMin, xMax, yMax of all glyphs.
    const int* BoundingBox() const { return box; }
    int GlyphCount() const { return glyphCount; }
    // The name the font gives for PostScript, letters, digits and '-' only;
    // "" when it gives none.
    const std::string& PostScriptName() const { return postScriptName; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes; }
    // Whether the font's licence lets its outlines be embedded in a
    // document (OS/2 fsType: neither "restricted" nor "bitmaps only").
    bool MayEmbed() const { return mayEmbed; }

    // The font with the outlines of only these glyphs (and of the glyphs
    // they are made of, and glyph 0); every glyph keeps its number, so text
    // drawn with the whole font draws the same with the subset. Hinting
    // programs are kept; names and kerning are left out, and the character
    // map is empty (a PDF maps characters to glyphs itself).
    std::vector<std::uint8_t> Subset(const std::set<std::uint16_t>& glyphs) const;

private:
    struct Table {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        bool present = false;
    };
    TrueTypeFont() = default;
    Table Find(const char tag[5]) const;

    std::vector<std::uint8_t> bytes;
    std::vector<std::pair<std::uint32_t, Table>> tables;  // by tag
    int unitsPerEm = 0;
    int ascender = 0;
    int descender = 0;
    int capHeight = 0;
    double italicAngle = 0;
    bool mayEmbed = true;
    int box[4] = {0, 0, 0, 0};
    int glyphCount = 0;
    int longLoca = 0;
    std::uint32_t advanceCount = 0;  // hmtx's long metrics
    std::uint32_t hmtxOffset = 0;
    std::uint32_t cmapOffset = 0;  // the chosen character map subtable, in the file
    std::uint32_t cmapLength = 0;
    int cmapFormat = 0;  // 4 or 12
    std::string postScriptName;
};

}  // namespace ovlet::exchange::drawing
