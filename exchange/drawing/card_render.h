// The card drawn into a picture in memory, on the system's own canvas: the
// PNG of `ovlet render` and the thumbnails file managers show.
#pragma once

#include <string>

#include "card/card_record.h"
#include "exchange/drawing/canvas.h"

namespace ovlet::exchange::drawing {

// The card as a picture `width` pixels wide (its height follows the card's
// shape); `warning` says why the picture is left out, if it is. Empty when
// the system cannot give a picture that large.
Image RenderCardImage(const card::CardRecord& record, int width, std::string& warning);

// A picture fitted into size x size for file managers: the card's look, or
// only its picture (when it has one) below 128 pixels, where text cannot be read.
Image RenderThumbnail(const card::CardRecord& record, int size, std::string& warning);

}  // namespace ovlet::exchange::drawing
