// Printed cards: ten cards on an A4 or US Letter sheet with crop marks, or
// one card on a page of its own size plus bleed for a print shop. Plain C++:
// the page is drawn on any canvas (Qt's PDF writer and printer pages on
// Linux, our own PDF canvas on Windows).
#pragma once

#include <string>
#include <vector>

#include "card/card_record.h"
#include "exchange/drawing/canvas.h"

namespace ovlet::exchange::drawing {

enum class Sheet { A4, Letter, Single };

struct SizeMm {
    double width = 0;
    double height = 0;
};

struct SheetLayout {
    Sheet sheet = Sheet::A4;
    double bleedMm = 0;     // paper beyond each card's edge that the card's colours cover
    bool cropMarks = true;  // lines outside the cards where they are to be cut

    SizeMm CardSizeMm() const;  // 85 x 55 mm, or 3.5 x 2 in on a Letter sheet
    SizeMm PageSizeMm() const;
    // The cards' trimmed edges on the page, in millimetres from its top left.
    std::vector<Area> CardRectsMm() const;
    // "" when the layout can be printed, else why not (a bleed too wide for the sheet).
    std::string Check() const;
};

// A sheet by its name on the command line ("a4", "letter", "single").
bool SheetFromName(const std::string& name, Sheet& sheet);

// Draws the page on `canvas`, whose units are `dotsPerMm` to the millimetre
// from the page's top left: the cards, their bleed and the crop marks.
// `picture` is the card's picture as PrintPictureImage gives it.
void DrawCardSheet(Canvas& canvas, double dotsPerMm, const card::CardRecord& card, const SheetLayout& layout,
                   ImageView picture);

// The card's picture for a printed card: full resolution, up to 600 dots an
// inch at the size it is printed.
Image PrintPictureImage(const card::CardRecord& card, const SheetLayout& layout, std::string& warning);

}  // namespace ovlet::exchange::drawing
