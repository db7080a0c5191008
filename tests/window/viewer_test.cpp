// The viewer's form of the card window: what a recipient sees and can do.
#include <QAbstractButton>
#include <QPlainTextEdit>

#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace {

const std::vector<int> kSummaryBlock = {1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067};
const std::vector<int> kMakerOnly = {1000, 1001, 1002, 1050, 1006, 1007, 1073, 1055, 1011, 1012, 1020, 1027, 1044};

TEST_F(WindowTest, ViewerShowsThreePagesAndOnlyAboutAndExit) {
    auto window = Open<CViewerDialog>();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Norvane Ovlet Viewer"));
    const std::pair<int, std::vector<int>> pages[] = {
        {0, {1046, 1052, 1053}},
        {1, kSummaryBlock},
        {2, {1048, 1047}},
    };
    for (const auto& [tab, shown] : pages) {
        SCOPED_TRACE(tab);
        window->SelectTab(tab);
        for (int id : shown) EXPECT_TRUE(window->IsItemShown(id)) << id;
        for (int id : kMakerOnly) EXPECT_FALSE(window->IsItemShown(id)) << id;
        for (int id : {1005, 1003, 1074, 1004, 1049}) EXPECT_TRUE(window->IsItemShown(id)) << id;
        if (tab != 1) {
            for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id)) << id;
        }
    }
    EXPECT_EQ(window->Item(1005)->toolTip(), QStringLiteral("About Ovlet Maker"));
    EXPECT_TRUE(window->PicturePanel()->GetPictureFile().empty());
}

TEST_F(WindowTest, ViewerSummaryOfAFullCardAndOfAnEmptyOne) {
    auto full = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
    const std::pair<int, QString> lines[] = {
        {1058, QStringLiteral("Harbour Light Instruments")},
        {1059,
         QStringLiteral("Unit 4, Quayside Works\n12 Ropewalk Lane\nPortsmouth, Hampshire United Kingdom PO1 3AX")},
        {1060, QStringLiteral("https://harbourlight.example")},
        {1062, QStringLiteral("Ren\u00e9e A. Okafor")},
        {1063, QStringLiteral("Lead Engineer, Marine Sensors")},
        {1064, QStringLiteral("Office: +44 23 9200 0100")},
        {1065, QStringLiteral("Mobile: +44 7700 900123")},
        {1067, QStringLiteral("Fax: +44 23 9200 0199")},
        {1066, QStringLiteral("E-Mail: renee.okafor@harbourlight.example")},
    };
    for (const auto& [id, text] : lines) {
        QString shown = full->ItemText(id);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(shown, text) << id;
    }
    EXPECT_TRUE(full->LinkButton(1060)->IsLinkStyle());
    EXPECT_FALSE(full->LinkButton(1064)->IsLinkStyle());

    ScratchDir dir;
    WriteCard(dir / "empty.ovt", CardRecord{});
    auto empty = Open<CViewerDialog>(dir / "empty.ovt");
    EXPECT_EQ(empty->ItemText(1059), QStringLiteral("\n  "));
    EXPECT_EQ(empty->ItemText(1062), QStringLiteral("  "));
    EXPECT_EQ(empty->ItemText(1066), QStringLiteral("E-Mail: "));
    EXPECT_EQ(empty->ItemText(1064), QString());
}

TEST_F(WindowTest, ViewerLinksHandOverOnlySafeAddresses) {
    struct Case {
        const char* webSite;
        const char* eMail;
        const char* webAddress;  // null: refused with a message
        const char* mailAddress;
    };
    const Case cases[] = {
        {"https://harbourlight.example", "ann@x.example", "https://harbourlight.example", "mailto:ann@x.example"},
        {"www.example.com", "a@b.c?cc=eve@x.y", "http://www.example.com", "mailto:a@b.c%3Fcc%3Deve@x.y"},
        {"file:///etc/passwd", "a@b.c,eve@x.y", nullptr, "mailto:a@b.c%2Ceve@x.y"},
        {"/usr/bin/xterm", "", nullptr, "mailto:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.webSite);
        ui.calls.clear();
        ScratchDir dir;
        CardRecord card;
        card.WebSite = c.webSite;
        card.EMail = c.eMail;
        WriteCard(dir / "c.ovt", card);
        auto window = Open<CViewerDialog>(dir / "c.ovt");
        window->SelectTab(1);
        window->LinkButton(1060)->click();
        window->LinkButton(1066)->click();
        window->LinkButton(1064)->click();  // plain lines open nothing
        const auto urls = ui.Of("url");
        if (c.webAddress) {
            ASSERT_EQ(urls.size(), 2u);
            EXPECT_EQ(urls[0].text, QString::fromUtf8(c.webAddress));
            EXPECT_TRUE(Messages().empty());
        } else {
            ASSERT_EQ(urls.size(), 1u);
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_TRUE(Messages()[0].contains(QStringLiteral("not opened")));
        }
        EXPECT_EQ(urls.back().text, QString::fromUtf8(c.mailAddress));
    }
}

TEST_F(WindowTest, ViewerEndsWithoutAQuestionOnEveryWayOut) {
    const std::pair<const char*, void (*)(CCardDialog&)> ways[] = {
        {"Exit", [](CCardDialog& w) { qobject_cast<QAbstractButton*>(w.Item(1003))->click(); }},
        {"close box", [](CCardDialog& w) { w.close(); }},
        {"Escape", [](CCardDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Enter", [](CCardDialog& w) { QTest::keyClick(&w, Qt::Key_Return); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        ui.calls.clear();
        auto window = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
        leave(*window);
        QApplication::processEvents();
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(ui.calls.empty());
    }
}

TEST_F(WindowTest, ViewerInformationIsReadOnlyButSelectable) {
    auto window = Open<CViewerDialog>(SamplesDir() + "/sample.ovt");
    window->SelectTab(2);
    auto* info = window->ItemAs<QPlainTextEdit>(1047);
    const QString before = info->toPlainText();
    QTest::keyClicks(info, "typed");
    EXPECT_EQ(info->toPlainText(), before);
    EXPECT_TRUE(info->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(window->focusWidget(), info);
}

TEST_F(WindowTest, ViewerReportsAnUnopenableCardAndShowsAnEmptyOne) {
    auto window = Open<CViewerDialog>("/nonexistent/card.ovt");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(ui.calls[0].caption, QStringLiteral("Ovlet Maker"));
    EXPECT_EQ(window->ItemText(1058), QString());
}

}  // namespace

#include "window/about_dialog.h"
#include "window/card_app.h"

namespace {

TEST_F(WindowTest, AboutDialogOfEachProgram) {
    struct Case {
        bool viewer;
        const char* caption;
        const char* version;
        const char* link;
    };
    const Case cases[] = {
        {false, "About Ovlet Maker", "Ovlet Maker Version 1.0", "Visit: https://ovlet.app/ for latest updates"},
        {true, "About Ovlet Viewer", "Ovlet Viewer Version 1.0", "Download Ovlet Maker"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        ui.calls.clear();
        CAboutDialog about(c.viewer);
        about.Create();
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(about.ItemText(1068), QString::fromUtf8(c.version));
        EXPECT_EQ(about.ItemText(1076), QString::fromUtf8(c.link));
        qobject_cast<QAbstractButton*>(about.Item(1076))->click();
        ASSERT_EQ(ui.Of("url").size(), 1u);
        EXPECT_EQ(ui.Of("url")[0].text, QStringLiteral("https://ovlet.app/"));
    }
}

}  // namespace

namespace {

// A file manager hands over a path with spaces and letters beyond ASCII as one argument.
TEST_F(WindowTest, ViewerOpensAPathWithSpacesAndAccents) {
    ScratchDir dir;
    const std::string path = dir /
                             "K\xC3\xB6ln cards/Ren\xC3\xA9"
                             "e Okafor.ovt";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    CardRecord card;
    card.Company = "K\xF6ln GmbH";
    WriteCard(path, card);
    auto window = Open<CViewerDialog>(CardFileFromCommandLine({"ovview", path}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(window->ItemText(1058), QString::fromUtf8("K\xC3\xB6ln GmbH"));
    EXPECT_EQ(window->ItemText(1049), QString::fromUtf8(path.c_str()));
}

}  // namespace
