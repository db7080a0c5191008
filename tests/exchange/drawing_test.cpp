// The drawings of a card: PDF sheets read back by poppler's tools, the
// rendered and thumbnail pictures, and hostile cards that must still draw
// with their text cut rather than shrunk away.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/drawing/card_drawing.h"
#include "exchange/drawing/card_sheet.h"
#include "vcard_test_support.h"

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
    return n;
}

std::filesystem::path WritePdf(const TempFolder& dir, const CardRecord& card, const drawing::SheetLayout& layout) {
    std::vector<char> pdf;
    std::string warning, error;
    EXPECT_TRUE(drawing::WriteCardPdf(card, layout, pdf, warning, error)) << error;
    EXPECT_EQ(warning, "");
    const auto path = dir / "card.pdf";
    WriteBytes(path, Bytes(pdf.begin(), pdf.end()));
    return path;
}

TEST(CardPdf, TitleIsThePersonOrTheCompany) {
    CardRecord firstOnly;
    firstOnly.FirstName = "Ann";
    firstOnly.Company = "Acme";
    CardRecord companyOnly;
    companyOnly.Company = "Acme";
    const std::pair<CardRecord, const char*> cases[] = {
        {SampleCard(),
         "Ren\xC3\xA9"
         "e Okafor"},
        {firstOnly, "Ann"},
        {companyOnly, "Acme"},
    };
    TempFolder dir;
    for (const auto& [card, title] : cases) {
        SCOPED_TRACE(title);
        const auto pdf = WritePdf(dir, card, {drawing::Sheet::Single, 0, false});
        const std::string info = RunShell("pdfinfo -enc UTF-8 '" + pdf.string() + "'").out;
        std::smatch shown;
        ASSERT_TRUE(std::regex_search(info, shown, std::regex("Title: +([^\n]*)\n"))) << info;
        EXPECT_EQ(shown[1].str(), title);
    }
}

TEST(CardPdf, SheetsHaveTheirPageSizeTenCardsAndEmbeddedFonts) {
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
    const CardRecord card = SampleCard();
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pdf = WritePdf(dir, card, c.layout);
        const std::string info = RunShell("pdfinfo '" + pdf.string() + "'").out;
        EXPECT_TRUE(std::regex_search(info, std::regex("\nPages: +1\n"))) << info;
        EXPECT_TRUE(std::regex_search(info, std::regex("\nPage size: +" + std::string(c.pageSize) + "\n"))) << info;
        // Real text: a text extractor finds every card's name and e-mail address.
        const std::string text = RunShell("pdftotext -enc UTF-8 '" + pdf.string() + "' -").out;
        EXPECT_EQ(Count(text,
                        "Ren\xC3\xA9"
                        "e A. Okafor"),
                  c.names)
            << text;
        EXPECT_EQ(Count(text, "renee.okafor@harbourlight.example"), c.names);
        // Every font is embedded.
        const std::string fonts = RunShell("pdffonts '" + pdf.string() + "'").out;
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

TEST(CardPdf, ABleedTooWideForTheSheetIsRefused) {
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
        EXPECT_FALSE(drawing::WriteCardPdf(SampleCard(), layout, pdf, warning, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

// The height of the smallest word of `text` on a single card page, in
// points, from pdftotext's word boxes; 0 when the word is not there.
double SmallestWordHeight(const std::filesystem::path& pdf, const std::vector<std::string>& words) {
    const std::string boxes = RunShell("pdftotext -bbox '" + pdf.string() + "' -").out;
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

TEST(CardDrawing, LongValuesAreCutNotShrunkBelowSevenPoints) {
    CardRecord card = SampleCard();
    std::string company;
    while (company.size() < 10'000'000) company += "Harbour ";
    card.Company = company;
    std::string street;
    for (int i = 0; i < 2'000'000; ++i) street += "Line\r\n";
    card.StreetAddress = street;
    card.FirstName = std::string(400, 'W');
    card.LastName = "Okafor";
    TempFolder dir;
    const auto pdf = WritePdf(dir, card, {drawing::Sheet::Single, 0, false});
    const std::string text = RunShell("pdftotext -enc UTF-8 '" + pdf.string() + "' -").out;
    EXPECT_NE(text.find("\xE2\x80\xA6"), std::string::npos) << "a cut value ends in an ellipsis";
    EXPECT_LT(text.size(), 4000u) << "only what fits is drawn";
    // pdftotext's word boxes are about 1.1 to 1.2 times the text size.
    EXPECT_GE(SmallestWordHeight(pdf, {"Harbour", "Okafor"}), 7.0 * 1.05);
    EXPECT_NE(text.find("renee.okafor@harbourlight.example"), std::string::npos) << "the rest of the card still shows";
}

TEST(CardDrawing, RenderAndThumbnailSizes) {
    const CardRecord card = SampleCard();
    CardRecord noPicture = card;
    noPicture.ReleasePicture();
    struct Case {
        const char* name;
        const CardRecord* card;
        bool thumbnail;
        int size;
        int width, height;  // 0: at most size
    };
    const Case cases[] = {
        {"render", &card, false, 1050, 1050, 679},
        {"render, small", &card, false, 200, 200, 129},
        {"thumbnail 256", &card, true, 256, 256, 166},
        {"thumbnail 64 shows the picture", &card, true, 64, 0, 0},
        {"thumbnail 64 without picture", &noPicture, true, 64, 64, 41},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string warning;
        const QImage image = c.thumbnail ? drawing::RenderThumbnail(*c.card, c.size, warning)
                                         : drawing::RenderCardImage(*c.card, c.size, warning);
        EXPECT_EQ(warning, "");
        if (c.width) {
            EXPECT_EQ(image.size(), QSize(c.width, c.height));
        } else {
            EXPECT_LE(image.width(), c.size);
            EXPECT_LE(image.height(), c.size);
            EXPECT_EQ(std::max(image.width(), image.height()), c.size);
        }
    }
}

TEST(CardDrawing, APictureThatDoesNotDecodeIsLeftOutWithAWarning) {
    CardRecord card = SampleCard();
    card.PictureBytes.resize(100);
    card.PictureLength = 100;
    std::string warning;
    const QImage image = drawing::RenderCardImage(card, 400, warning);
    EXPECT_FALSE(image.isNull());
    EXPECT_NE(warning, "");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int qtArgc = 3;
    char arg0[] = "drawing_tests", arg1[] = "-platform", arg2[] = "offscreen";
    char* qtArgv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return RUN_ALL_TESTS();
}
