// The card window as its user sees it: pages, focus, Tab order, limits,
// tool tips, hover looks, and reading cards good and bad.
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "platform/controls_basic.h"
#include "window_test_support.h"

namespace {

const std::vector<int> kSummaryBlock = {1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067};

struct PageCase {
    int tab;
    std::vector<int> shown;
    int focus;  // 0: the focus stays where it was
};

TEST_F(WindowTest, PageSwitchShowsThePageAndPutsTheCaretInItsFirstField) {
    const PageCase cases[] = {
        {1, {1008, 1011, 1044, 1023, 1027, 1024, 1028, 1025, 1026, 1029, 1030, 1031, 1032}, 1011},
        {2, {1009, 1012, 1013, 1014, 1017, 1019, 1020, 1042, 1021, 1035, 1022, 1041, 1034, 1039}, 1012},
        {3, {1048, 1047}, 1047},
        {0, {1046, 1052, 1053, 1055}, 0},
    };
    auto window = Open();
    window->activateWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        window->Item(1004)->setFocus();
        QWidget* before = window->focusWidget();
        window->SelectTab(c.tab);
        QApplication::processEvents();
        for (int id : c.shown) EXPECT_TRUE(window->IsItemShown(id)) << id;
        for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id)) << id;
        for (int id : {1000, 1001, 1002, 1050, 1006, 1007, 1005, 1003, 1073, 1004, 1049}) {
            EXPECT_TRUE(window->IsItemShown(id)) << id;
        }
        EXPECT_FALSE(window->IsItemShown(1074));
        if (c.focus) {
            EXPECT_EQ(window->focusWidget(), window->Item(c.focus))
                << (window->focusWidget() ? window->focusWidget()->metaObject()->className() : "none");
        } else {
            EXPECT_EQ(window->focusWidget(), before);
        }
    }
}

TEST_F(WindowTest, TabKeyVisitsTheFieldsInTemplateOrder) {
    const std::pair<int, std::vector<int>> pages[] = {
        {1, {1011, 1044, 1027, 1028, 1026, 1030, 1032}},
        {2, {1012, 1013, 1014, 1017, 1019, 1020, 1042, 1021, 1035, 1022, 1041}},
    };
    auto window = Open();
    window->activateWindow();
    for (const auto& [tab, order] : pages) {
        SCOPED_TRACE(tab);
        window->SelectTab(tab);
        QApplication::processEvents();
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            ASSERT_EQ(window->focusWidget(), window->Item(order[i]))
                << "step " << i << " " << window->focusWidget()->metaObject()->className();
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            QApplication::processEvents();
        }
        EXPECT_EQ(window->focusWidget(), window->Item(order.back()));
    }
}

TEST_F(WindowTest, TypingStopsAtTheLimitAndRefusesWhatACardCannotStore) {
    struct Case {
        int id;
        int limit;
    };
    const Case cases[] = {{1020, 35}, {1011, 50}, {1032, 80}, {1027, 25}, {1013, 15}};
    auto window = Open();
    window->SelectTab(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        auto* edit = window->ItemAs<QLineEdit>(c.id);
        edit->clear();
        QTest::keyClicks(edit, QString(c.limit + 10, QChar('x')));
        EXPECT_EQ(edit->text().size(), c.limit);
    }
    // The multi-line fields take any length.
    auto* street = window->ItemAs<platform::MultiLineEdit>(1044);
    QTest::keyClicks(street, QString(300, QChar('y')));
    EXPECT_EQ(street->toPlainText().size(), 300);

    auto* company = window->ItemAs<QLineEdit>(1011);
    company->clear();
    const auto beeps = ui.Of("beep").size();
    for (QChar c : QString::fromUtf8("Łódź")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(company, &press);
    }
    EXPECT_EQ(company->text(), QString::fromUtf8("ód"));
    EXPECT_GT(ui.Of("beep").size(), beeps);
}

TEST_F(WindowTest, OverLongCityFromAFileIsShownWholeAndStopsTheExchange) {
    ScratchDir dir;
    CardRecord card;
    card.City = std::string(30, 'C');
    card.Company = "Old Co";
    card.FirstName = "Ann";
    WriteCard(dir / "city.ovt", card);
    auto window = Open(dir / "city.ovt");
    EXPECT_EQ(window->ItemText(1027).size(), 30);
    window->SetItemText(1011, QStringLiteral("New Co"));
    window->SetItemText(1012, QStringLiteral("Bea"));
    EXPECT_FALSE(window->TakeFromWindow());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Please enter no more than 25 characters."));
    EXPECT_EQ(ui.Of("message")[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(window->Record().Company, "Old Co") << "fields after City keep their values";
    EXPECT_EQ(window->Record().FirstName, "Ann");
    EXPECT_EQ(window->ItemAs<QLineEdit>(1027)->selectedText().size(), 30);
    // Shortening an over-long text is an edit the limit allows.
    auto* city = window->ItemAs<QLineEdit>(1027);
    city->setFocus();
    city->end(false);
    QTest::keyClick(city, Qt::Key_Backspace);
    EXPECT_EQ(city->text().size(), 29);
}

TEST_F(WindowTest, ToolTipsAndHoverLooks) {
    const std::pair<int, const char*> tips[] = {
        {1000, "Create a new Ovlet"},
        {1001, "Open an existing Ovlet"},
        {1002, "Save current Ovlet"},
        {1050, "Save current Ovlet with a different name"},
        {1006, "Import a graphical representation of the Ovlet"},
        {1007, "Help"},
        {1005, "About Ovlet Maker"},
        {1003, "Exit"},
        {1055, "Remove image from current Ovlet"},
    };
    auto window = Open();
    for (const auto& [id, tip] : tips) EXPECT_EQ(window->Item(id)->toolTip(), QString::fromUtf8(tip)) << id;

    CHoverButton* button = window->HoverButton(1000);
    ASSERT_NE(button, nullptr);
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
        EXPECT_EQ(button->IsHot(), m.hot);
        EXPECT_EQ(button->CurrentBitmap(), m.bitmap);
    }
    button->setDown(true);
    EXPECT_EQ(button->CurrentBitmap(), 135u);
    button->setDown(false);
}

TEST_F(WindowTest, NewWindowShowsAnEmptyCard) {
    auto window = Open();
    EXPECT_EQ(window->ItemText(1049), QStringLiteral("Untitled"));
    EXPECT_EQ(window->ItemText(1053), QStringLiteral("N/A"));
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
        EXPECT_EQ(window->ItemText(1011), c.company);
        EXPECT_EQ(window->ItemText(1053), c.imageSize);
        EXPECT_EQ(!window->PicturePanel()->GetPictureFile().empty(), c.pictureShown);
        for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id));
    }
}

TEST_F(WindowTest, UndecodablePictureIsKeptForTheNextSave) {
    ScratchDir dir;
    auto bytes = SampleBytes();
    for (std::size_t i = bytes.size() - 10773; i < bytes.size(); ++i) bytes[i] = 0x5A;
    WriteFile(dir / "card.ovt", bytes);
    auto window = Open(dir / "card.ovt");
    EXPECT_EQ(window->Record().PictureLength, 10773);
    RecordOnlySide side(window->Record());
    window->Record().StreetAddress = window->GetEditText(1044);
    window->Record().GeneralInformation = window->GetEditText(1047);
    ASSERT_EQ(WriteCardFile(dir / "again.ovt", window->Record(), *window).outcome, CardWriteOutcome::Written);
    EXPECT_EQ(FileBytes(dir / "again.ovt"), bytes);
}

TEST_F(WindowTest, UnreadableFileReportsAndKeepsTheEmptyCard) {
    auto window = Open("/nonexistent/card.ovt");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Unable to open file with this name.  Please try a different name."));
    EXPECT_EQ(ui.Of("message")[0].caption, QStringLiteral("Ovlet Maker"));
    EXPECT_EQ(window->Record().CurrentPath, "");
    EXPECT_EQ(window->ItemText(1011), QString());
}

TEST(PicturePlacement, ShrinksToFitAndCentres) {
    struct Case {
        int w, h;
        int x, y, sw, sh;
        double factor;
    };
    const Case cases[] = {
        {100, 50, 99, 74, 100, 50, 1.0}, {596, 99, 1, 75, 298, 49, 0.5},       {298, 100, 1, 50, 298, 100, 1.0},
        {297, 197, 0, 0, 297, 197, 1.0}, {4000, 3000, 18, 1, 264, 198, 0.066},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        const PicturePlacement p = PlacePicture(300, 200, c.w, c.h);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.sw);
        EXPECT_EQ(p.height, c.sh);
        EXPECT_NEAR(p.factor, c.factor, 0.001);
    }
}

TEST_F(WindowTest, LinkLooks) {
    auto window = Open();
    const std::pair<int, bool> looks[] = {{1060, true}, {1066, true}, {1064, false}, {1065, false}, {1067, false}};
    for (const auto& [id, link] : looks) {
        CLinkButton* button = window->LinkButton(id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->IsLinkStyle(), link) << id;
    }
    CLinkButton* web = window->LinkButton(1060);
    EXPECT_EQ(web->TextColour(), QColor(0, 0, 255));
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), web->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(web, &move);
    EXPECT_EQ(web->TextColour(), QColor(255, 0, 0));
}

}  // namespace
