#include "exchange/drawing/card_sheet.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "exchange/drawing/canvas_qt.h"
#include "exchange/drawing/pdf_fixes.h"

namespace ovlet::exchange::drawing {
namespace {

constexpr double kInchMm = 25.4;
constexpr int kPdfDotsPerInch = 1200;

}  // namespace

void DrawCardSheet(QPainter& painter, const card::CardRecord& card, const SheetLayout& layout, const QImage& picture) {
    const QPaintDevice* device = painter.device();
    PainterCanvas canvas(painter);
    DrawCardSheet(canvas, (device ? device->logicalDpiX() : 300) / kInchMm, card, layout, ViewOf(picture));
}

void DrawCardSheetOn(QPainter& painter, const card::CardRecord& card, Sheet sheet) {
    SheetLayout layout;
    layout.sheet = sheet;
    std::string warning;
    const QImage picture = PrintPicture(card, layout, warning);
    DrawCardSheet(painter, card, layout, picture);
}

QImage PrintPicture(const card::CardRecord& card, const SheetLayout& layout, std::string& warning) {
    return ToQImage(PrintPictureImage(card, layout, warning));
}

Result<std::vector<char>> WriteCardPdf(const card::CardRecord& card, const SheetLayout& layout, std::string& warning) {
    if (std::string why = layout.Check(); !why.empty())
        return DrawingError{DrawingError::Kind::PdfNotMade, std::move(why)};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setCreator(QStringLiteral("ovlet"));
        writer.setTitle(QString::fromStdString(CardPdfTitle(card)));
        const SizeMm page = layout.PageSizeMm();
        writer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        const QImage picture = PrintPicture(card, layout, warning);
        QPainter painter;
        if (!painter.begin(&writer)) {
            return DrawingError{DrawingError::Kind::PdfNotMade, "the PDF cannot be started"};
        }
        DrawCardSheet(painter, card, layout, picture);
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    std::vector<char> pdf(bytes.begin(), bytes.end());
    MapTabGlyphsToSpaces(pdf);
    if (layout.sheet == Sheet::Single) {
        const Area cut = layout.CardRectsMm().front();
        const double b = layout.bleedMm;
        const RectMm trim{cut.left, cut.top, cut.width, cut.height};
        const RectMm bled{cut.left - b, cut.top - b, cut.width + 2 * b, cut.height + 2 * b};
        if (const Result<void> boxed = AddTrimAndBleedBoxes(pdf, trim, bled); !boxed) {
            warning +=
                (warning.empty() ? "" : "; ") + std::string("the PDF has no trim box: ") + boxed.Error().Describe();
        }
    }
    return pdf;
}

}  // namespace ovlet::exchange::drawing
