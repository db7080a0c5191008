// The card window from the keyboard: turning pages forwards and backwards by
// key and by click, where the focus lands, what keys then change, Tab in the
// multi-line texts and the keys that open the window's menu.
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>

#include <tuple>

#include "card/card_record.h"
#include "controls/picture_static.h"
#include "platform/qt/controls_basic.h"
#include "window/card_form.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

// The card's editable fields and what they show.
std::map<int, QString> FieldTexts(const CardWindowOnQt& window) {
    std::map<int, QString> texts;
    for (const card::CardFieldInfo& field : card::kCardFields)
        texts[ControlOf(field.member)] = window.ItemText(ControlOf(field.member));
    return texts;
}

struct Turn {
    const char* name;
    int step;  // +1 forwards, -1 backwards
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;  // key == 0: a click on the tab
};

const Turn kTurns[] = {
    {"Ctrl+Tab", 1, Qt::Key_Tab, Qt::ControlModifier},
    {"Ctrl+Shift+Tab", -1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
    // The same keys as keyboard maps that do not make Shift+Tab a Backtab send them.
    {"Ctrl+Shift+Tab as Tab", -1, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier},
    {"Ctrl+Shift+Tab as Ctrl+Backtab", -1, Qt::Key_Backtab, Qt::ControlModifier},
    {"Ctrl+PageDown", 1, Qt::Key_PageDown, Qt::ControlModifier},
    {"Ctrl+PageUp", -1, Qt::Key_PageUp, Qt::ControlModifier},
    {"click on the next tab", 1, Qt::Key_unknown, Qt::NoModifier},
    {"click on the tab before", -1, Qt::Key_unknown, Qt::NoModifier},
};

void TurnPage(CardWindowOnQt& window, const Turn& turn) {
    auto* tabs = window.ItemAs<platform::TabControl>(resources::kIdTabs);
    if (turn.key == Qt::Key_unknown) {
        const int count = tabs->Count();
        const int to = (window.SelectedTab() + turn.step + count) % count;
        QTest::mouseClick(tabs->Bar(), Qt::LeftButton, Qt::NoModifier, tabs->Bar()->tabRect(to).center());
    } else {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, turn.key, turn.modifiers);
    }
    QApplication::processEvents();
}

// Every page of both programs, reached forwards and backwards (from the first
// page backwards to the last), by key and by click: the focus is on a visible
// control of the page (the tab after a click on it, else the page's own
// control), and typing, Backspace and Delete change nothing that is hidden.
TEST_F(WindowTest, AfterEveryPageTurnTheKeysGoToTheVisiblePage) {
    for (bool viewer : {false, true}) {
        const auto& pages = viewer ? kViewerPages : kMakerPages;
        const int count = static_cast<int>(pages.size());
        for (const Turn& turn : kTurns) {
            SCOPED_TRACE(std::string(viewer ? "viewer, " : "maker, ") + turn.name);
            auto window = OpenIn(viewer, SamplesDir() + "/sample.ovt");
            window->activateWindow();
            QApplication::setActiveWindow(window.get());
            // Start with the keyboard in the last field of the last page.
            window->SelectTab(count - 1);
            window->Item(pages.back().back())->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            for (int n = 0; n < count; ++n) {
                const int expected = (window->SelectedTab() + turn.step + count) % count;
                TurnPage(*window, turn);
                SCOPED_TRACE("page " + std::to_string(expected));
                ASSERT_EQ(window->SelectedTab(), expected);
                QWidget* focus = QApplication::focusWidget();
                ASSERT_NE(focus, nullptr);
                EXPECT_TRUE(focus->isVisible()) << focus->metaObject()->className();
                const auto& fields = pages[static_cast<std::size_t>(expected)];
                const bool onPage =
                    std::any_of(fields.begin(), fields.end(), [&](int id) { return window->Item(id) == focus; });
                if (turn.key == Qt::Key_unknown) {
                    EXPECT_TRUE(focus == window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar() || onPage);
                } else {
                    EXPECT_TRUE(onPage) << focus->metaObject()->className();
                }
                // Keys the page has no use for change nothing unseen.
                const auto before = FieldTexts(*window);
                const std::int32_t picture = window->Record().PictureLength;
                QTest::keyClicks(focus, QStringLiteral("HIDDEN"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
                if (expected != 0) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
                const auto after = FieldTexts(*window);
                for (const auto& [id, text] : before) {
                    if (!window->IsItemShown(id)) {
                        EXPECT_EQ(after.at(id), text) << "hidden field " << id;
                    }
                }
                EXPECT_EQ(window->Record().PictureLength, picture);
            }
        }
    }
}

// The keys of the Image page work however the user came to it, even from a
// text whose caret was in it: Delete removes the picture, Ctrl+V imports one.
TEST_F(WindowTest, ImagePageKeysWorkAfterATurnFromAnyPage) {
    const struct {
        const char* name;
        int from;
        Turn turn;
    } cases[] = {
        {"Ctrl+Tab from Information", 3, kTurns[0]},
        {"Ctrl+PageUp from Company", 1, kTurns[5]},
        {"Ctrl+Shift+Tab from Company", 1, kTurns[1]},
        {"Ctrl+PageDown from Information", 3, kTurns[4]},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = Open(SamplesDir() + "/sample.ovt");
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        window->SelectTab(c.from);
        QApplication::processEvents();
        ASSERT_TRUE(QApplication::focusWidget() && QApplication::focusWidget()->isVisible());
        const auto before = FieldTexts(*window);
        TurnPage(*window, c.turn);
        ASSERT_EQ(window->SelectedTab(), 0);
        EXPECT_EQ(QApplication::focusWidget(), window->Item(resources::kIdPicture));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->Record().PictureLength == 0; }, 500)) << "Delete removes";
        EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("N/A"));
        QImage copied(40, 30, QImage::Format_RGB32);
        copied.fill(Qt::darkCyan);
        QApplication::clipboard()->setImage(copied);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_GT(window->Record().PictureLength, 0) << "Ctrl+V imports";
        EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("40 x 30"));
        EXPECT_EQ(FieldTexts(*window), before);
    }
    QApplication::clipboard()->clear();
}

// Backwards from the first page is the last page, and Shift+Tab then walks
// that page's controls from its last one back, never into another page.
TEST_F(WindowTest, BackwardsFromTheFirstPageWalksTheLastPageBackwards) {
    for (bool viewer : {false, true}) {
        const auto& pages = viewer ? kViewerPages : kMakerPages;
        for (const Turn& turn : {kTurns[1], kTurns[2], kTurns[3], kTurns[5]}) {
            SCOPED_TRACE(std::string(viewer ? "viewer, " : "maker, ") + turn.name);
            auto window = OpenIn(viewer, SamplesDir() + "/sample.ovt");
            window->activateWindow();
            QApplication::setActiveWindow(window.get());
            QApplication::processEvents();
            for (std::size_t back = 1; back <= pages.size(); ++back) {
                const std::size_t page = (pages.size() * 2 - back) % pages.size();
                TurnPage(*window, turn);
                ASSERT_EQ(window->SelectedTab(), static_cast<int>(page));
                // Shift+Tab from the page's first control: its last, and on back to the first.
                const auto& fields = pages[page];
                window->Item(fields.front())->setFocus(Qt::TabFocusReason);
                std::vector<int> visited;
                for (std::size_t step = 0; step < fields.size(); ++step) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                    QWidget* focus = QApplication::focusWidget();
                    const auto at =
                        std::find_if(fields.begin(), fields.end(), [&](int id) { return window->Item(id) == focus; });
                    const bool onTabs = focus == window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar();
                    visited.push_back(at != fields.end() ? *at : onTabs ? resources::kIdTabs : -1);
                }
                // A page with one control goes to the tabs.
                std::vector<int> expected(fields.rbegin(), fields.rend() - 1);
                expected.push_back(fields.size() == 1 ? resources::kIdTabs : fields.front());
                EXPECT_EQ(visited, expected) << "page " << page;
                // From the tabs Shift+Tab enters the page at its last control, Tab at its first.
                QWidget* bar = window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar();
                bar->setFocus(Qt::MouseFocusReason);
                QTest::keyClick(bar, Qt::Key_Backtab, Qt::ShiftModifier);
                EXPECT_EQ(QApplication::focusWidget(), window->Item(fields.back())) << "page " << page;
                bar->setFocus(Qt::MouseFocusReason);
                QTest::keyClick(bar, Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), window->Item(fields.front())) << "page " << page;
                window->Item(fields.front())->setFocus(Qt::TabFocusReason);
            }
        }
    }
}

// Tab and Shift+Tab leave a multi-line text and never type a tab character;
// where the page has no other control they go to the tabs, and from the tabs
// back into the page.
TEST_F(WindowTest, TabLeavesTheTextsAndTypesNoTab) {
    const struct {
        const char* name;
        int tab;
        int field;
        int next;  // where Tab goes; the field itself when it is the page's only one
        int previous;
    } cases[] = {
        {"General Information", 3, resources::kIdGeneralInformation, resources::kIdTabs, resources::kIdTabs},
        {"Street Address", 1, resources::kIdStreetAddress, resources::kIdCity, resources::kIdCompany},
    };
    auto window = Open(SamplesDir() + "/sample.ovt");
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    for (const auto& c : cases) {
        for (const auto& [key, modifiers, to] :
             {std::tuple{Qt::Key_Tab, Qt::KeyboardModifiers(), c.next},
              std::tuple{Qt::Key_Backtab, Qt::KeyboardModifiers(Qt::ShiftModifier), c.previous}}) {
            SCOPED_TRACE(std::string(c.name) + (key == Qt::Key_Tab ? ", Tab" : ", Shift+Tab"));
            window->SelectTab(c.tab);
            window->Item(c.field)->setFocus(Qt::TabFocusReason);
            const QString text = window->ItemText(c.field);
            QTest::keyClick(window->Item(c.field), key, modifiers);
            EXPECT_EQ(window->ItemText(c.field), text);
            EXPECT_FALSE(window->ItemText(c.field).contains(QChar('\t')));
            QWidget* bar = window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar();
            EXPECT_EQ(QApplication::focusWidget(), to == resources::kIdTabs ? bar : window->Item(to));
            if (to == resources::kIdTabs) {
                QTest::keyClick(bar, key, modifiers);
                EXPECT_EQ(QApplication::focusWidget(), window->Item(c.field)) << "back into the page";
            }
        }
    }
}

// Shift+F10 and the Menu key open the window's own menu from every control
// of every page in both programs (Alt+Space is the desktop's on most).
TEST_F(WindowTest, MenuKeysOpenTheWindowMenuFromAnyControl) {
    for (bool viewer : {false, true}) {
        const auto& pages = viewer ? kViewerPages : kMakerPages;
        auto window = OpenIn(viewer, SamplesDir() + "/sample.ovt");
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        for (std::size_t page = 0; page < pages.size(); ++page) {
            window->SelectTab(static_cast<int>(page));
            for (int id : pages[page]) {
                for (const auto& [key, modifiers] :
                     {std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                      std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                      std::pair{Qt::Key_Space, Qt::KeyboardModifiers(Qt::AltModifier)}}) {
                    SCOPED_TRACE(std::string(viewer ? "viewer " : "maker ") + std::to_string(id) + " key " +
                                 std::to_string(key));
                    window->Item(id)->setFocus(Qt::TabFocusReason);
                    const auto before = FieldTexts(*window);
                    QTest::keyClick(window->Item(id), key, modifiers);
                    QMenu* menu = window->PoppedMenu();
                    ASSERT_NE(menu, nullptr);
                    EXPECT_TRUE(menu->isVisible());
                    menu->hide();
                    EXPECT_EQ(FieldTexts(*window), before);
                }
            }
        }
    }
}

}  // namespace
}  // namespace ovlet::window
