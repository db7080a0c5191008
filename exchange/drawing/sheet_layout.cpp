#include "exchange/drawing/sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "exchange/drawing/card_layout.h"

namespace ovlet::exchange::drawing {
namespace {

constexpr double kInchMm = 25.4;
constexpr int kPictureDotsPerInch = 600;
// Crop marks: this long, this far from the trimmed edge (outside any bleed),
// this thick.
constexpr double kMarkLengthMm = 5.0;
constexpr double kMarkGapMm = 2.0;
constexpr double kMarkWidthMm = 0.15;
constexpr int kColumns = 2;
constexpr int kRows = 5;
// The bleed carries the card's paper colour and its accent band past the
// trimmed edge (the colours of the card's drawing).
constexpr Colour kBleedPaper{0xFA, 0xFA, 0xF7};
constexpr Colour kBleedBand{0x1F, 0x6F, 0xD1};
constexpr Colour kMarkInk{0, 0, 0};

// Adds `value` to `values` unless one as good as equal is there.
void AddOnce(std::vector<double>& values, double value) {
    if (std::none_of(values.begin(), values.end(), [&](double v) { return std::abs(v - value) < 0.01; })) {
        values.push_back(value);
    }
}

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

SizeMm SheetLayout::CardSizeMm() const {
    if (sheet == Sheet::Letter) return {3.5 * kInchMm, 2.0 * kInchMm};
    return {kCardWidthMm, kCardHeightMm};
}

SizeMm SheetLayout::PageSizeMm() const {
    switch (sheet) {
        case Sheet::A4:
            return {210.0, 297.0};
        case Sheet::Letter:
            return {8.5 * kInchMm, 11.0 * kInchMm};
        case Sheet::Single:
            break;
    }
    const double around = bleedMm + (cropMarks ? kMarkGapMm + kMarkLengthMm : 0.0);
    const SizeMm card = CardSizeMm();
    return {card.width + 2 * around, card.height + 2 * around};
}

std::vector<Area> SheetLayout::CardRectsMm() const {
    const SizeMm card = CardSizeMm();
    const SizeMm page = PageSizeMm();
    if (sheet == Sheet::Single) {
        return {{(page.width - card.width) / 2, (page.height - card.height) / 2, card.width, card.height}};
    }
    // Cards side by side; with a bleed, each keeps its own bleed around it.
    const double pitchX = card.width + 2 * bleedMm;
    const double pitchY = card.height + 2 * bleedMm;
    const double left = (page.width - kColumns * pitchX) / 2 + bleedMm;
    const double top = (page.height - kRows * pitchY) / 2 + bleedMm;
    std::vector<Area> rects;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            rects.push_back({left + column * pitchX, top + row * pitchY, card.width, card.height});
        }
    }
    return rects;
}

std::string SheetLayout::Check() const {
    if (!(bleedMm >= 0) || bleedMm > 20) return "the bleed must be 0 to 20 mm";
    if (sheet == Sheet::Single) return "";
    const SizeMm card = CardSizeMm();
    const SizeMm page = PageSizeMm();
    const double roomX = (page.width - kColumns * card.width) / (2 * kColumns);
    const double roomY = (page.height - kRows * card.height) / (2 * kRows);
    const double most = std::floor(std::min(roomX, roomY) * 10) / 10;
    if (bleedMm > most) {
        char text[120];
        std::snprintf(text, sizeof text, "ten cards with a bleed of %.1f mm do not fit on the sheet; at most %.1f mm",
                      bleedMm, most);
        return text;
    }
    return "";
}

void DrawCardSheet(Canvas& canvas, double dotsPerMm, const card::CardRecord& card, const SheetLayout& layout,
                   ImageView picture) {
    const auto toDevice = [&](const Area& mm) {
        return Area{mm.left * dotsPerMm, mm.top * dotsPerMm, mm.width * dotsPerMm, mm.height * dotsPerMm};
    };
    const std::vector<Area> cards = layout.CardRectsMm();
    const double b = layout.bleedMm;
    for (const Area& mm : cards) {
        canvas.Unclip();
        if (b > 0) {
            const Area bled{mm.left - b, mm.top - b, mm.width + 2 * b, mm.height + 2 * b};
            canvas.Fill(toDevice(bled), kBleedPaper);
            const double band = 0.03 * mm.height;
            canvas.Fill(toDevice({bled.left, mm.Bottom() - band, bled.width, band + b}), kBleedBand);
        }
        DrawCard(canvas, toDevice(mm), card, picture, mm.height);
    }
    canvas.Unclip();
    if (!layout.cropMarks || cards.empty()) return;
    // The trimmed edges of the cards, each marked outside the whole group so
    // no mark falls on a card.
    Area all = cards.front();
    std::vector<double> xs, ys;
    for (const Area& r : cards) {
        const double right = std::max(all.Right(), r.Right()), bottom = std::max(all.Bottom(), r.Bottom());
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.width = right - all.left;
        all.height = bottom - all.top;
        AddOnce(xs, r.left);
        AddOnce(xs, r.Right());
        AddOnce(ys, r.top);
        AddOnce(ys, r.Bottom());
    }
    const double out = b + kMarkGapMm;
    const auto line = [&](double x1, double y1, double x2, double y2) {
        canvas.DrawLine(x1 * dotsPerMm, y1 * dotsPerMm, x2 * dotsPerMm, y2 * dotsPerMm, kMarkWidthMm * dotsPerMm,
                        kMarkInk);
    };
    for (double x : xs) {
        line(x, all.top - out - kMarkLengthMm, x, all.top - out);
        line(x, all.Bottom() + out, x, all.Bottom() + out + kMarkLengthMm);
    }
    for (double y : ys) {
        line(all.left - out - kMarkLengthMm, y, all.left - out, y);
        line(all.Right() + out, y, all.Right() + out + kMarkLengthMm, y);
    }
}

Image PrintPictureImage(const card::CardRecord& card, const SheetLayout& layout, std::string& warning) {
    const SizeMm cardMm = layout.CardSizeMm();
    const double dots = kPictureDotsPerInch / kInchMm;
    const Area frame = PictureFrame({0, 0, cardMm.width * dots, cardMm.height * dots});
    // The frame's size in whole dots, rounded as the drawing rounds it.
    return CardPicture(card, static_cast<int>(std::lround(frame.width)), static_cast<int>(std::lround(frame.height)),
                       warning);
}

}  // namespace ovlet::exchange::drawing
