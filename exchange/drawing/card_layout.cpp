#include "exchange/drawing/card_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "files/utf8.h"
#include "picture/decode_outcome.h"
#include "picture/win_bmp.h"

namespace ovlet::exchange::drawing {
namespace {

using Text = std::u32string;

constexpr double kPointMm = 25.4 / 72.0;
constexpr char32_t kEllipsis = 0x2026;

constexpr Colour kPaper{0xFA, 0xFA, 0xF7};
constexpr Colour kInk{0x1B, 0x2A, 0x3F};
constexpr Colour kSoft{0x4A, 0x57, 0x6B};
constexpr Colour kAccent{0x1F, 0x6F, 0xD1};

std::string Utf8(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) files::AppendUtf8(out, c);
    return out;
}

double Width(Canvas& canvas, const Text& text) {
    return canvas.Advance(Utf8(text));
}

// White space as the text's lines count it: the separators of Unicode and
// the controls that break or space a line.
bool IsSpace(char32_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The text without space at either end, each run of space inside one space.
Text Simplified(std::string_view utf8) {
    Text out;
    bool space = false;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < utf8.size()) {
        files::NextUtf8(utf8, pos, c);
        if (IsSpace(c)) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out.push_back(' ');
        space = false;
        out.push_back(c);
    }
    return out;
}

// One value on the card: its lines, already cut to what can be shown.
struct Paragraph {
    std::vector<Text> lines;
    bool cut = false;    // the value goes on past its lines
    double size = 0;     // wanted text height, in card heights
    double minSize = 0;  // smallest text height, in card heights
    bool bold = false;
    Colour colour;
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
        Text text = Simplified(card::Utf8FromAnsi(line));
        if (!text.empty()) p.lines.push_back(std::move(text));
        pos = end + 1;
    }
    if (pos < ansi.size()) p.cut = true;
    return p;
}

// The text with an ellipsis at its end, shortened to fit the width: the
// longest beginning that fits with it (at least the ellipsis alone).
Text WithEllipsis(Canvas& canvas, const Text& text, double width) {
    if (Width(canvas, text + kEllipsis) <= width) return text + kEllipsis;
    std::size_t fits = 0;
    std::size_t fails = text.size();
    while (fails - fits > 1) {
        const std::size_t middle = fits + (fails - fits) / 2;
        if (Width(canvas, text.substr(0, middle) + kEllipsis) <= width) {
            fits = middle;
        } else {
            fails = middle;
        }
    }
    return text.substr(0, fits) + kEllipsis;
}

// Greedy word wrap; a word wider than the line is broken between characters.
std::vector<Text> Wrap(Canvas& canvas, const Text& text, double width) {
    std::vector<Text> out;
    Text current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == Text::npos) end = text.size();
        Text word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        Text candidate = current.empty() ? word : current + U' ' + word;
        if (Width(canvas, candidate) <= width) {
            current = std::move(candidate);
            continue;
        }
        if (!current.empty()) out.push_back(current);
        current.clear();
        while (word.size() > 1 && Width(canvas, word) > width) {
            std::size_t fit = 1;
            while (fit < word.size() && Width(canvas, word.substr(0, fit + 1)) <= width) ++fit;
            out.push_back(word.substr(0, fit));
            word.erase(0, fit);
        }
        current = std::move(word);
    }
    if (!current.empty()) out.push_back(std::move(current));
    return out;
}

struct PlacedLine {
    double pixels;
    bool bold;
    Colour colour;
    Text text;
    double baseline;
};

// Lays the paragraphs out in the box at `scale` of their sizes (never below
// their smallest). Returns false when they do not all fit; `placed` then
// holds what does, its last line ending in an ellipsis.
bool Layout(Canvas& canvas, const Area& box, const std::vector<Paragraph>& paragraphs, double unit, double scale,
            std::vector<PlacedLine>& placed) {
    placed.clear();
    double y = box.top;
    for (const Paragraph& p : paragraphs) {
        const double pixels = std::max(p.size * scale, p.minSize) * unit;
        canvas.SetFont(pixels, p.bold);
        std::vector<Text> wrapped;
        for (const Text& line : p.lines) {
            for (Text& part : Wrap(canvas, line, box.width)) wrapped.push_back(std::move(part));
        }
        bool more = p.cut;
        if (static_cast<int>(wrapped.size()) > p.maxLines) {
            // Smaller text comes before an ellipsis, unless the value is
            // longer than the card could show at any size.
            if (!p.cut && p.size * scale > p.minSize) return false;
            wrapped.resize(static_cast<std::size_t>(p.maxLines));
            more = true;
        }
        const double height = canvas.LineHeight();
        const double ascent = canvas.Ascent();
        for (std::size_t k = 0; k < wrapped.size(); ++k) {
            if (y + height > box.Bottom() + 0.5) {
                if (!placed.empty()) {
                    PlacedLine& last = placed.back();
                    canvas.SetFont(last.pixels, last.bold);
                    last.text = WithEllipsis(canvas, last.text, box.width);
                }
                return false;
            }
            Text text = wrapped[k];
            if (more && k + 1 == wrapped.size()) text = WithEllipsis(canvas, text, box.width);
            placed.push_back({pixels, p.bold, p.colour, std::move(text), y + ascent});
            y += height;
        }
    }
    return true;
}

// The largest common scale at which both blocks fit, down to the smallest sizes.
void FitAndDraw(Canvas& canvas, const std::vector<std::pair<Area, std::vector<Paragraph>>>& blocks, double unit) {
    std::vector<std::vector<PlacedLine>> placed(blocks.size());
    for (double scale = 1.0;; scale *= 0.9) {
        bool all = true;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            all = Layout(canvas, blocks[i].first, blocks[i].second, unit, scale, placed[i]) && all;
        }
        if (all || scale < 0.05) break;
    }
    for (const auto& lines : placed) {
        for (const PlacedLine& line : lines) {
            canvas.SetFont(line.pixels, line.bold);
            canvas.DrawText(blocks.front().first.left, line.baseline, Utf8(line.text), line.colour);
        }
    }
}

// Each destination pixel is the mean of up to kSamples x kSamples source
// pixels spread evenly over the area it covers: a box filter for a modest
// reduction, and a bounded cost (16 reads a pixel) however large the bitmap.
constexpr int kSamples = 4;

// The source positions a destination position samples, for every destination position.
std::vector<int> Samples(int source, int target) {
    const int count = std::min(kSamples, std::max(1, source / target));
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(target) * static_cast<std::size_t>(count) + 1);
    for (int t = 0; t < target; ++t) {
        for (int k = 0; k < count; ++k) {
            const double at = (t + (k + 0.5) / count) * source / target;
            out.push_back(std::min(source - 1, static_cast<int>(at)));
        }
    }
    out.push_back(count);  // the last entry says how many each position takes
    return out;
}

Image Reduce(const picture::CWinBmp& bitmap, int width, int height) {
    const auto [sourceWidth, sourceHeight] = bitmap.GetSize();
    Image out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const std::vector<int> columns = Samples(sourceWidth, width);
    const std::vector<int> rows = Samples(sourceHeight, height);
    const int perColumn = columns.back();
    const int perRow = rows.back();
    const bool indexed = bitmap.GetBitsPerPixel() == 8;
    const picture::RGBQuad* palette = bitmap.GetPalette();
    const std::uint8_t* const* lines = bitmap.GetLineTable();
    std::uint32_t* target = out.pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned b = 0, g = 0, r = 0;
            for (int j = 0; j < perRow; ++j) {
                const std::uint8_t* line = lines[rows[static_cast<std::size_t>(y * perRow + j)]];
                for (int i = 0; i < perColumn; ++i) {
                    const int sx = columns[static_cast<std::size_t>(x * perColumn + i)];
                    if (indexed) {
                        const picture::RGBQuad& q = palette[line[sx]];
                        b += q.blue;
                        g += q.green;
                        r += q.red;
                    } else {
                        b += line[4 * sx];
                        g += line[4 * sx + 1];
                        r += line[4 * sx + 2];
                    }
                }
            }
            const auto n = static_cast<unsigned>(perRow * perColumn);
            *target++ = 0xFF000000u | ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
    }
    return out;
}

// width x height scaled into the box, its shape kept (in whole pixels).
std::pair<int, int> FitInto(int width, int height, int boxWidth, int boxHeight) {
    const std::int64_t byHeight = std::int64_t{boxHeight} * width / height;
    if (byHeight <= boxWidth) return {static_cast<int>(byHeight), boxHeight};
    return {boxWidth, static_cast<int>(std::int64_t{boxWidth} * height / width)};
}

}  // namespace

Area PictureFrame(const Area& card) {
    const double unit = card.height / 100.0;
    const double margin = 7 * unit;
    return {card.left + margin, card.top + margin, card.width * 0.36, card.height - 2 * margin - 3 * unit};
}

void DrawCard(Canvas& canvas, const Area& card, const card::CardRecord& r, ImageView picture, double printedHeightMm) {
    canvas.ClipTo(card);
    canvas.Fill(card, kPaper);
    const double unit = card.height;  // sizes are fractions of the card's height
    const double band = 0.03 * unit;
    canvas.Fill({card.left, card.Bottom() - band, card.width, band}, kAccent);
    const double margin = 0.07 * unit;
    double textLeft = card.left + margin;
    if (!picture.Empty()) {
        const Area frame = PictureFrame(card);
        // The picture's shape kept, as large as the frame allows.
        double width = frame.width;
        double height = frame.width * picture.height / picture.width;
        if (const double byHeight = frame.height * picture.width / picture.height; byHeight <= frame.width) {
            width = byHeight;
            height = frame.height;
        }
        canvas.DrawImage(
            {frame.left + (frame.width - width) / 2, frame.top + (frame.height - height) / 2, width, height}, picture);
        textLeft = frame.Right() + margin;
    }
    const double textWidth = card.Right() - margin - textLeft;
    const double half = (card.height - 2 * margin - band) / 2;
    if (textWidth <= 0 || half <= 0) return;

    const double nameMin = kMinNamePoints * kPointMm / printedHeightMm;
    const double detailMin = kMinDetailPoints * kPointMm / printedHeightMm;
    // At the smallest size a character is at least a fifth of the text's
    // height wide: no line can show more characters than this.
    const auto charsFor = [&](double minSize, int lines) {
        const double perLine = textWidth / (0.2 * minSize * unit) + 1;
        return static_cast<std::size_t>(std::min(4000.0, perLine * lines));
    };
    auto add = [&](std::vector<Paragraph>& block, std::string_view ansi, double size, double minSize, bool bold,
                   Colour colour, int maxLines) {
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
    const std::string region = card::JoinNonEmpty({&r.StateProvince, &r.Country, &r.PostalCode}, " ");
    const std::string place = r.City.empty() ? region : r.City + ", " + region;
    add(company, place, 0.052, detailMin, false, kSoft, 2);
    add(company, r.WebSite, 0.052, detailMin, false, kAccent, 1);

    std::vector<Paragraph> contact;
    add(contact, card::JoinNonEmpty({&r.FirstName, &r.MiddleName, &r.LastName}, " "), 0.07, nameMin, true, kInk, 2);
    add(contact, card::JoinNonEmpty({&r.JobTitle, &r.Department}, ", "), 0.052, detailMin, false, kSoft, 2);
    for (const auto& [description, number] :
         {std::pair{&r.Phone1Description, &r.Phone1Number}, std::pair{&r.Phone2Description, &r.Phone2Number}}) {
        if (!number->empty()) add(contact, *description + ": " + *number, 0.052, detailMin, false, kInk, 1);
    }
    if (!r.Fax.empty()) add(contact, "Fax: " + r.Fax, 0.052, detailMin, false, kInk, 1);
    add(contact, r.EMail, 0.052, detailMin, false, kAccent, 1);

    const double gap = 0.01 * unit;
    FitAndDraw(canvas,
               {{Area{textLeft, card.top + margin, textWidth, half - gap}, company},
                {Area{textLeft, card.top + margin + half + gap, textWidth, half - gap}, contact}},
               unit);
}

Image CardPicture(const card::CardRecord& card, int boxWidth, int boxHeight, std::string& warning) {
    if (!card.HasPicture() || boxWidth < 1 || boxHeight < 1) return {};
    const auto size = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(card.PictureLength), card.PictureBytes.size()));
    picture::CWinBmp bitmap;
    if (const picture::Result<void> decoded =
            picture::DecodePicture("card picture", card.PictureBytes.data(), size, bitmap, 0);
        !decoded) {
        warning = decoded.Error().kind == picture::DecodeError::Kind::OutOfMemory ? "the picture is too large to decode"
                                                                                  : decoded.Error().Describe();
        return {};
    }
    const auto [width, height] = bitmap.GetSize();
    if (width < 1 || height < 1 || (bitmap.GetBitsPerPixel() != 8 && bitmap.GetBitsPerPixel() != 32)) {
        warning = "the picture has no pixels this drawing can use";
        return {};
    }
    std::pair<int, int> fitted{width, height};
    if (width > boxWidth || height > boxHeight) fitted = FitInto(width, height, boxWidth, boxHeight);
    return Reduce(bitmap, std::max(fitted.first, 1), std::max(fitted.second, 1));
}

}  // namespace ovlet::exchange::drawing
