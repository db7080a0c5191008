// The viewer's form of the card window: what a recipient sees and can do.
#include <QAbstractButton>
#include <QPlainTextEdit>

#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "viewer/viewer_dialog.h"
#include "window/about_dialog.h"
#include "window/card_app.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

const std::vector<int> kSummaryBlock = {
    resources::kIdCompanyGroup, resources::kIdCompanyLine, resources::kIdAddressBlock, resources::kIdWebSiteLine,
    resources::kIdContactGroup, resources::kIdNameLine,    resources::kIdTitleLine,    resources::kIdPhone1Line,
    resources::kIdPhone2Line,   resources::kIdEMailLine,   resources::kIdFaxLine};
const std::vector<int> kMakerOnly = {resources::kIdNew,          resources::kIdOpen,   resources::kIdSave,
                                     resources::kIdSaveAs,       resources::kIdImport, resources::kIdHelp,
                                     resources::kIdToolbarFrame, resources::kIdRemove, resources::kIdCompany,
                                     resources::kIdFirstName,    resources::kIdEMail,  resources::kIdCity,
                                     resources::kIdStreetAddress};

TEST_F(WindowTest, ViewerShowsThreePagesAndOnlyAboutAndExit) {
    auto window = Open<viewer::CViewerDialog>();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Norvane Ovlet Viewer"));
    const std::pair<int, std::vector<int>> pages[] = {
        {0, {resources::kIdPicture, resources::kIdImageSizeLabel, resources::kIdImageSize}},
        {1, kSummaryBlock},
        {2, {resources::kIdGeneralInformationLabel, resources::kIdGeneralInformation}},
    };
    for (const auto& [tab, shown] : pages) {
        SCOPED_TRACE(tab);
        window->SelectTab(tab);
        for (int id : shown) EXPECT_TRUE(window->IsItemShown(id)) << id;
        for (int id : kMakerOnly) EXPECT_FALSE(window->IsItemShown(id)) << id;
        for (int id : {resources::kIdAbout, resources::kIdExit, resources::kIdViewerFrame, resources::kIdTabs,
                       resources::kIdCurrentFile})
            EXPECT_TRUE(window->IsItemShown(id)) << id;
        if (tab != 1) {
            for (int id : kSummaryBlock) EXPECT_FALSE(window->IsItemShown(id)) << id;
        }
    }
    EXPECT_EQ(window->Item(resources::kIdAbout)->toolTip(), QStringLiteral("About Ovlet Maker (F1)"));
    EXPECT_TRUE(window->PicturePanel()->GetPictureFile().empty());
}

TEST_F(WindowTest, EachFormMakesOnlyTheControlsItShows) {
    auto viewer = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    for (int id : kMakerOnly) EXPECT_EQ(viewer->Item(id), nullptr) << id;
    for (int id : kSummaryBlock) EXPECT_NE(viewer->Item(id), nullptr) << id;
    auto maker = Open(SamplesDir() + "/sample.ovt");
    for (int id : kMakerOnly) EXPECT_NE(maker->Item(id), nullptr) << id;
    for (int id : kSummaryBlock) EXPECT_EQ(maker->Item(id), nullptr) << id;
    // Fields without a control keep what the card holds.
    EXPECT_EQ(viewer->Record().Company, maker->Record().Company);
    EXPECT_FALSE(viewer->Record().Company.empty());
    EXPECT_EQ(viewer->GetEditText(&card::CardRecord::StreetAddress),
              maker->GetEditText(&card::CardRecord::StreetAddress));
}

TEST_F(WindowTest, ViewerSummaryOfAFullCardAndOfAnEmptyOne) {
    auto full = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    const std::pair<int, QString> lines[] = {
        {resources::kIdCompanyLine, QStringLiteral("Harbour Light Instruments")},
        {resources::kIdAddressBlock,
         QStringLiteral("Unit 4, Quayside Works\n12 Ropewalk Lane\nPortsmouth, Hampshire United Kingdom PO1 3AX")},
        {resources::kIdWebSiteLine, QStringLiteral("https://harbourlight.example")},
        {resources::kIdNameLine, QStringLiteral("Ren\u00e9e A. Okafor")},
        {resources::kIdTitleLine, QStringLiteral("Lead Engineer, Marine Sensors")},
        {resources::kIdPhone1Line, QStringLiteral("Office: +44 23 9200 0100")},
        {resources::kIdPhone2Line, QStringLiteral("Mobile: +44 7700 900123")},
        {resources::kIdFaxLine, QStringLiteral("Fax: +44 23 9200 0199")},
        {resources::kIdEMailLine, QStringLiteral("E-Mail: renee.okafor@harbourlight.example")},
    };
    for (const auto& [id, text] : lines) {
        QString shown = full->ItemText(id);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(shown, text) << id;
    }
    EXPECT_TRUE(full->LinkButton(resources::kIdWebSiteLine)->IsLinkStyle());
    EXPECT_FALSE(full->LinkButton(resources::kIdPhone1Line)->IsLinkStyle());

    ScratchDir dir;
    WriteCard(dir / "empty.ovt", card::CardRecord{});
    auto empty = Open<viewer::CViewerDialog>(dir / "empty.ovt");
    EXPECT_EQ(empty->ItemText(resources::kIdAddressBlock), QStringLiteral("\n  "));
    EXPECT_EQ(empty->ItemText(resources::kIdNameLine), QStringLiteral("  "));
    EXPECT_EQ(empty->ItemText(resources::kIdEMailLine), QStringLiteral("E-Mail: "));
    EXPECT_EQ(empty->ItemText(resources::kIdPhone1Line), QString());
}

// The web site and e-mail links hand over only what is safe: one web address,
// one mail recipient; anything else is refused with a message saying why.
TEST_F(WindowTest, ViewerLinksHandOverOnlySafeAddresses) {
    struct Case {
        const char* webSite;
        const char* eMail;
        const char* webAddress;  // null: refused with a message
        const char* mailAddress;
    };
    const Case cases[] = {
        {"https://harbourlight.example", "ann@x.example", "https://harbourlight.example", "mailto:ann@x.example"},
        {"www.example.com", "a@b.c?subject=hi", "http://www.example.com", "mailto:a@b.c%3Fsubject%3Dhi"},
        {"file:///etc/passwd", "", nullptr, "mailto:"},
        {"/usr/bin/xterm", "a@b.c,eve@x.y", nullptr, nullptr},
        {"example.com", "a@b.c;eve@x.y", "http://example.com", nullptr},
        {"example.com", "a@b.c eve@x.y", "http://example.com", nullptr},
        {"example.com", "a@b.c\r\nBcc: eve@x.y", "http://example.com", nullptr},
        {"example.com", "a@b.c?cc=eve@x.y", "http://example.com", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.webSite) + " | " + c.eMail);
        ui.calls.clear();
        ScratchDir dir;
        card::CardRecord card;
        card.WebSite = c.webSite;
        card.EMail = c.eMail;
        WriteCard(dir / "c.ovt", card);
        auto window = Open<viewer::CViewerDialog>(dir / "c.ovt");
        window->SelectTab(1);
        window->ItemAs<QAbstractButton>(resources::kIdWebSiteLine)->click();
        window->ItemAs<QAbstractButton>(resources::kIdEMailLine)->click();
        window->ItemAs<QAbstractButton>(resources::kIdPhone1Line)->click();  // plain lines open nothing
        std::vector<QString> expected;
        std::size_t refusals = 0;
        for (const char* address : {c.webAddress, c.mailAddress}) {
            if (address) {
                expected.push_back(QString::fromUtf8(address));
            } else {
                ++refusals;
            }
        }
        std::vector<QString> handed;
        for (const auto& call : ui.Of("url")) handed.push_back(call.text);
        EXPECT_EQ(handed, expected);
        ASSERT_EQ(Messages().size(), refusals);
        for (const auto& message : ui.Of("message")) {
            EXPECT_TRUE(message.text.contains(QStringLiteral("not opened"))) << message.text.toStdString();
            EXPECT_EQ(message.caption, QStringLiteral("Ovlet Maker"));
            EXPECT_EQ(message.icon, platform::MessageIcon::Exclamation);
        }
        if (!c.mailAddress) {
            EXPECT_EQ(Messages().back(),
                      QStringLiteral("The e-mail address on this card is not a single address, so it is not opened."));
        }
    }
}

TEST_F(WindowTest, ViewerEndsWithoutAQuestionOnEveryWayOut) {
    const std::pair<const char*, void (*)(CardWindowOnQt&)> ways[] = {
        {"Exit", [](CardWindowOnQt& w) { qobject_cast<QAbstractButton*>(w.Item(resources::kIdExit))->click(); }},
        {"close box", [](CardWindowOnQt& w) { w.close(); }},
        {"Escape", [](CardWindowOnQt& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Enter", [](CardWindowOnQt& w) { QTest::keyClick(&w, Qt::Key_Return); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        ui.calls.clear();
        auto window = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
        leave(*window);
        QApplication::processEvents();
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(ui.calls.empty());
    }
}

TEST_F(WindowTest, ViewerInformationIsReadOnlyButSelectable) {
    auto window = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    window->SelectTab(2);
    auto* info = window->ItemAs<QPlainTextEdit>(resources::kIdGeneralInformation);
    const QString before = info->toPlainText();
    QTest::keyClicks(info, "typed");
    EXPECT_EQ(info->toPlainText(), before);
    EXPECT_TRUE(info->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(window->focusWidget(), info);
}

TEST_F(WindowTest, ViewerReportsAnUnopenableCardAndShowsAnEmptyOne) {
    auto window = Open<viewer::CViewerDialog>("/nonexistent/card.ovt");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(ui.calls[0].caption, QStringLiteral("Ovlet Maker"));
    EXPECT_EQ(window->ItemText(resources::kIdCompanyLine), QString());
}

TEST_F(WindowTest, AboutDialogOfEachProgram) {
    struct Case {
        const AboutForm& form;
        const char* caption;
        const char* version;
        const char* link;
    };
    const Case cases[] = {
        {maker::kMakerAbout, "About Ovlet Maker", "Ovlet Maker Version 1.0",
         "Visit: https://ovlet.app/ for latest updates"},
        {viewer::kViewerAbout, "About Ovlet Viewer", "Ovlet Viewer Version 1.0", "Download Ovlet Maker"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        ui.calls.clear();
        AboutOnQt about(c.form);
        EXPECT_EQ(about.dialog.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(about.dialog.ItemText(resources::kIdVersionText), QString::fromUtf8(c.version));
        EXPECT_EQ(about.dialog.ItemText(resources::kIdAboutWebLink), QString::fromUtf8(c.link));
        qobject_cast<QAbstractButton*>(about.dialog.Item(resources::kIdAboutWebLink))->click();
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
    card::CardRecord card;
    card.Company = "K\xF6ln GmbH";
    WriteCard(path, card);
    auto window = Open<viewer::CViewerDialog>(CardFileFromCommandLine({"ovview", path}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(window->ItemText(resources::kIdCompanyLine), QString::fromUtf8("K\xC3\xB6ln GmbH"));
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QString::fromUtf8(path.c_str()));
}

}  // namespace

namespace {

// Enter in the General Information text belongs to the text: a line break in
// the maker, nothing in the viewer's read-only text; it never ends the window.
// Enter anywhere else is still the window's way out.
TEST_F(WindowTest, EnterInTheInformationTextStaysInTheText) {
    struct Case {
        bool viewer;
        bool inText;
        bool open;  // the window is still open afterwards
    };
    const Case cases[] = {{true, true, true}, {false, true, true}, {true, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.viewer) + std::to_string(c.inText));
        ui.calls.clear();
        std::unique_ptr<CardWindowOnQt> window = OpenIn(c.viewer, SamplesDir() + "/sample.ovt");
        window->activateWindow();
        window->SelectTab(static_cast<int>(window->Form().pages.size()) - 1);
        auto* info = window->ItemAs<QPlainTextEdit>(resources::kIdGeneralInformation);
        ASSERT_NE(info, nullptr);
        const QString before = info->toPlainText();
        QWidget* target = info;
        if (!c.inText) {
            window->SelectTab(0);
            target = window.get();
        }
        QTest::keyClick(target, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(window->isVisible(), c.open);
        EXPECT_TRUE(ui.calls.empty());
        EXPECT_EQ(info->toPlainText().size(), before.size() + (c.viewer ? 0 : 1));
    }
}

}  // namespace
}  // namespace ovlet::window
