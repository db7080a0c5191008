// A printed sheet of cards as a one-page PDF: real text with its fonts
// embedded, whose spaces extract as spaces; a single card's page has a
// TrimBox (the card) and a BleedBox (the card and its bleed).
#pragma once

#include <string>
#include <vector>

#include "card/card_record.h"
#include "exchange/drawing/canvas_pdf.h"
#include "exchange/drawing/drawing_error.h"
#include "exchange/drawing/sheet_layout.h"

namespace ovlet::exchange::drawing {

// The PDF, made the system's way: Qt's PDF writer on Linux, our own PDF
// canvas with the system's sans-serif font on Windows. A picture left out is
// no failure: `warning` says so. PdfNotMade for a layout that does not fit
// or a PDF that cannot be started, FontUnusable for the system's font.
Result<std::vector<char>> WriteCardPdf(const card::CardRecord& card, const SheetLayout& layout, std::string& warning);

// Our own PDF canvas, with the text in these fonts.
Result<std::vector<char>> WriteCardPdfWithFonts(const card::CardRecord& card, const SheetLayout& layout,
                                                const PdfFonts& fonts, std::string& warning);

// The PDF's title: the person's name, else the company (UTF-8).
std::string CardPdfTitle(const card::CardRecord& card);

}  // namespace ovlet::exchange::drawing
