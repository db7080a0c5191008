// The look of a card as a business card: its picture on the left, the
// company block above and the contact block below, an accent band along the
// bottom. One drawing serves the PNG of `ovlet render`, the printed sheets,
// the thumbnails and the windows' print preview. Qt Gui only.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>

#include "card/card_record.h"

namespace drawing {

// A business card is 85 x 55 mm unless the sheet says otherwise.
inline constexpr double kCardWidthMm = 85.0;
inline constexpr double kCardHeightMm = 55.0;
// Names and the company never get smaller than this at the printed size;
// the rest of the text not smaller than kMinDetailPoints.
inline constexpr double kMinNamePoints = 7.0;
inline constexpr double kMinDetailPoints = 5.5;

// The box the picture is drawn in on a card drawn into `card`.
QRectF PictureFrame(const QRectF& card);

// Draws the card into `card` (device units of the painter). `picture` is the
// card's picture as CardPictureImage gives it (null: none); `printedHeightMm`
// is the card's height on paper, which the smallest text sizes follow. The
// text is cut to what the card can show before it is measured: long values
// wrap and, below the smallest size, end in an ellipsis, so any card draws in
// bounded time.
void DrawCard(QPainter& painter, const QRectF& card, const CardRecord& record, const QImage& picture,
              double printedHeightMm = kCardHeightMm);

// The card as a picture `width` pixels wide (its height follows the card's
// shape); `warning` says why the picture is left out, if it is.
QImage RenderCardImage(const CardRecord& record, int width, std::string& warning);

// A picture fitted into size x size for file managers: the card's look, or
// only its picture (when it has one) below 128 pixels, where text cannot be read.
QImage RenderThumbnail(const CardRecord& record, int size, std::string& warning);

}  // namespace drawing
