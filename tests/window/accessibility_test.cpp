// What assistive technology and a keyboard user meet: every control named
// through its accessibility interface, and a key for every command.
#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QTabBar>
#include <QTimer>

#include "controls/picture_static.h"
#include "platform/qt/controls_basic.h"
#include "viewer/viewer_dialog.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

struct Named {
    int id;
    const char* name;
    QAccessible::Role role;
    const char* description = "";  // checked where given (a button's is its tool tip)
};

// Every control a user reaches, named as the sample card shows it: a field by
// its label, a button by its tool tip, a link by its text, the picture by what
// it shows, a group by its caption.
const Named kNamedControls[] = {
    {resources::kIdNew, "Create a new Ovlet", QAccessible::Button},
    {resources::kIdOpen, "Open an existing Ovlet", QAccessible::Button},
    {resources::kIdSave, "Save current Ovlet", QAccessible::Button},
    {resources::kIdSaveAs, "Save current Ovlet with a different name", QAccessible::Button},
    {resources::kIdImport, "Import a graphical representation of the Ovlet", QAccessible::Button},
    {resources::kIdHelp, "Help", QAccessible::Button},
    {resources::kIdAbout, "About Ovlet Maker", QAccessible::Button},
    {resources::kIdExit, "Exit", QAccessible::Button},
    {resources::kIdRemove, "Remove image from current Ovlet", QAccessible::Button},
    {resources::kIdPicture, "Card picture, 320 x 200", QAccessible::Graphic},
    {resources::kIdCompany, "Company", QAccessible::EditableText},
    {resources::kIdStreetAddress, "Street Address", QAccessible::EditableText},
    {resources::kIdCity, "City", QAccessible::EditableText},
    {resources::kIdStateProvince, "State/Province", QAccessible::EditableText},
    {resources::kIdCountry, "Country", QAccessible::EditableText},
    {resources::kIdPostalCode, "Postal Code", QAccessible::EditableText},
    {resources::kIdWebSite, "Company Web Site", QAccessible::EditableText},
    {resources::kIdFirstName, "First", QAccessible::EditableText},
    {resources::kIdMiddleName, "Middle", QAccessible::EditableText},
    {resources::kIdLastName, "Last", QAccessible::EditableText},
    {resources::kIdJobTitle, "Job Title", QAccessible::EditableText},
    {resources::kIdDepartment, "Department", QAccessible::EditableText},
    {resources::kIdEMail, "E-Mail", QAccessible::EditableText},
    {resources::kIdFax, "Fax", QAccessible::EditableText},
    {resources::kIdPhone1Description, "Desc", QAccessible::EditableText, "Phone 1"},
    {resources::kIdPhone1Number, "Phone", QAccessible::EditableText, "Phone 1"},
    {resources::kIdPhone2Description, "Desc", QAccessible::EditableText, "Phone 2"},
    {resources::kIdPhone2Number, "Phone", QAccessible::EditableText, "Phone 2"},
    {resources::kIdGeneralInformation, "General Information", QAccessible::EditableText},
    {resources::kIdPhone1Group, "Phone 1", QAccessible::Grouping},
    {resources::kIdPhone2Group, "Phone 2", QAccessible::Grouping},
    {resources::kIdCompanyGroup, "Company", QAccessible::Grouping},
    {resources::kIdContactGroup, "Contact", QAccessible::Grouping},
    {resources::kIdWebSiteLine, "https://harbourlight.example", QAccessible::Link},
    {resources::kIdEMailLine, "E-Mail: renee.okafor@harbourlight.example", QAccessible::Link},
    {resources::kIdPhone1Line, "Office: +44 23 9200 0100", QAccessible::StaticText},
    {resources::kIdPhone2Line, "Mobile: +44 7700 900123", QAccessible::StaticText},
    {resources::kIdFaxLine, "Fax: +44 23 9200 0199", QAccessible::StaticText},
};

TEST_F(WindowTest, EveryControlIsNamedForAssistiveTechnology) {
    auto maker = Open(SamplesDir() + "/sample.ovt");
    auto viewer = Open<viewer::CViewerDialog>(SamplesDir() + "/sample.ovt");
    for (CardWindowOnQt* window :
         {static_cast<CardWindowOnQt*>(maker.get()), static_cast<CardWindowOnQt*>(viewer.get())}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        for (const Named& control : kNamedControls) {
            SCOPED_TRACE(control.id);
            if (!window->Item(control.id)) continue;  // a control the form never shows is not made
            QAccessibleInterface* accessible = Accessible(window->Item(control.id));
            ASSERT_NE(accessible, nullptr);
            EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(control.name));
            EXPECT_EQ(accessible->role(), control.role);
            if (*control.description) {
                EXPECT_EQ(accessible->text(QAccessible::Description), QString::fromUtf8(control.description));
            }
        }
        // The page tabs, and the picture panel of a card without a picture.
        QTabBar* bar = window->ItemAs<platform::TabControl>(resources::kIdTabs)->Bar();
        QAccessibleInterface* tabs = Accessible(bar);
        int pageTabs = 0;
        for (int i = 0; i < tabs->childCount(); ++i) {
            if (tabs->child(i)->role() != QAccessible::PageTab) continue;  // the bar's scroll buttons
            EXPECT_EQ(tabs->child(i)->text(QAccessible::Name), bar->tabText(pageTabs));
            EXPECT_FALSE(bar->tabText(pageTabs++).isEmpty());
        }
        EXPECT_EQ(pageTabs, static_cast<int>(window->Form().pages.size()));
        window->PicturePanel()->ClearPicture();
        EXPECT_EQ(Accessible(window->Item(resources::kIdPicture))->text(QAccessible::Name),
                  QStringLiteral("No Image Data"));
    }
    // A link names itself by its text exactly, '&' and all, and presses like a click.
    viewer->SetItemText(resources::kIdWebSiteLine, QStringLiteral("https://a.example/?x=1&y=2"));
    EXPECT_EQ(Accessible(viewer->Item(resources::kIdWebSiteLine))->text(QAccessible::Name),
              QStringLiteral("https://a.example/?x=1&y=2"));
    ui.calls.clear();
    Accessible(viewer->Item(resources::kIdEMailLine))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(ui.Of("url").size(), 1u);
    EXPECT_EQ(ui.Of("url")[0].text, QStringLiteral("mailto:renee.okafor@harbourlight.example"));
}

// Keys and the command each one runs, as the scripted desktop records it.
struct KeyCase {
    const char* name;
    bool viewer;
    bool newCard;  // else the sample card, read from a file
    int tab;
    int focus;  // the control that has the focus; kIdNone: the window's default
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* call;  // the first call the command makes ("message: ...", "file", "help", "about"); "" none
    bool windowEnds;
    bool pictureRemoved;  // the card has no picture afterwards
};

const KeyCase kKeys[] = {
    {"Ctrl+N New", false, false, 0, resources::kIdNone, Qt::Key_N, Qt::ControlModifier,
     "message: Do you wish to save your changes to the current document?", false, true},
    {"Ctrl+O Open", false, false, 1, resources::kIdCompany, Qt::Key_O, Qt::ControlModifier,
     "message: Do you wish to save your changes to the current document?", false, true},
    {"Ctrl+S Save", false, true, 2, resources::kIdFirstName, Qt::Key_S, Qt::ControlModifier, "file: save", false, true},
    {"Ctrl+Shift+S Save As", false, false, 0, resources::kIdNone, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier,
     "file: save", false, false},
    {"Ctrl+I Import", false, false, 3, resources::kIdGeneralInformation, Qt::Key_I, Qt::ControlModifier, "file: open",
     false, false},
    {"F1 Help", false, false, 0, resources::kIdNone, Qt::Key_F1, Qt::NoModifier, "help", false, false},
    {"Ctrl+Q Exit", false, false, 1, resources::kIdCity, Qt::Key_Q, Qt::ControlModifier,
     "message: Do you wish to save your changes before you exit?", true, false},
    {"Delete on the Image page removes the picture", false, false, 0, resources::kIdPicture, Qt::Key_Delete,
     Qt::NoModifier, "", false, true},
    {"Delete in a field deletes text", false, false, 1, resources::kIdCompany, Qt::Key_Delete, Qt::NoModifier, "",
     false, false},
    {"viewer: F1 About", true, false, 0, resources::kIdNone, Qt::Key_F1, Qt::NoModifier, "about: About Ovlet Viewer",
     false, false},
    {"viewer: Ctrl+Q Exit", true, false, 1, resources::kIdWebSiteLine, Qt::Key_Q, Qt::ControlModifier, "", true, false},
    {"viewer: Escape", true, false, 2, resources::kIdGeneralInformation, Qt::Key_Escape, Qt::NoModifier, "", true,
     false},
    {"viewer: the maker's keys do nothing", true, false, 0, resources::kIdNone, Qt::Key_N, Qt::ControlModifier, "",
     false, false},
    {"viewer: Delete does nothing", true, false, 0, resources::kIdPicture, Qt::Key_Delete, Qt::NoModifier, "", false,
     false},
};

TEST_F(WindowTest, EveryCommandHasItsKeys) {
    ScratchDir dir;
    WriteFile(dir / "card.ovt", FileBytes(SamplesDir() + "/sample.ovt"));
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.name);
        ui.calls.clear();
        const std::unique_ptr<CardWindowOnQt> window = OpenIn(c.viewer, c.newCard ? std::string() : dir / "card.ovt");
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        window->SelectTab(c.tab);
        if (c.focus != resources::kIdNone) window->Item(c.focus)->setFocus();
        QApplication::processEvents();
        const QString company = window->ItemText(resources::kIdCompany);
        // A modal dialog the command opens (About) is read and closed.
        QString dialogTitle;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window.get()) {
                dialogTitle = modal->windowTitle();
                modal->close();
            }
        });
        closer.start(10);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.get(), c.key, c.modifiers);
        // A button's keys press it visibly first: its command runs a moment later.
        (void)QTest::qWaitFor([&] { return !ui.calls.empty() || !dialogTitle.isEmpty() || !window->isVisible(); }, 300);
        QString first;
        if (!dialogTitle.isEmpty()) {
            first = QStringLiteral("about: ") + dialogTitle;
        } else if (!ui.calls.empty()) {
            const auto& call = ui.calls[0];
            first = call.kind == QStringLiteral("message") ? QStringLiteral("message: ") + call.text
                    : call.kind == QStringLiteral("file")
                        ? (call.file.save ? QStringLiteral("file: save") : QStringLiteral("file: open"))
                        : call.kind;
        }
        EXPECT_EQ(first, QString::fromUtf8(c.call));
        EXPECT_EQ(!window->isVisible(), c.windowEnds);
        EXPECT_EQ(window->Record().PictureLength == 0, c.pictureRemoved);
        if (c.focus == resources::kIdCompany && c.key == Qt::Key_Delete) {
            EXPECT_EQ(window->ItemText(resources::kIdCompany).size(), company.size() - 1);
        }
    }
}

}  // namespace
}  // namespace ovlet::window
