// The window menu's entries for address books and phones.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "exchange/vcard.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace {

QStringList MenuTexts(CCardDialog& window) {
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
                           QStringLiteral("Save card picture\u2026")}));
    auto viewer = Open<CViewerDialog>();
    EXPECT_EQ(MenuTexts(*viewer),
              (QStringList{QStringLiteral("&About Ovlet Maker"), QStringLiteral("Export as vCard\u2026"),
                           QStringLiteral("Save card picture\u2026"), QStringLiteral("Show QR code")}));
}

TEST_F(WindowTest, ExportedVCardReadsBackToTheSameFields) {
    ScratchDir dir;
    auto window = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
    ui.fileAnswers = {QString::fromStdString(dir / "out.vcf")};
    window->ExportVCard();
    ASSERT_EQ(ui.Of("file").size(), 1u);
    EXPECT_EQ(ui.Of("file")[0].file.initialName, QStringLiteral("Ren\u00e9e Okafor.vcf"));
    const auto bytes = FileBytes(dir / "out.vcf");
    const vcard::ReadResult read =
        vcard::DecodeVCards(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    ASSERT_EQ(read.cards.size(), 1u);
    const CardRecord& back = read.cards[0].record;
    for (const CardFieldInfo& field : kCardFields) {
        EXPECT_EQ(back.*field.member, window->Record().*field.member) << field.name;
    }
    EXPECT_EQ(back.PictureBytes, window->Record().PictureBytes);
}

TEST_F(WindowTest, SaveCardPictureWritesItsBytesOrSaysThereIsNone) {
    ScratchDir dir;
    auto window = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
    ui.fileAnswers = {QString::fromStdString(dir / "picture.jpg")};
    window->SaveCardPicture();
    EXPECT_EQ(ui.Of("file")[0].file.defaultExtension, QStringLiteral(".jpg"));
    EXPECT_EQ(FileBytes(dir / "picture.jpg"), FileBytes(SamplesDir() + "/sample.jpg"));

    auto empty = Open<CViewerDialog>();
    empty->SaveCardPicture();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("This card has no picture."));
}

TEST_F(WindowTest, QrCodeDialogShowsTheCode) {
    auto window = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
    QSize shown;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) shown = label->pixmap().size();
        }
        dialog->reject();
    });
    window->ShowQrCode();
    EXPECT_GE(shown.width(), 200);
    EXPECT_EQ(shown.width(), shown.height());
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
