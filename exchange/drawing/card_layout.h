// The look of a card as a business card: its picture on the left, the
// company block above and the contact block below, an accent band along the
// bottom. One drawing serves the PNG of `ovlet render`, the printed sheets,
// the thumbnails and the windows' print preview, on any canvas.
#pragma once

#include <string>

#include "card/card_record.h"
#include "exchange/drawing/canvas.h"

namespace ovlet::exchange::drawing {

// A business card is 85 x 55 mm unless the sheet says otherwise.
inline constexpr double kCardWidthMm = 85.0;
inline constexpr double kCardHeightMm = 55.0;
// Names and the company never get smaller than this at the printed size;
// the rest of the text not smaller than kMinDetailPoints.
inline constexpr double kMinNamePoints = 7.0;
inline constexpr double kMinDetailPoints = 5.5;

// The box the picture is drawn in on a card drawn into `card`.
Area PictureFrame(const Area& card);

// Draws the card into `card`. `picture` is the card's picture as CardPicture
// gives it (empty: none); `printedHeightMm` is the card's height on paper,
// which the smallest text sizes follow. The text is cut to what the card can
// show before it is measured: long values wrap and, below the smallest size,
// end in an ellipsis, so any card draws in bounded time.
void DrawCard(Canvas& canvas, const Area& card, const card::CardRecord& record, ImageView picture,
              double printedHeightMm = kCardHeightMm);

// The card's picture fitted into boxWidth x boxHeight (aspect kept; never
// enlarged), opaque; empty when the card has none or it cannot be decoded
// (`warning` then says why). The picture library decodes it, and the bitmap
// is reduced to the box line by line, so no second full-size copy is made.
Image CardPicture(const card::CardRecord& card, int boxWidth, int boxHeight, std::string& warning);

}  // namespace ovlet::exchange::drawing
