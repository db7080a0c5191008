// The window menu's entries for address books and phones.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include "exchange/vcard.h"
#include "picture/any_pic_decoder.h"
#include "picture/win_bmp.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace ovlet::window {

namespace vcard = exchange::vcard;

namespace {

QStringList MenuTexts(CardWindowOnQt& window) {
    QStringList texts;
    for (QAction* action : window.WindowMenu()->actions()) {
        if (!action->isSeparator()) texts << action->text();
    }
    return texts;
}

TEST_F(WindowTest, WindowMenusOfBothForms) {
    auto maker = Open();
    EXPECT_EQ(MenuTexts(*maker),
              (QStringList{QStringLiteral("&About Ovlet Maker"), QStringLiteral("Export as vCard\u2026"),
                           QStringLiteral("Print\u2026"), QStringLiteral("Save card picture\u2026")}));
    auto viewer = Open<viewer::CViewerDialog>();
    EXPECT_EQ(MenuTexts(*viewer),
              (QStringList{QStringLiteral("&About Ovlet Maker"), QStringLiteral("Export as vCard\u2026"),
                           QStringLiteral("Print\u2026"), QStringLiteral("Save card picture\u2026"),
                           QStringLiteral("Show QR code")}));
}

TEST_F(WindowTest, ExportedVCardReadsBackToTheSameFields) {
    ScratchDir dir;
    auto window = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    ui.fileAnswers = {QString::fromStdString(dir / "out.vcf")};
    window->ExportVCard();
    ASSERT_EQ(ui.Of("file").size(), 1u);
    EXPECT_EQ(ui.Of("file")[0].file.initialName, QStringLiteral("Ren\u00e9e Okafor.vcf"));
    const auto bytes = FileBytes(dir / "out.vcf");
    const vcard::ReadResult read =
        vcard::DecodeVCards(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    ASSERT_EQ(read.cards.size(), 1u);
    const card::CardRecord& back = read.cards[0].record;
    // The card as its file holds it: the viewer has no edit for the street
    // address, yet it goes out as read.
    card::CardRecord file;
    card::RecordOnlySide side(file);
    EXPECT_TRUE(card::ReadCardFile(SamplesDir() + "/sample.ovt", file, side));
    ASSERT_FALSE(file.StreetAddress.empty());
    for (const card::CardFieldInfo& field : card::kCardFields) {
        EXPECT_EQ(back.*field.member, file.*field.member) << field.name;
    }
    EXPECT_EQ(back.PictureBytes, window->Record().PictureBytes);
}

TEST_F(WindowTest, SaveCardPictureWritesItsBytesOrSaysThereIsNone) {
    ScratchDir dir;
    auto window = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    ui.fileAnswers = {QString::fromStdString(dir / "picture.jpg")};
    window->SaveCardPicture();
    EXPECT_EQ(ui.Of("file")[0].file.defaultExtension, QStringLiteral(".jpg"));
    EXPECT_EQ(FileBytes(dir / "picture.jpg"), FileBytes(SamplesDir() + "/sample.jpg"));

    // A folder that is not there: the writer's reason, and nothing left behind.
    ui.fileAnswers = {QString::fromStdString(dir / "no/such/picture.jpg")};
    window->SaveCardPicture();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].startsWith(QStringLiteral("The picture could not be written to %1: ")
                                             .arg(QString::fromStdString(dir / "no/such/picture.jpg"))))
        << Messages()[0].toStdString();
    EXPECT_FALSE(Messages()[0].contains(QStringLiteral("cannot write")));

    ui.calls.clear();
    auto empty = Open<viewer::CViewerDialog>();
    empty->SaveCardPicture();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("This card has no picture."));
}

// The saved picture is a file any viewer opens: a picture in a format other
// programs rarely take leaves as a PNG of the same pixels, never as its own
// bytes under a .jpg name; one that does not decode is not written at all.
TEST_F(WindowTest, SaveCardPictureGivesAFileOfTheTypeItsNameSays) {
    auto pixelsOf = [](const std::vector<std::uint8_t>& bytes) {
        picture::CAnyPicDecoder decoder;
        picture::CWinBmp bitmap;
        decoder.DecodeMemory("saved", bytes.data(), static_cast<std::int32_t>(bytes.size()), &bitmap, 32);
        std::vector<std::uint8_t> pixels;
        const auto [width, height] = bitmap.GetSize();
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* line = bitmap.GetLineTable()[y];
            pixels.insert(pixels.end(), line, line + 4 * static_cast<std::ptrdiff_t>(width));
        }
        return pixels;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> picture;
        const char* extension;  // "" when nothing may be written
    };
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    const Case cases[] = {
        {"BMP", FileBytes(std::string(OVLET_SOURCE_DIR) + "/tests/data/corpus/bmp/g/rgb24.bmp"), ".png"},
        {"Targa", FileBytes(std::string(OVLET_SOURCE_DIR) + "/tests/data/corpus/tga/generated/im_rgb24_rle_tl.tga"),
         ".png"},
        {"not a picture", std::vector<std::uint8_t>(64, 0x5a), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.picture.empty());
        ScratchDir dir;
        card::CardRecord card = CompanyCard("Pictures Ltd");
        card.PictureBytes = c.picture;
        card.PictureLength = static_cast<std::int32_t>(c.picture.size());
        WriteCard(dir / "card.ovt", card);
        auto window = Open<viewer::CViewerDialog>(dir / "card.ovt");
        ui.calls.clear();
        const std::string saved = dir / (std::string("picture") + c.extension);
        ui.fileAnswers = {QString::fromStdString(saved)};
        window->SaveCardPicture();
        if (*c.extension == '\0') {
            EXPECT_TRUE(ui.Of("file").empty());
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0], QStringLiteral("The card's picture cannot be saved as PNG or JPEG."));
            continue;
        }
        ASSERT_EQ(ui.Of("file").size(), 1u);
        EXPECT_EQ(ui.Of("file")[0].file.defaultExtension, QString::fromUtf8(c.extension));
        EXPECT_TRUE(Messages().empty());
        const auto bytes = FileBytes(saved);
        ASSERT_GE(bytes.size(), png.size());
        EXPECT_TRUE(std::equal(png.begin(), png.end(), bytes.begin()));
        EXPECT_EQ(pixelsOf(bytes), pixelsOf(c.picture));
    }
}

// The code on screen is the card: a phone's reader (zbarimg here) reads the
// vCard back from the window's picture of it.
TEST_F(WindowTest, QrCodeDialogShowsTheCode) {
    auto window = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    const ScratchDir dir;
    const std::string png = dir / "code.png";
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<platform::TemplateDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        caption = dialog->windowTitle();
        if (QWidget* code = dialog->Item(resources::kIdQrPicture)) code->grab().save(QString::fromStdString(png));
        dialog->Item(resources::kIdCancel)->setFocus();
        QTest::keyClick(dialog->Item(resources::kIdCancel), Qt::Key_Escape);
    });
    window->ShowQrCode();
    EXPECT_EQ(caption, QStringLiteral("QR Code"));
    EXPECT_TRUE(Messages().empty());
    FILE* reader = ::popen(("zbarimg --raw -q -Sbinary '" + png + "' 2>/dev/null").c_str(), "r");
    ASSERT_NE(reader, nullptr);
    std::string read;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, reader)) > 0;) read.append(buffer, n);
    ::pclose(reader);
    EXPECT_EQ(read.rfind("BEGIN:VCARD", 0), 0u) << read;
    EXPECT_NE(read.find("Okafor"), std::string::npos) << read;
}

// Print reaches the desktop as one page of ten cards, A4 or US Letter as the
// user's locale measures, drawn as `ovlet print` draws it, with what the
// window shows (the maker's typing included).
TEST_F(WindowTest, PrintHandsTheDesktopASheetOfTenCards) {
    struct Case {
        const char* locale;
        QPageSize::PageSizeId paper;
        QSizeF cardMm;
    };
    const Case cases[] = {{"de_DE", QPageSize::A4, {85, 55}}, {"en_US", QPageSize::Letter, {88.9, 50.8}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        QLocale::setDefault(QLocale(QString::fromUtf8(c.locale)));
        ui.calls.clear();
        auto window = Open(SamplesDir() + "/sample.ovt");
        window->SetItemText(resources::kIdCompany, QStringLiteral("Typed Before Printing"));
        QAction* print = nullptr;
        for (QAction* action : window->WindowMenu()->actions()) {
            if (action->text() == QStringLiteral("Print\u2026")) print = action;
        }
        ASSERT_NE(print, nullptr);
        print->trigger();
        ASSERT_EQ(ui.Of("print").size(), 1u);
        const platform::QtPrintRequest request = ui.Of("print")[0].print;
        EXPECT_EQ(request.documentName, QStringLiteral("Ren\u00e9e Okafor"));
        EXPECT_EQ(window->Record().Company, "Typed Before Printing");
        EXPECT_EQ(request.pageSize.id(), c.paper);
        // The page at 100 dots an inch: ten cards with the card's picture.
        const QSizeF paperMm = request.pageSize.size(QPageSize::Millimeter);
        QImage page((paperMm / 25.4 * 100).toSize(), QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            request.paint(painter);
        }
        const double dotsPerMm = 100 / 25.4;
        const QSizeF sheet = QSizeF(2 * c.cardMm.width(), 5 * c.cardMm.height());
        const QPointF corner((paperMm.width() - sheet.width()) / 2, (paperMm.height() - sheet.height()) / 2);
        int cards = 0;
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 2; ++column) {
                const QRectF card(corner + QPointF(column * c.cardMm.width(), row * c.cardMm.height()), c.cardMm);
                const QRect dots(
                    QPoint(static_cast<int>(card.left() * dotsPerMm) + 2, static_cast<int>(card.top() * dotsPerMm) + 2),
                    QPoint(static_cast<int>(card.right() * dotsPerMm) - 2,
                           static_cast<int>(card.bottom() * dotsPerMm) - 2));
                int drawn = 0;
                for (int y = dots.top(); y <= dots.bottom(); y += 3) {
                    for (int x = dots.left(); x <= dots.right(); x += 3)
                        drawn += page.pixel(x, y) != qRgb(255, 255, 255);
                }
                cards += drawn > 200;
            }
        }
        EXPECT_EQ(cards, 10);
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace ovlet::window
