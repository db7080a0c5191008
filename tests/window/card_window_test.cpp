// The card window as its user sees it: pages, focus, Tab order, limits,
// tool tips, hover looks, and reading cards good and bad.
#include <QAbstractButton>
#include <QBuffer>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QToolTip>

#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "platform/qt/controls_basic.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

const std::vector<int> kSummaryBlock = {
    resources::kIdCompanyGroup, resources::kIdCompanyLine, resources::kIdAddressBlock, resources::kIdWebSiteLine,
    resources::kIdContactGroup, resources::kIdNameLine,    resources::kIdTitleLine,    resources::kIdPhone1Line,
    resources::kIdPhone2Line,   resources::kIdEMailLine,   resources::kIdFaxLine};

struct PageCase {
    int tab;
    std::vector<int> shown;
    int focus;  // 0: the focus stays where it was
};

TEST_F(WindowTest, PageSwitchShowsThePageAndPutsTheCaretInItsFirstField) {
    const PageCase cases[] = {
        {1,
         {resources::kIdCompanyLabel, resources::kIdCompany, resources::kIdStreetAddress, resources::kIdCityLabel,
          resources::kIdCity, resources::kIdStateProvinceLabel, resources::kIdStateProvince, resources::kIdCountryLabel,
          resources::kIdCountry, resources::kIdPostalCodeLabel, resources::kIdPostalCode, resources::kIdWebSiteLabel,
          resources::kIdWebSite},
         resources::kIdCompany},
        {2,
         {resources::kIdFirstNameLabel, resources::kIdFirstName, resources::kIdMiddleName, resources::kIdLastName,
          resources::kIdJobTitle, resources::kIdDepartment, resources::kIdEMail, resources::kIdFax,
          resources::kIdPhone1Description, resources::kIdPhone1Number, resources::kIdPhone2Description,
          resources::kIdPhone2Number, resources::kIdPhone1Group, resources::kIdPhone2Group},
         resources::kIdFirstName},
        {3,
         {resources::kIdGeneralInformationLabel, resources::kIdGeneralInformation},
         resources::kIdGeneralInformation},
        {0, {resources::kIdPicture, resources::kIdImageSizeLabel, resources::kIdImageSize, resources::kIdRemove}, 0},
    };
    auto window = Open();
    window->activateWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        window->Item(resources::kIdTabs)->setFocus();
        QWidget* before = window->focusWidget();
        window->SelectTab(c.tab);
        QApplication::processEvents();
        for (int id : c.shown) EXPECT_TRUE(window->IsItemShown(id)) << id;
        for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id)) << id;
        for (int id : {resources::kIdNew, resources::kIdOpen, resources::kIdSave, resources::kIdSaveAs,
                       resources::kIdImport, resources::kIdHelp, resources::kIdAbout, resources::kIdExit,
                       resources::kIdToolbarFrame, resources::kIdTabs, resources::kIdCurrentFile}) {
            EXPECT_TRUE(window->IsItemShown(id)) << id;
        }
        EXPECT_FALSE(window->IsItemShown(resources::kIdViewerFrame));
        if (c.focus) {
            EXPECT_EQ(window->focusWidget(), window->Item(c.focus))
                << (window->focusWidget() ? window->focusWidget()->metaObject()->className() : "none");
        } else {
            EXPECT_EQ(window->focusWidget(), before);
        }
    }
}

// The focus walk: on every page of both programs, Tab from the first field
// visits the page's fields in template order and comes back to the first;
// Shift+Tab walks back the same way. Nothing keeps the focus: a multi-line
// text passes Tab on (on a one-control page to the tabs, and from there back),
// and Ctrl+Tab turns the page from anywhere, the texts included.
TEST_F(WindowTest, FocusWalkVisitsEveryFieldOfEachPageAndComesBack) {
    auto maker = Open(SamplesDir() + "/sample.ovt");
    auto viewer = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    for (auto [window, pages] : {std::pair{static_cast<CardWindowOnQt*>(maker.get()), &kMakerPages},
                                 std::pair{static_cast<CardWindowOnQt*>(viewer.get()), &kViewerPages}}) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        for (std::size_t tab = 0; tab < pages->size(); ++tab) {
            SCOPED_TRACE(window->windowTitle().toStdString() + " page " + std::to_string(tab));
            const std::vector<int>& fields = (*pages)[tab];
            window->SelectTab(static_cast<int>(tab));
            QApplication::processEvents();
            for (const auto& [key, order] :
                 {std::pair{Qt::Key_Tab, fields},
                  std::pair{Qt::Key_Backtab, std::vector<int>(fields.rbegin(), fields.rend())}}) {
                window->Item(order.front())->setFocus(Qt::TabFocusReason);
                std::vector<int> visited;
                for (std::size_t step = 0; step <= order.size(); ++step) {
                    QWidget* focus = window->focusWidget();
                    ASSERT_NE(focus, nullptr);
                    const auto at = std::find_if(order.begin(), order.end(),
                                                 [w = window, focus](int id) { return w->Item(id) == focus; });
                    const bool onTabs = focus == window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar();
                    visited.push_back(at != order.end() ? *at : onTabs ? resources::kIdTabs : -1);
                    QTest::keyClick(focus, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                }
                // Every field once, then the first one again; a page with one
                // control goes between it and the tabs.
                std::vector<int> expected = order;
                expected.push_back(order.size() == 1 ? resources::kIdTabs : order.front());
                EXPECT_EQ(visited, expected);
            }
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(window->SelectedTab(), static_cast<int>((tab + 1) % pages->size())) << "Ctrl+Tab turns the page";
        }
    }
}

TEST_F(WindowTest, TypingStopsAtTheLimitAndRefusesWhatACardCannotStore) {
    auto window = Open();
    for (const LimitedField& field : kLimitedFields) {
        SCOPED_TRACE(field.id);
        window->SelectTab(field.tab);
        auto* edit = window->ItemAs<QLineEdit>(field.id);
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, QString(field.limit + 10, QChar('x')));
        EXPECT_EQ(edit->text().size(), field.limit);
    }
    // The multi-line fields take any length.
    auto* street = window->ItemAs<platform::MultiLineEdit>(resources::kIdStreetAddress);
    QTest::keyClicks(street, QString(300, QChar('y')));
    EXPECT_EQ(street->toPlainText().size(), 300);

    auto* company = window->ItemAs<QLineEdit>(resources::kIdCompany);
    company->clear();
    const auto beeps = ui.Of("beep").size();
    for (QChar c : QString::fromUtf8("Łódź")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(company, &press);
    }
    EXPECT_EQ(company->text(), QString::fromUtf8("ód"));
    EXPECT_GT(ui.Of("beep").size(), beeps);
}

// Every field one over its limit: taking the card reports them one at a time,
// in the order the window takes them back, each on its own page with its
// text selected; once a field is at its limit, the next one is reported.
TEST_F(WindowTest, OverLongFieldsAreReportedInTurnOnTheirPages) {
    auto window = Open();
    window->activateWindow();
    for (const LimitedField& field : kLimitedFields)
        window->SetItemText(field.id, QString(field.limit + 1, QChar('x')));
    int from = 0;
    for (const LimitedField& field : kLimitedFields) {
        SCOPED_TRACE(field.id);
        // The field's page comes up whichever page the user is on.
        window->SelectTab(from++ % 4);
        ui.calls.clear();
        EXPECT_FALSE(window->TakeFromWindow());
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], LimitMessage(field.limit));
        EXPECT_EQ(window->SelectedTab(), field.tab);
        EXPECT_TRUE(window->IsItemShown(field.id));
        EXPECT_EQ(window->focusWidget(), window->Item(field.id));
        EXPECT_EQ(window->ItemAs<QLineEdit>(field.id)->selectedText().size(), field.limit + 1);
        window->SetItemText(field.id, QString(field.limit, QChar('y')));
    }
    ui.calls.clear();
    EXPECT_TRUE(window->TakeFromWindow());
    EXPECT_TRUE(Messages().empty());
    for (const card::CardFieldInfo& field : card::kCardFields) {
        if (field.multiLine) continue;
        EXPECT_EQ(window->Record().*field.member, std::string(static_cast<std::size_t>(field.limit), 'y'))
            << field.name;
    }
}

TEST_F(WindowTest, OverLongCityFromAFileIsShownWholeAndStopsTheExchange) {
    ScratchDir dir;
    card::CardRecord card;
    card.City = std::string(30, 'C');
    card.Company = "Old Co";
    card.FirstName = "Ann";
    WriteCard(dir / "city.ovt", card);
    auto window = Open(dir / "city.ovt");
    EXPECT_EQ(window->ItemText(resources::kIdCity).size(), 30);
    window->SetItemText(resources::kIdCompany, QStringLiteral("New Co"));
    window->SetItemText(resources::kIdFirstName, QStringLiteral("Bea"));
    EXPECT_FALSE(window->TakeFromWindow());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Please enter no more than 25 characters."));
    EXPECT_EQ(ui.Of("message")[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(window->Record().Company, "Old Co") << "fields after City keep their values";
    EXPECT_EQ(window->Record().FirstName, "Ann");
    EXPECT_EQ(window->ItemAs<QLineEdit>(resources::kIdCity)->selectedText().size(), 30);
    // Shortening an over-long text is an edit the limit allows.
    auto* city = window->ItemAs<QLineEdit>(resources::kIdCity);
    city->setFocus();
    city->end(false);
    QTest::keyClick(city, Qt::Key_Backspace);
    EXPECT_EQ(city->text().size(), 29);
}

// Resting the pointer on a button shows its tip, with the keys of its
// command, in both forms (the viewer shows only About and Exit, with the
// maker's texts; About has F1 there, which the maker gives to Help).
TEST_F(WindowTest, ToolTipsShowWhereThePointerRests) {
    struct Tip {
        int id;
        const char* tip;
        const char* makerKeys;
        const char* viewerKeys;
    };
    const Tip tips[] = {
        {resources::kIdNew, "Create a new Ovlet", "Ctrl+N", ""},
        {resources::kIdOpen, "Open an existing Ovlet", "Ctrl+O", ""},
        {resources::kIdSave, "Save current Ovlet", "Ctrl+S", ""},
        {resources::kIdSaveAs, "Save current Ovlet with a different name", "Ctrl+Shift+S", ""},
        {resources::kIdImport, "Import a graphical representation of the Ovlet", "Ctrl+I", ""},
        {resources::kIdHelp, "Help", "F1", ""},
        {resources::kIdAbout, "About Ovlet Maker", "", "F1"},
        {resources::kIdExit, "Exit", "Ctrl+Q", "Ctrl+Q"},
        {resources::kIdRemove, "Remove image from current Ovlet", "Del", ""},
    };
    auto maker = Open();
    auto viewer = Open<viewer::CViewerDialog>();
    for (CardWindowOnQt* window :
         {static_cast<CardWindowOnQt*>(maker.get()), static_cast<CardWindowOnQt*>(viewer.get())}) {
        window->activateWindow();
        for (const Tip& t : tips) {
            SCOPED_TRACE(t.id);
            QWidget* button = window->Item(t.id);
            if (!button || !button->isVisible()) continue;
            const QString keys = QString::fromUtf8(window == maker.get() ? t.makerKeys : t.viewerKeys);
            QToolTip::hideText();
            QHelpEvent rest(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(button, &rest);
            EXPECT_TRUE(QToolTip::isVisible());
            EXPECT_EQ(QToolTip::text(), keys.isEmpty() ? QString::fromUtf8(t.tip)
                                                       : QStringLiteral("%1 (%2)").arg(QString::fromUtf8(t.tip), keys));
        }
    }
    QToolTip::hideText();
    for (int id : {resources::kIdAbout, resources::kIdExit}) EXPECT_TRUE(viewer->IsItemShown(id)) << id;
}

TEST_F(WindowTest, HoverButtonLooks) {
    auto window = Open();
    controls::CHoverButton* hover = window->HoverButton(resources::kIdNew);
    ASSERT_NE(hover, nullptr);
    auto* button = window->ItemAs<QAbstractButton>(resources::kIdNew);
    EXPECT_EQ(button->focusPolicy() & Qt::TabFocus, 0) << "hover buttons are not in the Tab order";
    const int w = button->width();
    struct Move {
        int x;
        bool hot;
        std::uint32_t bitmap;
    };
    // The hit test counts the column just past the right edge as inside.
    const Move moves[] = {{5, true, 134}, {w, true, 134}, {w + 1, false, 138}, {w - 1, true, 134}, {-1, false, 138}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.x);
        QMouseEvent move(QEvent::MouseMove, QPointF(m.x, 5), button->mapToGlobal(QPointF(m.x, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        EXPECT_EQ(hover->IsHot(), m.hot);
        EXPECT_EQ(hover->CurrentBitmap(), m.bitmap);
    }
    button->setDown(true);
    EXPECT_EQ(hover->CurrentBitmap(), 135u);
    button->setDown(false);
}

TEST_F(WindowTest, NewWindowShowsAnEmptyCard) {
    auto window = Open();
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QStringLiteral("Untitled"));
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("N/A"));
    EXPECT_TRUE(window->PicturePanel()->GetPictureFile().empty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Norvane Ovlet Maker"));
    EXPECT_EQ(window->SelectedTab(), 0);
}

struct ReadCase {
    const char* name;
    std::vector<std::uint8_t> (*bytes)();
    std::vector<QString> messages;
    QString company;  // shown in the window afterwards
    QString imageSize;
    bool pictureShown;
};

std::vector<std::uint8_t> SampleBytes() {
    return FileBytes(SamplesDir() + "/sample.ovt");
}

TEST_F(WindowTest, ReadingCardsGoodAndBad) {
    const ReadCase cases[] = {
        {"sample card", SampleBytes, {}, "Harbour Light Instruments", "320 x 200", true},
        {"truncated card",
         [] {
             auto b = SampleBytes();
             b.resize(150);
             return b;
         },
         {"An attempt was made to access an unnamed file past its end."},
         "",
         "N/A",
         false},
        {"undecodable picture",
         [] {
             auto b = SampleBytes();
             for (std::size_t i = b.size() - 10773; i < b.size(); ++i) b[i] = 0x5A;
             return b;
         },
         {"The card's picture cannot be shown.\n\n"},
         "Harbour Light Instruments",
         "N/A",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.calls.clear();
        ScratchDir dir;
        WriteFile(dir / "card.ovt", c.bytes());
        auto window = Open(dir / "card.ovt");
        const auto messages = Messages();
        ASSERT_EQ(messages.size(), c.messages.size());
        for (std::size_t i = 0; i < messages.size(); ++i)
            EXPECT_TRUE(messages[i].startsWith(c.messages[i])) << messages[i].toStdString();
        EXPECT_EQ(window->ItemText(resources::kIdCompany), c.company);
        EXPECT_EQ(window->ItemText(resources::kIdImageSize), c.imageSize);
        EXPECT_EQ(!window->PicturePanel()->GetPictureFile().empty(), c.pictureShown);
        for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id));
    }
}

// The card named at start has its picture on the window's first paint: the
// panel's pixels are made while the card is read, before the window is shown.
// A picture that cannot be made says so then, with no size and No Image
// Data, and the card keeps its bytes. A card opened in a window on screen
// shows its picture at once too.
TEST_F(WindowTest, TheCardNamedAtStartShowsItsPictureOnTheFirstPaint) {
    // A PNG picture whose header reads and whose image data does not.
    QImage image(64, 40, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    std::vector<std::uint8_t> whole(png.begin(), png.end());
    auto pixelsDamaged = whole;
    const auto data = static_cast<std::size_t>(png.indexOf("IDAT")) + 8;  // inside the image data
    for (std::size_t i = data; i < data + 6; ++i) pixelsDamaged[i] ^= 0xFF;
    auto headerDamaged = whole;
    headerDamaged[12] = 'X';  // the first chunk is no IHDR
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"whole picture", whole}, {"pixels damaged", pixelsDamaged}, {"header damaged", headerDamaged}};
    for (const auto& [name, picture] : cases) {
        SCOPED_TRACE(name);
        const bool shown = picture == whole;
        ui.calls.clear();
        ScratchDir dir;
        card::CardRecord card;
        card.Company = "Cyan";
        card.SetPicture(picture);
        WriteCard(dir / "card.ovt", card);
        CardOnQt<maker::CMakerDialog> window;
        window.Record().CurrentPath = dir / "card.ovt";
        window.Create();
        // Before the window is on screen: the pixels, or the message.
        EXPECT_EQ(!ShownImage(*window.PicturePanel()).isNull(), shown);
        EXPECT_EQ(window.PicturePanel()->GetPictureFile().empty(), !shown);
        EXPECT_EQ(window.ItemText(resources::kIdImageSize), shown ? QStringLiteral("64 x 40") : QStringLiteral("N/A"));
        const auto messages = Messages();
        ASSERT_EQ(messages.size(), shown ? 0u : 1u);
        if (!shown) {
            EXPECT_TRUE(messages[0].startsWith(QStringLiteral("The card's picture cannot be shown.")));
        }
        if (shown) {
            const QImage pixels = ShownImage(*window.PicturePanel());
            EXPECT_EQ(pixels.pixelColor(pixels.width() / 2, pixels.height() / 2), QColor(Qt::darkCyan));
        }
        window.show();
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        EXPECT_EQ(Messages().size(), shown ? 0u : 1u) << "nothing more once on screen";
        EXPECT_EQ(window.Record().PictureBytes, picture) << "the card keeps its picture's bytes";
    }
    // Opened while the window is on screen: at once.
    auto window = Open();
    ui.messageAnswers = {platform::MessageAnswer::No};
    ui.fileAnswers = {QString::fromStdString(SamplesDir() + "/sample.ovt")};
    qobject_cast<QAbstractButton*>(window->Item(resources::kIdOpen))->click();
    EXPECT_FALSE(ShownImage(*window->PicturePanel()).isNull());
}

TEST_F(WindowTest, UndecodablePictureIsKeptForTheNextSave) {
    ScratchDir dir;
    auto bytes = SampleBytes();
    for (std::size_t i = bytes.size() - 10773; i < bytes.size(); ++i) bytes[i] = 0x5A;
    WriteFile(dir / "card.ovt", bytes);
    auto window = Open(dir / "card.ovt");
    EXPECT_EQ(window->Record().PictureLength, 10773);
    card::RecordOnlySide side(window->Record());
    window->Record().StreetAddress = window->GetEditText(&card::CardRecord::StreetAddress);
    window->Record().GeneralInformation = window->GetEditText(&card::CardRecord::GeneralInformation);
    ASSERT_TRUE(card::WriteCardFile(dir / "again.ovt", window->Record(), window->Card()));
    EXPECT_EQ(FileBytes(dir / "again.ovt"), bytes);
}

TEST_F(WindowTest, UnreadableFileReportsAndKeepsTheEmptyCard) {
    auto window = Open("/nonexistent/card.ovt");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Unable to open file with this name.  Please try a different name."));
    EXPECT_EQ(ui.Of("message")[0].caption, QStringLiteral("Ovlet Maker"));
    EXPECT_EQ(window->Record().CurrentPath, "");
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QString());
}

TEST(PicturePlacement, ShrinksToFitAndCentres) {
    struct Case {
        int w, h;
        int x, y, sw, sh;
        double factor;
    };
    const Case cases[] = {
        {100, 50, 99, 74, 100, 50, 1.0},
        {596, 99, 1, 75, 298, 49, 0.5},
        {298, 100, 1, 50, 298, 100, 1.0},
        {297, 197, 0, 0, 297, 197, 1.0},
        {4000, 3000, 18, 1, 264, 198, 0.066},
        // Very thin pictures keep a pixel across.
        {1, 4000, 149, 1, 1, 198, 0.0495},
        {4000, 1, 1, 99, 298, 1, 0.0745},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        const controls::PicturePlacement p = controls::PlacePicture(300, 200, c.w, c.h);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.sw);
        EXPECT_EQ(p.height, c.sh);
        EXPECT_NEAR(p.factor, c.factor, 0.001);
    }
}

TEST_F(WindowTest, LinkLooks) {
    auto window = Open<viewer::CViewerDialog>();
    const std::pair<int, bool> looks[] = {{resources::kIdWebSiteLine, true},
                                          {resources::kIdEMailLine, true},
                                          {resources::kIdPhone1Line, false},
                                          {resources::kIdPhone2Line, false},
                                          {resources::kIdFaxLine, false}};
    for (const auto& [id, link] : looks) {
        controls::CLinkButton* button = window->LinkButton(id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->IsLinkStyle(), link) << id;
    }
    controls::CLinkButton* web = window->LinkButton(resources::kIdWebSiteLine);
    EXPECT_EQ(web->TextColour(), (platform::Colour{0, 0, 255}));
    QWidget* webWidget = window->Item(resources::kIdWebSiteLine);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), webWidget->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(webWidget, &move);
    EXPECT_EQ(web->TextColour(), (platform::Colour{255, 0, 0}));
}

}  // namespace

namespace {

// Pasting or typing over a selection: the limit holds for the text that
// results, so the selection is replaced by as much as fits; only when none of
// it fits does the field beep and stay as it was.
TEST_F(WindowTest, PasteAndTypingOverASelectionKeepToTheLimit) {
    const QString full = QString(50, QChar('c'));
    struct Case {
        const char* name;
        int id;
        QString old;
        int start, length;  // the selection; length 0: the cursor at start
        QString input;
        bool typed;  // typed key by key, else pasted
        QString result;
        bool beep;
    };
    const Case cases[] = {
        {"full, all selected, 60 pasted", resources::kIdCompany, full, 0, 50, QString(60, 'p'), false, QString(50, 'p'),
         false},
        {"full, none selected, 1 pasted", resources::kIdCompany, full, 50, 0, "x", false, full, true},
        {"45, 10 pasted at the end", resources::kIdCompany, QString(45, 'c'), 45, 0, "0123456789", false,
         QString(45, 'c') + "01234", false},
        {"full, 5 in the middle, 10 pasted", resources::kIdCompany, full, 10, 5, "0123456789", false,
         QString(10, 'c') + "01234" + QString(35, 'c'), false},
        {"full, 5 selected, typed over", resources::kIdCompany, full, 0, 5, "z", true, "z" + QString(45, 'c'), false},
        {"full, all selected, 3 typed", resources::kIdCompany, full, 0, 50, "xyz", true, "xyz", false},
        {"full, all selected, pasted text starting with it", resources::kIdCompany, full, 0, 50, full + "tail", false,
         full, false},
        {"empty, 60 pasted", resources::kIdCompany, "", 0, 0, QString(60, 'p'), false, QString(50, 'p'), false},
        {"city of 30 from a file, 2 selected, 10 pasted", resources::kIdCity, QString(30, 'c'), 0, 2, "0123456789",
         false, "01" + QString(28, 'c'), false},
        {"city at 25, cursor inside, 1 typed", resources::kIdCity, QString(25, 'c'), 3, 0, "x", true, QString(25, 'c'),
         true},
    };
    auto window = Open();
    window->activateWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->SelectTab(1);
        window->SetItemText(c.id, c.old);
        auto* edit = window->ItemAs<QLineEdit>(c.id);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        if (c.length) {
            edit->setSelection(c.start, c.length);
        } else {
            edit->setCursorPosition(c.start);
        }
        ui.calls.clear();
        if (c.typed) {
            QTest::keyClicks(edit, c.input);
        } else {
            QApplication::clipboard()->setText(c.input);
            edit->paste();
        }
        EXPECT_EQ(edit->text(), c.result);
        EXPECT_EQ(!ui.Of("beep").empty(), c.beep);
    }
}

// Start-up messages (a card that cannot be read whole) appear over the card
// window, centred where the window then opens.
TEST_F(WindowTest, StartUpMessagesAppearOverTheWindow) {
    ScratchDir dir;
    auto bytes = FileBytes(SamplesDir() + "/sample.ovt");
    bytes.resize(150);
    WriteFile(dir / "cut.ovt", bytes);
    platform::SetUi(nullptr);
    for (bool viewer : {false, true}) {
        SCOPED_TRACE(viewer);
        QRect box;
        QTimer::singleShot(0, [&box] {
            if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box = shown->frameGeometry();
                shown->buttons().first()->click();
            }
        });
        std::unique_ptr<CardWindowOnQt> window;
        if (viewer) {
            window = Open<viewer::CViewerDialog>(dir / "cut.ovt");
        } else {
            window = Open(dir / "cut.ovt");
        }
        ASSERT_TRUE(box.isValid()) << "a message was shown";
        const QPoint centre = window->frameGeometry().center();
        EXPECT_LE((box.center() - centre).manhattanLength(), 4);
        const QRect screen = window->screen()->availableGeometry();
        EXPECT_LE((screen.center() - centre).manhattanLength(), 4) << "the window opens centred on the screen";
    }
}

}  // namespace
}  // namespace ovlet::window
