#include "exchange/drawing/card_render.h"

#include <cmath>

#include "exchange/drawing/card_layout.h"

namespace ovlet::exchange::drawing {

Image RenderCardImage(const card::CardRecord& record, int width, std::string& warning) {
    const int height = static_cast<int>(std::lround(width * kCardHeightMm / kCardWidthMm));
    std::unique_ptr<PictureCanvas> canvas = MakePictureCanvas(width, height);
    if (!canvas) return {};
    const Area card{0, 0, static_cast<double>(width), static_cast<double>(height)};
    const Area frame = PictureFrame(card);
    // The frame's size in whole pixels, rounded as the drawing rounds it.
    const Image picture = CardPicture(record, static_cast<int>(std::lround(frame.width)),
                                      static_cast<int>(std::lround(frame.height)), warning);
    DrawCard(*canvas, card, record, picture.View());
    return canvas->Take();
}

Image RenderThumbnail(const card::CardRecord& record, int size, std::string& warning) {
    if (size < 128 && record.HasPicture()) {
        Image picture = CardPicture(record, size, size, warning);
        if (!picture.Empty()) return picture;
    }
    return RenderCardImage(record, size, warning);
}

}  // namespace ovlet::exchange::drawing
