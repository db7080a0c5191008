#include "exchange/drawing/card_sheet.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/drawing/canvas_qt.h"
#include "exchange/drawing/card_layout.h"
#include "exchange/drawing/pdf_fixes.h"

namespace drawing {
namespace {

constexpr double kInchMm = 25.4;
constexpr int kPdfDotsPerInch = 1200;
constexpr int kPictureDotsPerInch = 600;
// Crop marks: this long, this far from the trimmed edge (outside any bleed).
constexpr double kMarkLengthMm = 5.0;
constexpr double kMarkGapMm = 2.0;
constexpr int kColumns = 2;
constexpr int kRows = 5;

}  // namespace

bool SheetFromName(const std::string& name, Sheet& sheet) {
    if (name == "a4") {
        sheet = Sheet::A4;
    } else if (name == "letter") {
        sheet = Sheet::Letter;
    } else if (name == "single") {
        sheet = Sheet::Single;
    } else {
        return false;
    }
    return true;
}

QSizeF SheetLayout::CardSizeMm() const {
    if (sheet == Sheet::Letter) return {3.5 * kInchMm, 2.0 * kInchMm};
    return {kCardWidthMm, kCardHeightMm};
}

QSizeF SheetLayout::PageSizeMm() const {
    switch (sheet) {
        case Sheet::A4:
            return {210.0, 297.0};
        case Sheet::Letter:
            return {8.5 * kInchMm, 11.0 * kInchMm};
        case Sheet::Single:
            break;
    }
    const double around = bleedMm + (cropMarks ? kMarkGapMm + kMarkLengthMm : 0.0);
    return CardSizeMm() + QSizeF(2 * around, 2 * around);
}

std::vector<QRectF> SheetLayout::CardRectsMm() const {
    const QSizeF card = CardSizeMm();
    const QSizeF page = PageSizeMm();
    if (sheet == Sheet::Single) {
        return {QRectF(QPointF((page.width() - card.width()) / 2, (page.height() - card.height()) / 2), card)};
    }
    // Cards side by side; with a bleed, each keeps its own bleed around it.
    const double pitchX = card.width() + 2 * bleedMm;
    const double pitchY = card.height() + 2 * bleedMm;
    const double left = (page.width() - kColumns * pitchX) / 2 + bleedMm;
    const double top = (page.height() - kRows * pitchY) / 2 + bleedMm;
    std::vector<QRectF> rects;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            rects.emplace_back(QPointF(left + column * pitchX, top + row * pitchY), card);
        }
    }
    return rects;
}

std::string SheetLayout::Check() const {
    if (!(bleedMm >= 0) || bleedMm > 20) return "the bleed must be 0 to 20 mm";
    if (sheet == Sheet::Single) return "";
    const QSizeF card = CardSizeMm();
    const QSizeF page = PageSizeMm();
    const double roomX = (page.width() - kColumns * card.width()) / (2 * kColumns);
    const double roomY = (page.height() - kRows * card.height()) / (2 * kRows);
    const double most = std::floor(std::min(roomX, roomY) * 10) / 10;
    if (bleedMm > most) {
        char text[120];
        std::snprintf(text, sizeof text, "ten cards with a bleed of %.1f mm do not fit on the sheet; at most %.1f mm",
                      bleedMm, most);
        return text;
    }
    return "";
}

void DrawCardSheet(QPainter& painter, const CardRecord& card, const SheetLayout& layout, const QImage& picture) {
    const QPaintDevice* device = painter.device();
    const double dotsPerMm = (device ? device->logicalDpiX() : 300) / kInchMm;
    auto toDevice = [&](const QRectF& mm) {
        return QRectF(mm.left() * dotsPerMm, mm.top() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm);
    };
    const std::vector<QRectF> cards = layout.CardRectsMm();
    painter.save();
    for (const QRectF& mm : cards) {
        if (layout.bleedMm > 0) {
            // The bleed carries the card's paper colour and its accent band
            // past the trimmed edge.
            const QRectF bled = mm.adjusted(-layout.bleedMm, -layout.bleedMm, layout.bleedMm, layout.bleedMm);
            painter.fillRect(toDevice(bled), QColor(0xFA, 0xFA, 0xF7));
            const double band = 0.03 * mm.height();
            painter.fillRect(toDevice(QRectF(bled.left(), mm.bottom() - band, bled.width(), band + layout.bleedMm)),
                             QColor(0x1F, 0x6F, 0xD1));
        }
        PainterCanvas canvas(painter);
        const QRectF trimmed = toDevice(mm);
        DrawCard(canvas, {trimmed.left(), trimmed.top(), trimmed.width(), trimmed.height()}, card, ViewOf(picture),
                 mm.height());
    }
    if (layout.cropMarks) {
        QPen pen(Qt::black);
        pen.setWidthF(0.15 * dotsPerMm);
        painter.setPen(pen);
        painter.setClipping(false);
        // The trimmed edges of the cards, each marked outside the whole group
        // so no mark falls on a card.
        QRectF all = cards.front();
        std::vector<double> xs, ys;
        for (const QRectF& r : cards) {
            all = all.united(r);
            for (double x : {r.left(), r.right()}) {
                if (std::find_if(xs.begin(), xs.end(), [&](double v) { return std::abs(v - x) < 0.01; }) == xs.end())
                    xs.push_back(x);
            }
            for (double y : {r.top(), r.bottom()}) {
                if (std::find_if(ys.begin(), ys.end(), [&](double v) { return std::abs(v - y) < 0.01; }) == ys.end())
                    ys.push_back(y);
            }
        }
        const double out = layout.bleedMm + kMarkGapMm;
        auto line = [&](double x1, double y1, double x2, double y2) {
            painter.drawLine(QPointF(x1 * dotsPerMm, y1 * dotsPerMm), QPointF(x2 * dotsPerMm, y2 * dotsPerMm));
        };
        for (double x : xs) {
            line(x, all.top() - out - kMarkLengthMm, x, all.top() - out);
            line(x, all.bottom() + out, x, all.bottom() + out + kMarkLengthMm);
        }
        for (double y : ys) {
            line(all.left() - out - kMarkLengthMm, y, all.left() - out, y);
            line(all.right() + out, y, all.right() + out + kMarkLengthMm, y);
        }
    }
    painter.restore();
}

QImage PrintPicture(const CardRecord& card, const SheetLayout& layout, std::string& warning) {
    const QSizeF cardMm = layout.CardSizeMm();
    const double dots = kPictureDotsPerInch / kInchMm;
    const Area frame = PictureFrame({0, 0, cardMm.width() * dots, cardMm.height() * dots});
    // The frame's size in whole dots, rounded as the drawing rounds it.
    return ToQImage(
        CardPicture(card, static_cast<int>(frame.width + 0.5), static_cast<int>(frame.height + 0.5), warning));
}

bool WriteCardPdf(const CardRecord& card, const SheetLayout& layout, std::vector<char>& pdf, std::string& warning,
                  std::string& error) {
    if (const std::string why = layout.Check(); !why.empty()) {
        error = why;
        return false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setCreator(QStringLiteral("ovlet"));
        const QString name =
            QString::fromStdString(codepage::Utf8FromAnsi(JoinNonEmpty({&card.FirstName, &card.LastName}, " ")));
        writer.setTitle(name.isEmpty() ? QString::fromStdString(codepage::Utf8FromAnsi(card.Company)) : name);
        const QSizeF page = layout.PageSizeMm();
        writer.setPageLayout(QPageLayout(QPageSize(page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        const QImage picture = PrintPicture(card, layout, warning);
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = "the PDF cannot be started";
            return false;
        }
        DrawCardSheet(painter, card, layout, picture);
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    pdf.assign(bytes.begin(), bytes.end());
    pdf::MapTabGlyphsToSpaces(pdf);
    if (layout.sheet == Sheet::Single) {
        const QRectF cut = layout.CardRectsMm().front();
        const double b = layout.bleedMm;
        const pdf::RectMm trim{cut.left(), cut.top(), cut.width(), cut.height()};
        const pdf::RectMm bled{cut.left() - b, cut.top() - b, cut.width() + 2 * b, cut.height() + 2 * b};
        if (std::string why; !pdf::AddTrimAndBleedBoxes(pdf, trim, bled, why)) {
            warning += (warning.empty() ? "" : "; ") + std::string("the PDF has no trim box: ") + why;
        }
    }
    return true;
}

}  // namespace drawing
