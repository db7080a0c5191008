// The printed sheet through our own PDF canvas: the way on systems without
// Qt's PDF writer, and on every system in the tests.
#include "exchange/drawing/card_pdf.h"

#include "card/card_summary.h"
#include "card/codepage.h"

namespace ovlet::exchange::drawing {
namespace {

constexpr double kInchMm = 25.4;
// Dots of the drawing: fine enough that the whole-dot font sizes are exact
// to the eye, as on Qt's writer (which draws at the same resolution).
constexpr double kPdfDotsPerInch = 1200;

}  // namespace

std::string CardPdfTitle(const card::CardRecord& card) {
    const std::string name = card::Utf8FromAnsi(card::JoinNonEmpty({&card.FirstName, &card.LastName}, " "));
    return name.empty() ? card::Utf8FromAnsi(card.Company) : name;
}

Result<std::vector<char>> WriteCardPdfWithFonts(const card::CardRecord& card, const SheetLayout& layout,
                                                const PdfFonts& fonts, std::string& warning) {
    if (std::string why = layout.Check(); !why.empty())
        return DrawingError{DrawingError::Kind::PdfNotMade, std::move(why)};
    const SizeMm page = layout.PageSizeMm();
    Result<std::unique_ptr<PdfCanvas>> made = PdfCanvas::Make(page.width, page.height, kPdfDotsPerInch, fonts);
    if (!made) return made.Error();
    PdfCanvas* canvas = made.Value().get();
    const Image picture = PrintPictureImage(card, layout, warning);
    DrawCardSheet(*canvas, kPdfDotsPerInch / kInchMm, card, layout, picture.View());
    PdfDocumentInfo info;
    info.title = CardPdfTitle(card);
    if (layout.sheet == Sheet::Single) {
        const Area cut = layout.CardRectsMm().front();
        const double b = layout.bleedMm;
        info.trimMm = cut;
        info.bleedMm = {cut.left - b, cut.top - b, cut.width + 2 * b, cut.height + 2 * b};
    }
    return canvas->Finish(info);
}

}  // namespace ovlet::exchange::drawing
