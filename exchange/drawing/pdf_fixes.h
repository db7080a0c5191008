// Two mends to the PDF that Qt writes for a printed card, made on its bytes.
// Qt's own writer offers neither, and both concern programs that read the
// PDF: text extractors and print shops' tools. Plain C++.
#pragma once

#include <string>
#include <vector>

#include "exchange/drawing/drawing_error.h"

namespace ovlet::exchange::drawing {

// Qt's font subsets map the glyph of the space to U+0009: Qt's font engine
// draws a tab with the space glyph when a font has none, and the subset's
// ToUnicode map takes the lowest character that gives a glyph. Every
// extractor that follows the map (ISO 32000-1 section 9.10) then copies
// tabs where the card has spaces. Maps those glyphs to U+0020 instead, in
// place (the map keeps its length). Returns how many entries were changed.
int MapTabGlyphsToSpaces(std::vector<char>& pdf);

// A rectangle in millimetres from the page's top left corner.
struct RectMm {
    double left = 0, top = 0, width = 0, height = 0;
};

// Gives the page (a PDF of one page as Qt writes it) a TrimBox, the card's
// trimmed edge, and a BleedBox, the card with its bleed, which print shops
// and PDF/X take the card's size from. PdfUnexpected, the PDF unchanged,
// when the PDF is not shaped as expected.
Result<void> AddTrimAndBleedBoxes(std::vector<char>& pdf, const RectMm& trim, const RectMm& bleed);

}  // namespace ovlet::exchange::drawing
