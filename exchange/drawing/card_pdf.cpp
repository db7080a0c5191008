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

bool WriteCardPdfWithFonts(const card::CardRecord& card, const SheetLayout& layout, const PdfFonts& fonts,
                           std::vector<char>& pdf, std::string& warning, std::string& error) {
    if (const std::string why = layout.Check(); !why.empty()) {
        error = why;
        return false;
    }
    const SizeMm page = layout.PageSizeMm();
    std::unique_ptr<PdfCanvas> canvas = PdfCanvas::Make(page.width, page.height, kPdfDotsPerInch, fonts, error);
    if (!canvas) return false;
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
    pdf = canvas->Finish(info);
    return true;
}

}  // namespace ovlet::exchange::drawing
