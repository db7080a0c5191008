// Printed cards: ten cards on an A4 or US Letter sheet with crop marks, or
// one card on a page of its own size plus bleed for a print shop. The same
// page drawing serves `ovlet print` (PDF) and a window's print dialog.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <string>
#include <vector>

#include "card/card_record.h"

namespace drawing {

enum class Sheet { A4, Letter, Single };

struct SheetLayout {
    Sheet sheet = Sheet::A4;
    double bleedMm = 0;     // paper beyond each card's edge that the card's colours cover
    bool cropMarks = true;  // lines outside the cards where they are to be cut

    QSizeF CardSizeMm() const;  // 85 x 55 mm, or 3.5 x 2 in on a Letter sheet
    QSizeF PageSizeMm() const;
    // The cards' trimmed edges on the page, in millimetres from its top left.
    std::vector<QRectF> CardRectsMm() const;
    // "" when the layout can be printed, else why not (a bleed too wide for the sheet).
    std::string Check() const;
};

// A sheet by its name on the command line ("a4", "letter", "single").
bool SheetFromName(const std::string& name, Sheet& sheet);

// Draws the page: cards, their bleed and the crop marks. The painter's device
// gives the scale (its logical resolution); its origin is the page's top left.
// `picture` is the card's picture as CardPictureImage gives it.
void DrawCardSheet(QPainter& painter, const CardRecord& card, const SheetLayout& layout, const QImage& picture);

// The card's picture for a printed card: full resolution, up to 600 dots an
// inch at the size it is printed.
QImage PrintPicture(const CardRecord& card, const SheetLayout& layout, std::string& warning);

// The page as a one-page PDF: real text with the fonts embedded, whose
// spaces extract as spaces; a single card's page has a TrimBox (the card)
// and a BleedBox (the card and its bleed).
bool WriteCardPdf(const CardRecord& card, const SheetLayout& layout, std::vector<char>& pdf, std::string& warning,
                  std::string& error);

}  // namespace drawing
