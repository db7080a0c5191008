// The drawings of a card: PDF sheets read back by poppler's tools and
// pdfminer.six, and hostile cards that must still draw with their text cut
// rather than shrunk away. Every check runs on both PDF writers: Qt's (what
// Linux prints with) and our own PDF canvas (what Windows prints with), here
// with the Liberation fonts Linux has.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "exchange/drawing/canvas_qt.h"
#include "exchange/drawing/card_sheet.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

enum class Writer { Qt, Own };

std::string WriterName(const ::testing::TestParamInfo<Writer>& info) {
    return info.param == Writer::Qt ? "QtWriter" : "OwnWriter";
}

const drawing::PdfFonts& LiberationFonts() {
    static const drawing::PdfFonts fonts = [] {
        const std::string folder = "/usr/share/fonts/truetype/liberation2/";
        const test_support::Bytes regular = test_support::ReadFileBytes(folder + "LiberationSans-Regular.ttf");
        const test_support::Bytes bold = test_support::ReadFileBytes(folder + "LiberationSans-Bold.ttf");
        return drawing::PdfFonts{{regular.begin(), regular.end()}, {bold.begin(), bold.end()}};
    }();
    return fonts;
}

bool WriteWith(Writer writer, const card::CardRecord& card, const drawing::SheetLayout& layout, std::vector<char>& pdf,
               std::string& warning, std::string& error) {
    auto made = writer == Writer::Qt ? drawing::WriteCardPdf(card, layout, warning)
                                     : drawing::WriteCardPdfWithFonts(card, layout, LiberationFonts(), warning);
    if (!made) {
        error = made.Error().Describe();
        return false;
    }
    pdf = std::move(made).Value();
    return true;
}

class CardPdf : public ::testing::TestWithParam<Writer> {
public:
    std::filesystem::path WritePdf(const test_support::TempFolder& dir, const card::CardRecord& card,
                                   const drawing::SheetLayout& layout) {
        return WritePdfWith(GetParam(), dir, card, layout);
    }
    static std::filesystem::path WritePdfWith(Writer writer, const test_support::TempFolder& dir,
                                              const card::CardRecord& card, const drawing::SheetLayout& layout);
};

std::filesystem::path CardPdf::WritePdfWith(Writer writer, const test_support::TempFolder& dir,
                                            const card::CardRecord& card, const drawing::SheetLayout& layout) {
    std::vector<char> pdf;
    std::string warning, error;
    EXPECT_TRUE(WriteWith(writer, card, layout, pdf, warning, error)) << error;
    EXPECT_EQ(warning, "");
    const auto path = dir / "card.pdf";
    test_support::WriteFileBytes(path, test_support::Bytes(pdf.begin(), pdf.end()));
    return path;
}

TEST_P(CardPdf, TitleIsThePersonOrTheCompany) {
    card::CardRecord firstOnly;
    firstOnly.FirstName = "Ann";
    firstOnly.Company = "Acme";
    card::CardRecord companyOnly;
    companyOnly.Company = "Acme";
    const std::pair<card::CardRecord, const char*> cases[] = {
        {SampleCard(),
         "Ren\xC3\xA9"
         "e Okafor"},
        {firstOnly, "Ann"},
        {companyOnly, "Acme"},
    };
    test_support::TempFolder dir;
    for (const auto& [card, title] : cases) {
        SCOPED_TRACE(title);
        const auto pdf = WritePdf(dir, card, {drawing::Sheet::Single, 0, false});
        const std::string info = test_support::RunShell("pdfinfo -enc UTF-8 '" + pdf.string() + "'").out;
        std::smatch shown;
        ASSERT_TRUE(std::regex_search(info, shown, std::regex("Title: +([^\n]*)\n"))) << info;
        EXPECT_EQ(shown[1].str(), title);
    }
}

TEST_P(CardPdf, SheetsHaveTheirPageSizeTenCardsAndEmbeddedFonts) {
    struct Case {
        const char* name;
        drawing::SheetLayout layout;
        const char* pageSize;  // as pdfinfo prints it (rounded to points), a regular expression
        std::size_t names;     // occurrences of the name in the text
    };
    const Case cases[] = {
        {"a4", {drawing::Sheet::A4, 0, true}, "595 x 842 pts \\(A4\\)", 10},
        {"a4 with a bleed", {drawing::Sheet::A4, 2, true}, "595 x 842 pts \\(A4\\)", 10},
        {"letter", {drawing::Sheet::Letter, 0, true}, "612 x 792 pts \\(letter\\)", 10},
        {"single with a 3 mm bleed: 91 x 61 mm", {drawing::Sheet::Single, 3, false}, "258 x 173 pts", 1},
        {"single with crop marks", {drawing::Sheet::Single, 3, true}, "298 x 213 pts", 1},
    };
    const card::CardRecord card = SampleCard();
    test_support::TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pdf = WritePdf(dir, card, c.layout);
        const std::string info = test_support::RunShell("pdfinfo '" + pdf.string() + "'").out;
        EXPECT_TRUE(std::regex_search(info, std::regex("\nPages: +1\n"))) << info;
        EXPECT_TRUE(std::regex_search(info, std::regex("\nPage size: +" + std::string(c.pageSize) + "\n"))) << info;
        // Real text: a text extractor finds every card's name and e-mail address.
        const std::string text = test_support::RunShell("pdftotext -enc UTF-8 '" + pdf.string() + "' -").out;
        EXPECT_EQ(Count(text,
                        "Ren\xC3\xA9"
                        "e A. Okafor"),
                  c.names)
            << text;
        EXPECT_EQ(Count(text, "renee.okafor@harbourlight.example"), c.names);
        // Every font is embedded.
        const std::string fonts = test_support::RunShell("pdffonts '" + pdf.string() + "'").out;
        std::istringstream lines(fonts);
        std::string line;
        int fontLines = 0;
        while (std::getline(lines, line)) {
            if (line.rfind("name", 0) == 0 || line.rfind("----", 0) == 0 || line.empty()) continue;
            ++fontLines;
            EXPECT_NE(line.find(" yes "), std::string::npos) << line;
        }
        EXPECT_GT(fontLines, 0) << fonts;
    }
}

TEST_P(CardPdf, ABleedTooWideForTheSheetIsRefused) {
    std::vector<char> pdf;
    std::string warning, error;
    const std::pair<drawing::SheetLayout, const char*> cases[] = {
        {{drawing::Sheet::A4, 3, true}, "at most 2.2 mm"},
        {{drawing::Sheet::Letter, 3, true}, "at most 2.5 mm"},
        {{drawing::Sheet::Single, 25, true}, "0 to 20 mm"},
        {{drawing::Sheet::Single, -1, true}, "0 to 20 mm"},
    };
    for (const auto& [layout, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_FALSE(WriteWith(GetParam(), SampleCard(), layout, pdf, warning, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

// What pdfminer.six reads from a PDF: it follows each font's ToUnicode map
// and never guesses a space from where words stand.
Values ReadWithPdfminer(const std::filesystem::path& pdf) {
    return RunChecker("pdf_read.py", pdf);
}

std::string OneValue(const Values& values, const std::string& key) {
    std::string found = "(none)";
    int count = 0;
    for (const auto& [k, v] : values) {
        if (k == key && ++count == 1) found = v;
    }
    return count > 1 ? "(" + std::to_string(count) + " values)" : found;
}

std::vector<double> Numbers(const std::string& text) {
    std::vector<double> out;
    std::istringstream in(text);
    for (double v; in >> v;) out.push_back(v);
    return out;
}

TEST_P(CardPdf, TextExtractsWithSpacesWhereTheCardHasThem) {
    const card::CardRecord card = SampleCard();
    test_support::TempFolder dir;
    const std::pair<drawing::SheetLayout, std::size_t> cases[] = {
        {{drawing::Sheet::A4, 0, true}, 10},
        {{drawing::Sheet::Single, 3, true}, 1},
    };
    for (const auto& [layout, cards] : cases) {
        SCOPED_TRACE(cards);
        const std::string text = OneValue(ReadWithPdfminer(WritePdf(dir, card, layout)), "text");
        EXPECT_EQ(Count(text, "\t"), 0u) << text.substr(0, 200);
        EXPECT_EQ(Count(text,
                        "Ren\xC3\xA9"
                        "e A. Okafor"),
                  cards);
        EXPECT_EQ(Count(text, "Lead Engineer, Marine Sensors"), cards);
        EXPECT_EQ(Count(text, "+44 23 9200 0100"), cards);
    }
}

// Points per millimetre, and a rectangle in PDF points (x0 y0 x1 y1, y up)
// of one given in millimetres from the top left of a page `height` points high.
constexpr double kPt = 72.0 / 25.4;
std::vector<double> PdfRect(double left, double top, double width, double height, double pageHeight) {
    return {left * kPt, pageHeight - (top + height) * kPt, (left + width) * kPt, pageHeight - top * kPt};
}

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 0.01) << i;
}

TEST_P(CardPdf, ASingleCardHasItsTrimAndBleedBoxes) {
    struct Case {
        const char* name;
        double bleed;
        bool marks;
    };
    const Case cases[] = {
        {"bleed and crop marks", 3, true},
        {"bleed only", 2, false},
        {"crop marks only", 0, true},
        {"neither", 0, false},
    };
    test_support::TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Values got = ReadWithPdfminer(WritePdf(dir, SampleCard(), {drawing::Sheet::Single, c.bleed, c.marks}));
        const std::vector<double> media = Numbers(OneValue(got, "box.MediaBox"));
        ASSERT_EQ(media.size(), 4u);
        // The card, 85 x 55 mm, inside its bleed and the room of the marks
        // (2 mm away, 5 mm long).
        const double edge = c.bleed + (c.marks ? 7.0 : 0.0);
        EXPECT_NEAR(media[2], (85 + 2 * edge) * kPt, 0.5);
        ExpectNear(Numbers(OneValue(got, "box.TrimBox")), PdfRect(edge, edge, 85, 55, media[3]));
        ExpectNear(Numbers(OneValue(got, "box.BleedBox")),
                   PdfRect(edge - c.bleed, edge - c.bleed, 85 + 2 * c.bleed, 55 + 2 * c.bleed, media[3]));
    }
    // A sheet of ten is trimmed card by card: its page has no TrimBox.
    EXPECT_EQ(OneValue(ReadWithPdfminer(WritePdf(dir, SampleCard(), {drawing::Sheet::A4, 2, true})), "box.TrimBox"),
              "(none)");
}

TEST_P(CardPdf, CropMarksMeetTheTrimmedEdgesOutsideTheBleed) {
    struct Case {
        const char* name;
        drawing::SheetLayout layout;
    };
    const Case cases[] = {
        {"single card, 3 mm bleed", {drawing::Sheet::Single, 3, true}},
        {"A4 sheet, 2 mm bleed", {drawing::Sheet::A4, 2, true}},
        {"Letter sheet, 1.5 mm bleed", {drawing::Sheet::Letter, 1.5, true}},
        {"A4 sheet, no bleed", {drawing::Sheet::A4, 0, true}},
    };
    test_support::TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double b = c.layout.bleedMm;
        const Values got = ReadWithPdfminer(WritePdf(dir, SampleCard(), c.layout));
        const double pageHeight = Numbers(OneValue(got, "box.MediaBox")).at(3);
        // The cards: the same size, centred on the page, each bleed touching
        // the next card's and none overlapping.
        const std::vector<drawing::Area> cards = c.layout.CardRectsMm();
        const drawing::SizeMm page = c.layout.PageSizeMm();
        drawing::Area group = cards.front();
        for (const drawing::Area& r : cards) {
            const double right = std::max(group.Right(), r.Right()), bottom = std::max(group.Bottom(), r.Bottom());
            group.left = std::min(group.left, r.left);
            group.top = std::min(group.top, r.top);
            group.width = right - group.left;
            group.height = bottom - group.top;
        }
        EXPECT_NEAR(group.left - b, page.width - group.Right() - b, 0.01);
        EXPECT_NEAR(group.top - b, page.height - group.Bottom() - b, 0.01);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            for (std::size_t j = i + 1; j < cards.size(); ++j) {
                const drawing::Area& p = cards[i];
                const drawing::Area& q = cards[j];
                const double overlapX = std::min(p.Right(), q.Right()) + 2 * b - std::max(p.left, q.left);
                const double overlapY = std::min(p.Bottom(), q.Bottom()) + 2 * b - std::max(p.top, q.top);
                EXPECT_TRUE(overlapX <= 1e-6 || overlapY <= 1e-6) << i << " and " << j << " overlap";
            }
        }
        // The marks: a 5 mm line on the line of every trimmed edge, 2 mm
        // beyond the bleed of the whole group, at both ends.
        std::vector<double> xs, ys;
        for (const drawing::Area& r : cards) {
            for (double x : {r.left, r.Right()}) {
                if (std::none_of(xs.begin(), xs.end(), [&](double v) { return std::abs(v - x) < 1e-6; }))
                    xs.push_back(x);
            }
            for (double y : {r.top, r.Bottom()}) {
                if (std::none_of(ys.begin(), ys.end(), [&](double v) { return std::abs(v - y) < 1e-6; }))
                    ys.push_back(y);
            }
        }
        std::vector<std::vector<double>> expected;
        const double out = b + 2;
        for (double x : xs) {
            expected.push_back(PdfRect(x, group.top - out - 5, 0, 5, pageHeight));
            expected.push_back(PdfRect(x, group.Bottom() + out, 0, 5, pageHeight));
        }
        for (double y : ys) {
            expected.push_back(PdfRect(group.left - out - 5, y, 5, 0, pageHeight));
            expected.push_back(PdfRect(group.Right() + out, y, 5, 0, pageHeight));
        }
        std::vector<std::vector<double>> drawn;
        for (const auto& [key, value] : got) {
            if (key != "line") continue;
            std::vector<double> l = Numbers(value);
            // As a box: lower left, upper right.
            drawn.push_back({std::min(l[0], l[2]), std::min(l[1], l[3]), std::max(l[0], l[2]), std::max(l[1], l[3])});
        }
        EXPECT_EQ(drawn.size(), expected.size());
        for (const auto& want : expected) {
            const bool found = std::any_of(drawn.begin(), drawn.end(), [&](const std::vector<double>& l) {
                for (std::size_t i = 0; i < 4; ++i) {
                    if (std::abs(l[i] - want[i]) > 0.02) return false;
                }
                return true;
            });
            EXPECT_TRUE(found) << "no mark at " << want[0] << " " << want[1] << " " << want[2] << " " << want[3];
        }
    }
}

// The height of the smallest word of `text` on a single card page, in
// points, from pdftotext's word boxes; 0 when the word is not there.
double SmallestWordHeight(const std::filesystem::path& pdf, const std::vector<std::string>& words) {
    const std::string boxes = test_support::RunShell("pdftotext -bbox '" + pdf.string() + "' -").out;
    const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    double smallest = 0;
    for (std::sregex_iterator it(boxes.begin(), boxes.end(), word), end; it != end; ++it) {
        if (std::find(words.begin(), words.end(), (*it)[5].str()) == words.end()) continue;
        const double height = std::stod((*it)[4].str()) - std::stod((*it)[2].str());
        if (smallest == 0 || height < smallest) smallest = height;
    }
    return smallest;
}

TEST_P(CardPdf, LongValuesAreCutNotShrunkBelowSevenPoints) {
    card::CardRecord card = OverlongCard(10'000'000, 2'000'000);
    card.LastName = "Okafor";
    test_support::TempFolder dir;
    const auto pdf = WritePdf(dir, card, {drawing::Sheet::Single, 0, false});
    const std::string text = test_support::RunShell("pdftotext -enc UTF-8 '" + pdf.string() + "' -").out;
    EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << "a cut value ends in an ellipsis";
    EXPECT_LT(text.size(), 4000u) << "only what fits is drawn";
    // pdftotext's word boxes are about 1.1 to 1.2 times the text size.
    EXPECT_GE(SmallestWordHeight(pdf, {"Harbour", "Okafor"}), 7.0 * 1.05);
    EXPECT_NE(text.find("renee.okafor@harbourlight.example"), std::string::npos) << "the rest of the card still shows";
}

// Letters of Windows-1252 beyond ASCII, as a card holds them, come out of
// the PDF as the same letters, with the spaces between them.
TEST_P(CardPdf, AccentedTextExtractsAsWritten) {
    card::CardRecord card = SampleCard();
    card.FirstName = "Zo\xEB";
    card.LastName = "M\xFCller";
    card.Company =
        "Caf\xE9 \x93"
        "Cr\xE8"
        "me\x94 \x80 5";
    card.JobTitle = "Ma\xEEtre d\x92h\xF4tel";
    const char* const wanted[] = {
        "Zo\xC3\xAB A. M\xC3\xBCller",
        "Caf\xC3\xA9 \xE2\x80\x9C"
        "Cr\xC3\xA8"
        "me\xE2\x80\x9D \xE2\x82\xAC 5",
        "Ma\xC3\xAEtre d\xE2\x80\x99h\xC3\xB4tel",
    };
    test_support::TempFolder dir;
    const auto pdf = WritePdf(dir, card, {drawing::Sheet::Single, 0, false});
    const std::string poppler = test_support::RunShell("pdftotext -enc UTF-8 '" + pdf.string() + "' -").out;
    const std::string miner = OneValue(ReadWithPdfminer(pdf), "text");
    for (const char* text : wanted) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Count(poppler, text), 1u) << poppler;
        EXPECT_EQ(Count(miner, text), 1u) << miner;
    }
}

// The colours where the card puts them: paper and band on the card and in
// its bleed, white where the crop marks stand, the picture in its frame.
TEST_P(CardPdf, ColoursAreWhereTheCardPutsThem) {
    test_support::TempFolder dir;
    const auto pdf = WritePdf(dir, SampleCard(), {drawing::Sheet::Single, 3, true});
    const std::string ppm =
        test_support::RunShell("pdftoppm -r 72 '" + pdf.string() + "' | convert ppm:- -depth 8 rgb:-").out;
    // 298 x 213 points at 72 dpi: one pixel a point. The card is at 10 mm
    // (28.3 pt) from each edge, its bleed at 7 mm (19.8 pt).
    const int width = 298;
    ASSERT_EQ(ppm.size(), static_cast<std::size_t>(width * 213 * 3));
    const auto at = [&](int x, int y) {
        const std::size_t i = static_cast<std::size_t>(y * width + x) * 3;
        return std::tuple<int, int, int>{static_cast<unsigned char>(ppm[i]), static_cast<unsigned char>(ppm[i + 1]),
                                         static_cast<unsigned char>(ppm[i + 2])};
    };
    const auto near = [](std::tuple<int, int, int> got, std::tuple<int, int, int> want) {
        return std::abs(std::get<0>(got) - std::get<0>(want)) <= 6 &&
               std::abs(std::get<1>(got) - std::get<1>(want)) <= 6 &&
               std::abs(std::get<2>(got) - std::get<2>(want)) <= 6;
    };
    const std::tuple<int, int, int> paper{0xFA, 0xFA, 0xF7}, band{0x1F, 0x6F, 0xD1}, white{255, 255, 255};
    struct Spot {
        const char* name;
        int x, y;
        std::tuple<int, int, int> colour;
    };
    const Spot spots[] = {
        {"paper, top right of the card", 255, 40, paper}, {"paper in the bleed, right", 274, 100, paper},
        {"paper in the bleed, top", 150, 23, paper},      {"band along the bottom", 200, 183, band},
        {"band in the bleed below", 200, 190, band},      {"outside the bleed", 10, 100, white},
        {"outside the bleed, below", 150, 205, white},
    };
    for (const Spot& s : spots) {
        const auto got = at(s.x, s.y);
        EXPECT_TRUE(near(got, s.colour)) << s.name << ": " << std::get<0>(got) << " " << std::get<1>(got) << " "
                                         << std::get<2>(got);
    }
    // The picture (the sample's photograph) is no flat paper colour.
    int unlike = 0;
    for (int x = 40; x < 120; x += 4) unlike += near(at(x, 100), paper) ? 0 : 1;
    EXPECT_GT(unlike, 10);
}

// Our own writer embeds subsets of its fonts, as composite fonts whose
// characters map back to Unicode.
TEST(OwnPdfWriter, EmbedsSubsetsOfItsFontsWithAUnicodeMap) {
    test_support::TempFolder dir;
    const auto pdf = CardPdf::WritePdfWith(Writer::Own, dir, SampleCard(), {drawing::Sheet::A4, 0, true});
    const std::string fonts = test_support::RunShell("pdffonts '" + pdf.string() + "'").out;
    const std::regex line(R"([A-Z]{6}\+(LiberationSans(-Bold)?) +CID TrueType +Identity-H +yes yes yes )");
    std::set<std::string> faces;
    for (std::sregex_iterator it(fonts.begin(), fonts.end(), line), end; it != end; ++it) faces.insert((*it)[1]);
    EXPECT_EQ(faces, (std::set<std::string>{"LiberationSans", "LiberationSans-Bold"})) << fonts;
    // Ten cards drawn with one stored picture.
    std::istringstream images(test_support::RunShell("pdfimages -list '" + pdf.string() + "'").out);
    std::set<std::string> objects;
    int drawn = 0;
    for (std::string row; std::getline(images, row);) {
        std::istringstream fields(row);
        std::vector<std::string> words{std::istream_iterator<std::string>(fields), {}};
        if (words.size() < 12 || words[2] != "image") continue;
        ++drawn;
        objects.insert(words[10]);
    }
    EXPECT_EQ(drawn, 10);
    EXPECT_EQ(objects.size(), 1u);
}

TEST(OwnPdfWriter, AFontThatCannotBeReadIsReported) {
    drawing::PdfFonts fonts = LiberationFonts();
    fonts.bold.resize(100);
    std::string warning;
    const auto pdf = drawing::WriteCardPdfWithFonts(SampleCard(), {}, fonts, warning);
    ASSERT_FALSE(pdf);
    EXPECT_EQ(pdf.Error().kind, drawing::DrawingError::Kind::FontUnusable);
    EXPECT_NE(pdf.Error().Describe().find("bold font"), std::string::npos) << pdf.Error().Describe();
}

// A device whose painter keeps the images it is given, to draw them later,
// as a print preview's keeps them for the page it shows.
class KeepingDevice : public QPaintDevice {
public:
    // An engine that does every transformation itself, as a recording one:
    // the painter hands it each image as it was given.
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
            kept.push_back(image);
        }
        Type type() const override { return User; }
        std::vector<QImage> kept;
    };

    QPaintEngine* paintEngine() const override { return &engine; }
    std::vector<QImage>& Kept() { return engine.kept; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDepth:
                return 32;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            default:
                return 1000;
        }
    }

private:
    mutable Engine engine;
};

// A painter that keeps the pictures (a print preview's does) draws them
// later, when the pixels the page was drawn from may be gone: what it keeps
// must be the pixels as they were given, not whatever their memory holds by
// then. At their own size and scaled.
TEST(PainterCanvas, APainterThatKeepsThePictureKeepsItsPixels) {
    constexpr int kWidth = 40, kHeight = 30;
    constexpr std::uint32_t kGiven = 0xFF2060A0u, kLater = 0xFFFF00FFu;
    for (double scale : {1.0, 2.5}) {
        SCOPED_TRACE(scale);
        std::vector<std::uint32_t> pixels(kWidth * kHeight, kGiven);
        KeepingDevice device;
        {
            QPainter painter(&device);
            drawing::PainterCanvas canvas(painter);
            canvas.DrawImage({0, 0, kWidth * scale, kHeight * scale}, {kWidth, kHeight, pixels.data()});
        }
        std::fill(pixels.begin(), pixels.end(), kLater);
        ASSERT_EQ(device.Kept().size(), 1u);
        const QImage& kept = device.Kept().front();
        ASSERT_EQ(kept.size(), QSize(kWidth, kHeight));
        int differing = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) differing += kept.pixel(x, y) != kGiven;
        }
        EXPECT_EQ(differing, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, CardPdf, ::testing::Values(Writer::Qt, Writer::Own), WriterName);

}  // namespace
}  // namespace ovlet::exchange

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int qtArgc = 3;
    char arg0[] = "drawing_tests", arg1[] = "-platform", arg2[] = "offscreen";
    char* qtArgv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return RUN_ALL_TESTS();
}
