#include "exchange/drawing/card_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/drawing/card_picture.h"

namespace drawing {
namespace {

constexpr double kPointMm = 25.4 / 72.0;
constexpr QChar kEllipsis(0x2026);

const QColor kPaper(0xFA, 0xFA, 0xF7);
const QColor kInk(0x1B, 0x2A, 0x3F);
const QColor kSoft(0x4A, 0x57, 0x6B);
const QColor kAccent(0x1F, 0x6F, 0xD1);

// One value on the card: its lines, already cut to what can be shown.
struct Paragraph {
    std::vector<QString> lines;
    bool cut = false;    // the value goes on past its lines
    double size = 0;     // wanted text height, in card heights
    double minSize = 0;  // smallest text height, in card heights
    bool bold = false;
    QColor colour;
    int maxLines = 1;  // lines after wrapping
};

// The value's first `maxLines` lines, each at most `maxChars` characters,
// found without looking at the rest (a value may hold millions of lines).
Paragraph Cut(std::string_view ansi, std::size_t maxLines, std::size_t maxChars) {
    Paragraph p;
    std::size_t pos = 0;
    while (pos <= ansi.size() && p.lines.size() < maxLines) {
        std::size_t end = ansi.find('\n', pos);
        if (end == std::string_view::npos) end = ansi.size();
        std::string_view line = ansi.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > maxChars) {
            line = line.substr(0, maxChars);
            p.cut = true;
        }
        QString text = QString::fromStdString(codepage::Utf8FromAnsi(line)).simplified();
        if (!text.isEmpty()) p.lines.push_back(text);
        pos = end + 1;
    }
    if (pos < ansi.size()) p.cut = true;
    return p;
}

QFont FontOfHeight(double pixels, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// The text with an ellipsis at its end, shortened to fit the width.
QString WithEllipsis(const QFontMetricsF& metrics, const QString& text, double width) {
    const QString whole = text + kEllipsis;
    if (metrics.horizontalAdvance(whole) <= width) return whole;
    QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    if (!shown.endsWith(kEllipsis)) shown = metrics.elidedText(whole, Qt::ElideRight, width);
    return shown;
}

// Greedy word wrap; a word wider than the line is broken between characters.
std::vector<QString> Wrap(const QFontMetricsF& metrics, const QString& text, double width) {
    std::vector<QString> out;
    QString current;
    const QStringList words = text.split(QChar(' '), Qt::SkipEmptyParts);
    for (QString word : words) {
        QString candidate = current.isEmpty() ? word : current + QChar(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty()) out.push_back(current);
        current.clear();
        while (metrics.horizontalAdvance(word) > width && word.size() > 1) {
            int fit = 1;
            while (fit < word.size() && metrics.horizontalAdvance(word.left(fit + 1)) <= width) ++fit;
            out.push_back(word.left(fit));
            word = word.mid(fit);
        }
        current = word;
    }
    if (!current.isEmpty()) out.push_back(current);
    return out;
}

struct PlacedLine {
    QFont font;
    QColor colour;
    QString text;
    double baseline;
};

// Lays the paragraphs out in the box at `scale` of their sizes (never below
// their smallest). Returns false when they do not all fit; `placed` then
// holds what does, its last line ending in an ellipsis.
bool Layout(const QRectF& box, const std::vector<Paragraph>& paragraphs, double unit, double scale,
            std::vector<PlacedLine>& placed) {
    placed.clear();
    double y = box.top();
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const Paragraph& p = paragraphs[i];
        const QFont font = FontOfHeight(std::max(p.size * scale, p.minSize) * unit, p.bold);
        const QFontMetricsF metrics(font);
        std::vector<QString> wrapped;
        for (const QString& line : p.lines) {
            for (QString& part : Wrap(metrics, line, box.width())) wrapped.push_back(std::move(part));
        }
        bool more = p.cut;
        if (static_cast<int>(wrapped.size()) > p.maxLines) {
            // Smaller text comes before an ellipsis, unless the value is
            // longer than the card could show at any size.
            if (!p.cut && p.size * scale > p.minSize) return false;
            wrapped.resize(static_cast<std::size_t>(p.maxLines));
            more = true;
        }
        for (std::size_t k = 0; k < wrapped.size(); ++k) {
            if (y + metrics.height() > box.bottom() + 0.5) {
                if (!placed.empty()) {
                    PlacedLine& last = placed.back();
                    last.text = WithEllipsis(QFontMetricsF(last.font), last.text, box.width());
                }
                return false;
            }
            QString text = wrapped[k];
            if (more && k + 1 == wrapped.size()) text = WithEllipsis(metrics, text, box.width());
            placed.push_back({font, p.colour, text, y + metrics.ascent()});
            y += metrics.height();
        }
    }
    return true;
}

// The largest common scale at which both blocks fit, down to the smallest sizes.
void FitAndDraw(QPainter& painter, const std::vector<std::pair<QRectF, std::vector<Paragraph>>>& blocks, double unit) {
    std::vector<std::vector<PlacedLine>> placed(blocks.size());
    for (double scale = 1.0;; scale *= 0.9) {
        bool all = true;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            all = Layout(blocks[i].first, blocks[i].second, unit, scale, placed[i]) && all;
        }
        if (all || scale < 0.05) break;
    }
    for (const auto& lines : placed) {
        for (const PlacedLine& line : lines) {
            painter.setFont(line.font);
            painter.setPen(line.colour);
            painter.drawText(QPointF(blocks.front().first.left(), line.baseline), line.text);
        }
    }
}

}  // namespace

QRectF PictureFrame(const QRectF& card) {
    const double unit = card.height() / 100.0;
    const double margin = 7 * unit;
    return {card.left() + margin, card.top() + margin, card.width() * 0.36, card.height() - 2 * margin - 3 * unit};
}

void DrawCard(QPainter& painter, const QRectF& card, const CardRecord& r, const QImage& picture,
              double printedHeightMm) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(card);
    painter.fillRect(card, kPaper);
    const double unit = card.height();  // sizes are fractions of the card's height
    const double band = 0.03 * unit;
    painter.fillRect(QRectF(card.left(), card.bottom() - band, card.width(), band), kAccent);
    const double margin = 0.07 * unit;
    double textLeft = card.left() + margin;
    if (!picture.isNull()) {
        const QRectF frame = PictureFrame(card);
        QSizeF size = picture.size();
        size.scale(frame.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(frame.left() + (frame.width() - size.width()) / 2,
                                 frame.top() + (frame.height() - size.height()) / 2, size.width(), size.height()),
                          picture);
        textLeft = frame.right() + margin;
    }
    const double textWidth = card.right() - margin - textLeft;
    const double half = (card.height() - 2 * margin - band) / 2;
    if (textWidth <= 0 || half <= 0) {
        painter.restore();
        return;
    }

    const double nameMin = kMinNamePoints * kPointMm / printedHeightMm;
    const double detailMin = kMinDetailPoints * kPointMm / printedHeightMm;
    // At the smallest size a character is at least a fifth of the text's
    // height wide: no line can show more characters than this.
    const auto charsFor = [&](double minSize, int lines) {
        const double perLine = textWidth / (0.2 * minSize * unit) + 1;
        return static_cast<std::size_t>(std::min(4000.0, perLine * lines));
    };
    auto add = [&](std::vector<Paragraph>& block, std::string_view ansi, double size, double minSize, bool bold,
                   QColor colour, int maxLines) {
        Paragraph p = Cut(ansi, static_cast<std::size_t>(maxLines), charsFor(minSize, maxLines));
        if (p.lines.empty()) return;
        p.size = size;
        p.minSize = minSize;
        p.bold = bold;
        p.colour = colour;
        p.maxLines = maxLines;
        block.push_back(std::move(p));
    };

    std::vector<Paragraph> company;
    add(company, r.Company, 0.09, nameMin, true, kInk, 2);
    add(company, r.StreetAddress, 0.052, detailMin, false, kSoft, 4);
    const std::string region = JoinNonEmpty({&r.StateProvince, &r.Country, &r.PostalCode}, " ");
    const std::string place = r.City.empty() ? region : r.City + ", " + region;
    add(company, place, 0.052, detailMin, false, kSoft, 2);
    add(company, r.WebSite, 0.052, detailMin, false, kAccent, 1);

    std::vector<Paragraph> contact;
    add(contact, JoinNonEmpty({&r.FirstName, &r.MiddleName, &r.LastName}, " "), 0.07, nameMin, true, kInk, 2);
    add(contact, JoinNonEmpty({&r.JobTitle, &r.Department}, ", "), 0.052, detailMin, false, kSoft, 2);
    for (const auto& [description, number] :
         {std::pair{&r.Phone1Description, &r.Phone1Number}, std::pair{&r.Phone2Description, &r.Phone2Number}}) {
        if (!number->empty()) add(contact, *description + ": " + *number, 0.052, detailMin, false, kInk, 1);
    }
    if (!r.Fax.empty()) add(contact, "Fax: " + r.Fax, 0.052, detailMin, false, kInk, 1);
    add(contact, r.EMail, 0.052, detailMin, false, kAccent, 1);

    const double gap = 0.01 * unit;
    FitAndDraw(painter,
               {{QRectF(textLeft, card.top() + margin, textWidth, half - gap), company},
                {QRectF(textLeft, card.top() + margin + half + gap, textWidth, half - gap), contact}},
               unit);
    painter.restore();
}

QImage RenderCardImage(const CardRecord& record, int width, std::string& warning) {
    const int height = static_cast<int>(std::lround(width * kCardHeightMm / kCardWidthMm));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const QRectF card(0, 0, width, height);
    const QImage picture = CardPictureImage(record, PictureFrame(card).size().toSize(), warning);
    QPainter painter(&image);
    DrawCard(painter, card, record, picture);
    return image;
}

QImage RenderThumbnail(const CardRecord& record, int size, std::string& warning) {
    if (size < 128 && record.HasPicture()) {
        QImage picture = CardPictureImage(record, QSize(size, size), warning);
        if (!picture.isNull()) return picture;
    }
    return RenderCardImage(record, size, warning);
}

}  // namespace drawing
