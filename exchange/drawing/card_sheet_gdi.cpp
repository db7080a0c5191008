// A printed sheet on a Windows device: the layout every sheet has, drawn with
// GDI on the printer's page.
#include <string>

#include "exchange/drawing/gdi_face.h"
#include "exchange/drawing/sheet_layout.h"

namespace ovlet::exchange::drawing {

void DrawCardSheetOn(HDC dc, double dotsPerMm, const card::CardRecord& card, Sheet sheet) {
    SheetLayout layout;
    layout.sheet = sheet;
    // A picture that cannot be decoded leaves its place on the cards empty.
    std::string warning;
    const Image picture = PrintPictureImage(card, layout, warning);
    const std::unique_ptr<Canvas> canvas = MakeDeviceCanvas(dc);
    DrawCardSheet(*canvas, dotsPerMm, card, layout, picture.View());
}

}  // namespace ovlet::exchange::drawing
