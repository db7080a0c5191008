// The card's layout on a canvas that writes down what it is asked to draw,
// with text of a known width: every line stays on the card, long values end
// in an ellipsis instead of shrinking below the smallest size, the picture
// keeps its shape inside its frame. No system canvas: runs everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "exchange/drawing/card_layout.h"
#include "exchange/drawing/sheet_layout.h"
#include "files/utf8.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

class RecordingCanvas : public drawing::Canvas {
public:
    struct Line {
        double left;
        double baseline;
        std::string text;
        double pixels;
        bool bold;
    };
    std::vector<Line> lines;
    std::vector<drawing::Area> images;
    std::vector<drawing::Area> clips;    // an empty area where the clip is lifted
    std::vector<drawing::Area> strokes;  // lines: start, and the way to the end
    std::vector<drawing::Area> fills;
    double pixels = 0;
    bool bold = false;

    void Fill(const drawing::Area& area, drawing::Colour) override { fills.push_back(area); }
    void DrawImage(const drawing::Area& area, drawing::ImageView) override { images.push_back(area); }
    void ClipTo(const drawing::Area& area) override { clips.push_back(area); }
    void Unclip() override { clips.push_back({}); }
    void DrawLine(double x1, double y1, double x2, double y2, double, drawing::Colour) override {
        strokes.push_back({x1, y1, x2 - x1, y2 - y1});
    }
    void SetFont(double em, bool heavy) override {
        pixels = std::max(1.0, std::round(em));
        bold = heavy;
    }
    // Every character is 0.55 em wide (0.6 in bold).
    double Advance(const std::string& text) override {
        std::size_t count = 0;
        std::size_t pos = 0;
        char32_t c = 0;
        while (pos < text.size()) {
            files::NextUtf8(text, pos, c);
            ++count;
        }
        return static_cast<double>(count) * pixels * (bold ? 0.6 : 0.55);
    }
    double Ascent() override { return 0.8 * pixels; }
    double LineHeight() override { return 1.15 * pixels; }
    void DrawText(double left, double baseline, const std::string& text, drawing::Colour) override {
        lines.push_back({left, baseline, text, pixels, bold});
    }

    std::string AllText() const {
        std::string all;
        for (const Line& line : lines) all += line.text + "\n";
        return all;
    }
};

constexpr char kEllipsis[] = "\xE2\x80\xA6";

// A 2:1 picture, as CardPicture gives one.
drawing::Image WidePicture() {
    drawing::Image image;
    image.width = 40;
    image.height = 20;
    image.pixels.assign(800, 0xFF336699u);
    return image;
}

TEST(CardLayout, EveryLineStaysOnTheCardAndLongValuesEndInAnEllipsis) {
    const card::CardRecord sample = SampleCard();
    const card::CardRecord hostile = OverlongCard(2'000'000, 200'000);
    card::CardRecord spaced = sample;
    spaced.JobTitle = "  Lead \t\t Engineer \xA0 ";

    const drawing::Image picture = WidePicture();
    struct Case {
        const char* name;
        const card::CardRecord* card;
        bool withPicture;
        std::vector<std::string> shown;  // each in some line
        bool cut;                        // some line ends in an ellipsis
    };
    const Case cases[] = {
        {"the sample", &sample, true, {"Okafor", "renee.okafor@harbourlight.example", "Portsmouth"}, false},
        {"without its picture", &sample, false, {"Okafor", "Office: +44 23 9200 0100"}, false},
        {"values longer than a card", &hostile, true, {"renee.okafor@harbourlight.example"}, true},
        {"space inside a value is one space", &spaced, false, {"Lead Engineer"}, false},
    };
    const drawing::Area card{10, 20, 850, 550};
    const double margin = 0.07 * card.height;
    // The smallest text: 7 points for names, on a card 55 mm high.
    const double smallestName = drawing::kMinNamePoints * 25.4 / 72 / drawing::kCardHeightMm * card.height;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas;
        const auto started = std::chrono::steady_clock::now();
        drawing::DrawCard(canvas, card, *c.card, c.withPicture ? picture.View() : drawing::ImageView{});
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "bounded by the card";
        ASSERT_FALSE(canvas.clips.empty());
        EXPECT_DOUBLE_EQ(canvas.clips.front().width, card.width) << "nothing is drawn off the card";
        ASSERT_FALSE(canvas.lines.empty());
        const double textLeft = c.withPicture ? drawing::PictureFrame(card).Right() + margin : card.left + margin;
        bool cut = false;
        for (const RecordingCanvas::Line& line : canvas.lines) {
            SCOPED_TRACE(line.text);
            EXPECT_DOUBLE_EQ(line.left, textLeft);
            canvas.SetFont(line.pixels, line.bold);
            EXPECT_LE(line.left + canvas.Advance(line.text), card.Right() - margin + 1e-6);
            EXPECT_GT(line.baseline, card.top + margin);
            EXPECT_LT(line.baseline, card.Bottom() - margin);
            if (line.bold) {
                EXPECT_GE(line.pixels, std::round(smallestName) - 1e-9);
            }
            cut = cut || line.text.ends_with(kEllipsis);
        }
        EXPECT_EQ(cut, c.cut) << canvas.AllText();
        EXPECT_LT(canvas.AllText().size(), 3000u) << "only what fits is drawn";
        for (const std::string& text : c.shown) {
            EXPECT_NE(canvas.AllText().find(text), std::string::npos) << text << " in\n" << canvas.AllText();
        }
        for (const char* space : {"  ", "\t", "\xC2\xA0"}) EXPECT_EQ(canvas.AllText().find(space), std::string::npos);
        // Lines go down the card, one below the other.
        for (std::size_t i = 1; i < canvas.lines.size(); ++i) {
            EXPECT_GT(canvas.lines[i].baseline, canvas.lines[i - 1].baseline);
        }
    }
}

TEST(CardLayout, ThePictureKeepsItsShapeInsideItsFrame) {
    const drawing::Image wide = WidePicture();
    drawing::Image tall;
    tall.width = 10;
    tall.height = 30;
    tall.pixels.assign(300, 0xFF000000u);
    for (const drawing::Image* picture : {&wide, static_cast<const drawing::Image*>(&tall)}) {
        SCOPED_TRACE(picture->width);
        RecordingCanvas canvas;
        const drawing::Area card{0, 0, 1050, 679};
        drawing::DrawCard(canvas, card, SampleCard(), picture->View());
        ASSERT_EQ(canvas.images.size(), 1u);
        const drawing::Area drawn = canvas.images.front();
        const drawing::Area frame = drawing::PictureFrame(card);
        EXPECT_GE(drawn.left, frame.left - 1e-9);
        EXPECT_GE(drawn.top, frame.top - 1e-9);
        EXPECT_LE(drawn.Right(), frame.Right() + 1e-9);
        EXPECT_LE(drawn.Bottom(), frame.Bottom() + 1e-9);
        EXPECT_NEAR(drawn.width / drawn.height, static_cast<double>(picture->width) / picture->height, 1e-9);
        // As large as the frame allows: it touches two opposite sides.
        EXPECT_TRUE(std::abs(drawn.width - frame.width) < 1e-9 || std::abs(drawn.height - frame.height) < 1e-9);
        // Centred.
        EXPECT_NEAR(drawn.left - frame.left, frame.Right() - drawn.Right(), 1e-9);
        EXPECT_NEAR(drawn.top - frame.top, frame.Bottom() - drawn.Bottom(), 1e-9);
    }
}

TEST(CardLayout, ACardTooNarrowForTextDrawsNoText) {
    RecordingCanvas canvas;
    drawing::DrawCard(canvas, {0, 0, 30, 100}, SampleCard(), WidePicture().View());
    EXPECT_TRUE(canvas.lines.empty());
}

// The printed sheet on the recording canvas at 10 dots a millimetre: each
// card clipped to its own trimmed edge (and nothing else clipped to it), its
// bleed filled around it, and every crop mark 5 mm long, on the page and
// clear of every card and its bleed.
TEST(CardSheet, CardsBleedAndCropMarksAreEachInTheirPlace) {
    struct Case {
        const char* name;
        drawing::SheetLayout layout;
        std::size_t cards;
        std::size_t marks;  // two for every distinct trimmed edge line
        // Whether the marks above and below the cards are on the paper. Ten
        // cards with a bleed leave less room above and below them than the
        // marks need (2 mm + 5 mm past the bleed): those marks lie off the
        // page, as they always have (the sheet's check only makes sure
        // the cards and their bleeds fit).
        bool marksAboveOnThePage;
    };
    const Case cases[] = {
        {"A4", {drawing::Sheet::A4, 0, true}, 10, 2 * (3 + 6), true},
        {"A4, 2 mm bleed", {drawing::Sheet::A4, 2, true}, 10, 2 * (4 + 10), false},
        {"Letter, 1.5 mm bleed", {drawing::Sheet::Letter, 1.5, true}, 10, 2 * (4 + 10), false},
        {"single, 3 mm bleed, marks", {drawing::Sheet::Single, 3, true}, 1, 2 * (2 + 2), true},
        {"single, 3 mm bleed, no marks", {drawing::Sheet::Single, 3, false}, 1, 0, true},
    };
    constexpr double kDots = 10;
    const auto scaled = [&](const drawing::Area& mm, double grow) {
        return drawing::Area{(mm.left - grow) * kDots, (mm.top - grow) * kDots, (mm.width + 2 * grow) * kDots,
                             (mm.height + 2 * grow) * kDots};
    };
    const auto same = [](const drawing::Area& a, const drawing::Area& b) {
        return std::abs(a.left - b.left) < 1e-6 && std::abs(a.top - b.top) < 1e-6 &&
               std::abs(a.width - b.width) < 1e-6 && std::abs(a.height - b.height) < 1e-6;
    };
    const drawing::Image picture = WidePicture();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas;
        drawing::DrawCardSheet(canvas, kDots, SampleCard(), c.layout, picture.View());
        const std::vector<drawing::Area> cards = c.layout.CardRectsMm();
        ASSERT_EQ(cards.size(), c.cards);
        // Lifted, card, lifted, card, ..., lifted: a card's bleed and the
        // marks are never cut by the card before.
        ASSERT_EQ(canvas.clips.size(), 2 * c.cards + 1);
        const double b = c.layout.bleedMm;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            EXPECT_EQ(canvas.clips[2 * i].width, 0) << i;
            EXPECT_TRUE(same(canvas.clips[2 * i + 1], scaled(cards[i], 0))) << i;
            if (b > 0) {
                const drawing::Area bled = scaled(cards[i], b);
                EXPECT_TRUE(std::any_of(canvas.fills.begin(), canvas.fills.end(),
                                        [&](const drawing::Area& f) { return same(f, bled); }))
                    << "no bleed around card " << i;
            }
        }
        EXPECT_EQ(canvas.clips.back().width, 0);
        EXPECT_EQ(canvas.images.size(), c.cards);

        ASSERT_EQ(canvas.strokes.size(), c.marks);
        const drawing::SizeMm page = c.layout.PageSizeMm();
        for (const drawing::Area& s : canvas.strokes) {
            const double x1 = s.left, y1 = s.top, x2 = s.left + s.width, y2 = s.top + s.height;
            EXPECT_NEAR(std::hypot(s.width, s.height), 5 * kDots, 1e-6);
            EXPECT_TRUE(s.width == 0 || s.height == 0) << "a mark is not straight";
            for (double x : {x1, x2}) EXPECT_TRUE(x >= 0 && x <= page.width * kDots) << x;
            if (c.marksAboveOnThePage || s.height == 0) {
                for (double y : {y1, y2}) EXPECT_TRUE(y >= 0 && y <= page.height * kDots) << y;
            }
            // 2 mm clear of every card's bleed (the mark's own width aside).
            for (const drawing::Area& card : cards) {
                const drawing::Area keep = scaled(card, b + 1.9);
                const bool apart = std::max(x1, x2) < keep.left || std::min(x1, x2) > keep.Right() ||
                                   std::max(y1, y2) < keep.top || std::min(y1, y2) > keep.Bottom();
                EXPECT_TRUE(apart) << "a mark at " << x1 << "," << y1 << " touches a card";
            }
        }
    }
}

}  // namespace
}  // namespace ovlet::exchange
