// What the windows show where a text does not fit, how a multi-line text
// shows the focus, what a screen reader hears of the address block and how
// the help window lays out its two panes.
#include <QApplication>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabBar>
#include <QTextBrowser>

#include "controls/link_button.h"
#include "platform/qt/controls_basic.h"
#include "platform/qt/help_window.h"
#include "window/program_data.h"
#include "window/translations.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

// A long path keeps the file's name in sight (the middle goes), a cut summary
// line ends in an ellipsis; either shows its whole text as a tool tip, and a
// text that fits has none. The text itself stays whole.
TEST_F(WindowTest, CutTextsShowAnEllipsisAndTheWholeTextAsATip) {
    ScratchDir dir;
    const std::string folder = dir / std::string(120, 'f');
    std::filesystem::create_directories(folder);
    card::CardRecord card = CompanyCard(std::string(50, 'W'));
    card.WebSite = "https://www.example.com/" + std::string(50, 'p');
    card.FirstName = "Ann";
    WriteCard(folder + "/long-card-name.ovt", card);
    WriteCard(dir / "short.ovt", CompanyCard("Co"));

    auto maker = Open(folder + "/long-card-name.ovt");
    auto* file = maker->ItemAs<platform::ElidingLabel>(resources::kIdCurrentFile);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(), QString::fromStdString(folder + "/long-card-name.ovt"));
    EXPECT_TRUE(file->IsTextCut());
    EXPECT_TRUE(file->ShownText().contains(QChar(0x2026)));
    EXPECT_TRUE(file->ShownText().endsWith(QStringLiteral("long-card-name.ovt"))) << file->ShownText().toStdString();
    EXPECT_EQ(file->toolTip(), file->text());
    EXPECT_EQ(maker->Record().CurrentPath, folder + "/long-card-name.ovt") << "the path is kept whole";

    auto viewer = Open<viewer::CViewerDialog>(folder + "/long-card-name.ovt");
    viewer->SelectTab(1);
    auto* company = viewer->ItemAs<platform::ElidingLabel>(resources::kIdCompanyLine);
    ASSERT_NE(company, nullptr);
    EXPECT_TRUE(company->IsTextCut());
    EXPECT_TRUE(company->ShownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(company->toolTip(), QString(50, QChar('W')));
    controls::CLinkButton* site = viewer->LinkButton(resources::kIdWebSiteLine);
    EXPECT_TRUE(site->IsTextCut());
    EXPECT_TRUE(site->ShownText().ends_with("\u2026"));
    EXPECT_EQ(viewer->Item(resources::kIdWebSiteLine)->toolTip(), viewer->ItemText(resources::kIdWebSiteLine));

    auto fits = Open<viewer::CViewerDialog>(dir / "short.ovt");
    for (int id : {resources::kIdCurrentFile, resources::kIdCompanyLine, resources::kIdNameLine}) {
        auto* label = fits->ItemAs<platform::ElidingLabel>(id);
        ASSERT_NE(label, nullptr) << id;
        EXPECT_FALSE(label->IsTextCut()) << id;
        EXPECT_TRUE(label->toolTip().isEmpty()) << id;
    }
    EXPECT_TRUE(fits->Item(resources::kIdEMailLine)->toolTip().isEmpty());
}

// A multi-line text marks the focus on its frame as a one-line edit does.
TEST_F(WindowTest, MultiLineTextsShowTheFocus) {
    auto window = Open(SamplesDir() + "/sample.ovt");
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    for (const auto& [tab, id] : {std::pair{1, resources::kIdCompany}, std::pair{1, resources::kIdStreetAddress},
                                  std::pair{3, resources::kIdGeneralInformation}}) {
        SCOPED_TRACE(id);
        window->SelectTab(tab);
        QWidget* field = window->Item(id);
        window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar()->setFocus();
        QApplication::processEvents();
        ASSERT_FALSE(field->hasFocus());
        const QImage without = field->grab().toImage();
        field->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(field->hasFocus());
        const QImage with = field->grab().toImage();
        // The frame's pixels change, down the left edge and along the top.
        int changed = 0;
        for (int y = 0; y < with.height(); ++y) changed += with.pixel(0, y) != without.pixel(0, y);
        for (int x = 0; x < with.width(); ++x) changed += with.pixel(x, 0) != without.pixel(x, 0);
        EXPECT_GT(changed, (with.width() + with.height()) / 2);
    }
}

// The address block is read as its lines, without the card's line breaks.
TEST_F(WindowTest, TheAddressBlockIsReadWithoutLineBreaks) {
    auto viewer = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    const QString name = viewer->Item(resources::kIdAddressBlock)->accessibleName();
    EXPECT_FALSE(name.contains(QChar('\r')));
    EXPECT_FALSE(name.contains(QChar('\n')));
    const QString shown = viewer->ItemText(resources::kIdAddressBlock);
    ASSERT_TRUE(shown.contains(QStringLiteral("\r\n")));  // the street address's own line break
    EXPECT_EQ(
        name,
        shown.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts).join(QStringLiteral(", ")));
    EXPECT_TRUE(name.startsWith(QStringLiteral("Unit 4, Quayside Works, 12 Ropewalk Lane, Portsmouth")))
        << name.toStdString();
}

// The help window's contents and text meet at the splitter's handle.
TEST_F(WindowTest, HelpWindowHasNoEmptyBandBetweenItsPanes) {
    auto window = Open();
    ASSERT_TRUE(platform::ShowHelpWindow(window.get(), QString::fromStdString(LocalizedDataFile("ovmake-help.html"))));
    QApplication::processEvents();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->findChild<QTextBrowser*>()) help = w;
    }
    ASSERT_NE(help, nullptr);
    auto* splitter = help->findChild<QSplitter*>();
    auto* contents = help->findChild<QListWidget*>();
    auto* text = help->findChild<QTextBrowser*>();
    ASSERT_TRUE(splitter && contents && text);
    EXPECT_LE(text->x() - (contents->x() + contents->width()), splitter->handleWidth());
    EXPECT_GT(contents->width(), 50);
    EXPECT_GT(text->width(), help->width() / 2);
    help->close();
}

}  // namespace
}  // namespace ovlet::window
