// The card's picture as a Qt image no larger than it is drawn: the picture
// library decodes it, and the bitmap is reduced to the box line by line, so
// no second full-size copy is ever made.
#pragma once

#include <QImage>
#include <QSize>
#include <string>

#include "card/card_record.h"

namespace drawing {

// The picture fitted into `box` (aspect kept; never enlarged), opaque, or a
// null image when the card has none or it cannot be decoded (`warning` then
// says why).
QImage CardPictureImage(const CardRecord& card, QSize box, std::string& warning);

}  // namespace drawing
