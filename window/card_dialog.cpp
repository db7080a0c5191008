#include "window/card_dialog.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

#include "card/card_summary.h"
#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "platform/controls_basic.h"
#include "platform/resources.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui_services.h"
#include "window/about_dialog.h"

namespace {

using platform::FromAnsi;

struct ToolButton {
    int id;
    std::uint32_t normal, pressed, hot;
    const char* toolTip;
};

const ToolButton kToolButtons[] = {
    {kIdNew, 138, 135, 134, "Create a new Ovlet"},
    {kIdOpen, 133, 139, 140, "Open an existing Ovlet"},
    {kIdSave, 131, 142, 141, "Save current Ovlet"},
    {kIdSaveAs, 158, 160, 159, "Save current Ovlet with a different name"},
    {kIdImport, 146, 148, 147, "Import a graphical representation of the Ovlet"},
    {kIdHelp, 143, 145, 144, "Help"},
    {kIdAbout, 149, 151, 150, "About Ovlet Maker"},
    {kIdExit, 152, 154, 153, "Exit"},
    {kIdRemove, 161, 163, 162, "Remove image from current Ovlet"},
};

constexpr int kLinkButtons[] = {1060, 1064, 1065, 1066, 1067};

// The controls of the maker's four pages.
constexpr std::initializer_list<int> kImagePage = {1046, 1053, 1052, 1055};
constexpr std::initializer_list<int> kCompanyPage = {1024, 1023, 1027, 1045, 1044, 1028, 1029,
                                                     1030, 1025, 1026, 1031, 1032, 1008, 1011};
constexpr std::initializer_list<int> kContactPage = {1040, 1037, 1041, 1039, 1034, 1035, 1016, 1013,
                                                     1009, 1010, 1038, 1022, 1036, 1021, 1014, 1012,
                                                     1043, 1042, 1033, 1020, 1018, 1019, 1015, 1017};
constexpr std::initializer_list<int> kInformationPage = {1048, 1047};
constexpr std::initializer_list<int> kSummaryBlock = {1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067};

std::vector<int> Join(std::initializer_list<std::initializer_list<int>> lists) {
    std::vector<int> all;
    for (const auto& l : lists) all.insert(all.end(), l.begin(), l.end());
    return all;
}

// Paths are the file system's bytes; they are shown as the file system names them.
QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

CCardDialog::CCardDialog(QWidget* parent) : TemplateDialog(102, parent) {
    // The program's main window: caption, system menu and minimise box, no
    // maximise box, in the task bar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
}

CCardDialog::~CCardDialog() = default;

std::map<int, CCardDialog::CommandHandler>& CCardDialog::Commands() {
    static std::map<int, CommandHandler> commands;
    return commands;
}

void CCardDialog::InstallCommand(int id, CommandHandler handler) {
    Commands()[id] = handler;
}

bool CCardDialog::RunInstalled(int id) {
    auto it = Commands().find(id);
    if (it == Commands().end() || IsViewer()) return false;
    it->second(*this);
    return true;
}

QWidget* CCardDialog::CreateControl(const platform::ControlTemplate& control) {
    if (control.kind == platform::ControlKind::PicturePanel) {
        auto* panel = new CPictureStatic;
        panel->setFocusPolicy(Qt::StrongFocus);
        return panel;
    }
    if (control.kind == platform::ControlKind::OwnerDrawButton) {
        const bool link =
            std::find(std::begin(kLinkButtons), std::end(kLinkButtons), control.id) != std::end(kLinkButtons);
        QAbstractButton* button = link ? static_cast<QAbstractButton*>(new CLinkButton) : new CHoverButton;
        button->setText(QString::fromStdString(control.text));
        RouteClicks(button, control.id);
        return button;
    }
    return TemplateDialog::CreateControl(control);
}

void CCardDialog::OnInitDialog() {
    ShowInWindow();
    setWindowIcon(platform::ProgramIcon(IsViewer()));  // the form is known now
    InsertTabs();
    SetUpForm();
    for (const ToolButton& b : kToolButtons) {
        if (auto* button = HoverButton(b.id)) {
            button->SetBitmaps(b.normal, b.pressed, b.hot);
            button->setToolTip(QString::fromUtf8(b.toolTip));
        }
    }
    LinkButton(1066)->SetLinkStyle(1);
    LinkButton(1060)->SetLinkStyle(1);
    LinkButton(1067)->SetLinkStyle(0);
    LinkButton(1065)->SetLinkStyle(0);
    LinkButton(1064)->SetLinkStyle(0);
    connect(Tabs(), &platform::TabControl::SelectionChanged, this, [this] { PageSwitch(); });
    PageSwitch();
    // The desktop has no system menu to extend: the About entry is on the
    // window's menu, opened with a right click or Alt+Space.
    // The tabs are not a Tab stop; Ctrl+Tab and Ctrl+Shift+Tab turn the pages.
    for (const auto& [keys, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                                     std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                                     std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                                     std::pair{QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
        auto* turn = new QShortcut(keys, this);
        connect(turn, &QShortcut::activated, this, [this, step = step] {
            const int count = Tabs()->Count();
            SelectTab((SelectedTab() + step + count) % count);
        });
    }
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(shortcut, &QShortcut::activated, this, [this] { WindowMenu()->popup(mapToGlobal(QPoint(0, 0))); });
    if (!record.CurrentPath.empty()) ReadCardFile(record.CurrentPath);
}

QMenu* CCardDialog::WindowMenu() {
    if (!menu) {
        menu = new QMenu(this);
        const std::string about = platform::LoadResourceString(101);
        if (!about.empty()) {
            menu->addAction(QString::fromStdString(about), this, &CCardDialog::ShowAbout);
        }
        AddMenuEntries(menu);
    }
    return menu;
}

void CCardDialog::AddMenuEntries(QMenu* windowMenu) {
    windowMenu->addSeparator();
    windowMenu->addAction(QStringLiteral("Export as vCard\u2026"), this, &CCardDialog::ExportVCard);
    windowMenu->addAction(QStringLiteral("Save card picture\u2026"), this, &CCardDialog::SaveCardPicture);
}

void CCardDialog::contextMenuEvent(QContextMenuEvent* event) {
    WindowMenu()->popup(event->globalPos());
}

void CCardDialog::InsertTabs() {
    Tabs()->InsertItem(0, QStringLiteral("Image"));
    Tabs()->InsertItem(1, QStringLiteral("Company"));
    Tabs()->InsertItem(2, QStringLiteral("Contact"));
    Tabs()->InsertItem(3, QStringLiteral("Information"));
}

void CCardDialog::SetUpForm() {
    if (auto* info = ItemAs<platform::MultiLineEdit>(kGeneralInformationControl)) info->setReadOnly(false);
    ShowItem(kIdViewerFrame, false);
}

void CCardDialog::PageSwitch() {
    Tabs()->lower();
    const auto all = Join({kImagePage, kCompanyPage, kContactPage, kInformationPage, kSummaryBlock});
    const int tab = SelectedTab();
    const std::initializer_list<int> pages[] = {kImagePage, kCompanyPage, kContactPage, kInformationPage};
    for (int id : all) ShowItem(id, false);
    if (tab >= 0 && tab < 4) {
        for (int id : pages[tab]) ShowItem(id, true);
    }
    const int focus[] = {0, 1011, 1012, kGeneralInformationControl};
    if (tab > 0 && tab < 4) {
        if (QWidget* w = Item(focus[tab])) w->setFocus(Qt::OtherFocusReason);
    }
}

platform::TabControl* CCardDialog::Tabs() const {
    return ItemAs<platform::TabControl>(kIdTabs);
}

int CCardDialog::SelectedTab() const {
    return Tabs() ? Tabs()->GetCurSel() : -1;
}

void CCardDialog::SelectTab(int index) {
    Tabs()->SetCurSel(index);
}

CPictureStatic* CCardDialog::PicturePanel() const {
    return qobject_cast<CPictureStatic*>(Item(kIdPicture));
}

CHoverButton* CCardDialog::HoverButton(int id) const {
    return qobject_cast<CHoverButton*>(Item(id));
}

CLinkButton* CCardDialog::LinkButton(int id) const {
    return qobject_cast<CLinkButton*>(Item(id));
}

void CCardDialog::ShowInWindow() {
    for (const CardFieldInfo* field : CardExchangeOrder()) {
        SetItemText(field->controlId, FromAnsi(record.*field->member));
        if (auto* edit = ItemAs<platform::EditControl>(field->controlId)) edit->SetLimitText(field->limit);
    }
    for (const CardStringInfo& text : kCardStateStrings) {
        SetItemText(text.controlId,
                    text.controlId == kIdCurrentFile ? PathText(record.*text.member) : FromAnsi(record.*text.member));
    }
}

bool CCardDialog::TakeFromWindow() {
    for (const CardFieldInfo* field : CardExchangeOrder()) {
        const QString text = ItemText(field->controlId);
        if (field->limit > 0 && text.size() > field->limit) {
            platform::Ui().MessageBox(this, kMessageCaption, QString::fromStdString(FieldLimitMessage(field->limit)),
                                      platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
            // Turn to the page that holds the field, so the user sees it.
            for (int page = 1; page <= 2; ++page) {
                const auto& ids = page == 1 ? kCompanyPage : kContactPage;
                if (!IsViewer() && std::find(ids.begin(), ids.end(), field->controlId) != ids.end()) SelectTab(page);
            }
            if (auto* edit = ItemAs<QLineEdit>(field->controlId)) {
                edit->setFocus(Qt::OtherFocusReason);
                edit->selectAll();
            }
            return false;
        }
        // Typing keeps to the code page, so the text always converts.
        record.*field->member = platform::ToAnsi(text).value_or(record.*field->member);
        if (auto* edit = ItemAs<platform::EditControl>(field->controlId)) edit->SetLimitText(field->limit);
    }
    // The strings the window shows come back too: the record then holds what is on screen.
    for (const CardStringInfo& text : kCardStateStrings) {
        const QString shown = ItemText(text.controlId);
        if (text.controlId == kIdCurrentFile) {
            record.*text.member = QFile::encodeName(shown).toStdString();
        } else {
            record.*text.member = platform::ToAnsi(shown).value_or(record.*text.member);
        }
    }
    return true;
}

std::string CCardDialog::GetEditText(int controlId) {
    return platform::ToAnsi(ItemText(controlId)).value_or(std::string());
}

void CCardDialog::SetEditText(int controlId, const std::string& text) {
    SetItemText(controlId, FromAnsi(text));
}

bool CCardDialog::SetPictureFile(const std::string& name, int& width, int& height, std::string& error) {
    std::pair<int, int> size;
    if (!PicturePanel()->SetPictureFile(name, &size, &error)) {
        // The card's picture cannot be shown: the panel shows none rather than an earlier one.
        PicturePanel()->SetPictureFile(std::string());
        return false;
    }
    width = size.first;
    height = size.second;
    return true;
}

void CCardDialog::ShowMessage(CardMessageIcon icon, const std::string& text) {
    platform::Ui().MessageBox(
        this, kMessageCaption, FromAnsi(text),
        icon == CardMessageIcon::Stop ? platform::MessageIcon::Stop : platform::MessageIcon::Exclamation,
        platform::MessageButtons::Ok);
}

void CCardDialog::ReadCardFile(const std::string& path) {
    ::ReadCardFile(path, record, *this);
}

void CCardDialog::OpenWebSite() {
    platform::OpenWebSiteAddress(this, record.WebSite);
}

void CCardDialog::SendEMail() {
    platform::SendMailTo(record.EMail);
}

void CCardDialog::ShowAbout() {
    CAboutDialog about(IsViewer(), this);
    about.DoModal();
}

void CCardDialog::OnCommand(int id) {
    switch (id) {
        case kIdAbout:
            ShowAbout();
            return;
        case kIdWebSiteLine:
            OpenWebSite();
            return;
        case kIdEMailLine:
            SendEMail();
            return;
        case kIdExit:
            if (!RunInstalled(kIdExit)) done(QDialog::Rejected);
            return;
        default:
            RunInstalled(id);
    }
}

// Enter and Escape go the way of Exit: the maker asks about saving first.
void CCardDialog::OnOK() {
    OnCommand(kIdExit);
}

void CCardDialog::OnCancel() {
    OnCommand(kIdExit);
}

bool CCardDialog::OnClose() {
    // The handler ends the window itself when it lets it go.
    if (!RunInstalled(kIdCloseRequest)) done(QDialog::Rejected);
    return false;
}
