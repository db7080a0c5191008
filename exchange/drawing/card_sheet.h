// Printed cards on Qt's painter: a window's print dialog draws the sheet on
// the printer's pages with the same drawing `ovlet print` uses.
#pragma once

#include <QImage>
#include <QPainter>
#include <string>

#include "card/card_record.h"
#include "exchange/drawing/card_pdf.h"
#include "exchange/drawing/sheet_layout.h"

namespace ovlet::exchange::drawing {

// Draws the page: cards, their bleed and the crop marks. The painter's device
// gives the scale (its logical resolution); its origin is the page's top left.
// `picture` is the card's picture as PrintPicture gives it.
void DrawCardSheet(QPainter& painter, const card::CardRecord& card, const SheetLayout& layout, const QImage& picture);

// PrintPictureImage as Qt's image.
QImage PrintPicture(const card::CardRecord& card, const SheetLayout& layout, std::string& warning);

// The sheet of `sheet`'s kind with `card` on it, on a printer's page as
// DrawCardSheet takes it. A picture that cannot be decoded leaves its place on
// the cards empty, as the preview shows.
void DrawCardSheetOn(QPainter& painter, const card::CardRecord& card, Sheet sheet);

}  // namespace ovlet::exchange::drawing
