#include "window/card_dialog.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTabBar>
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "platform/face.h"
#include "platform/qt/controls_basic.h"
#include "platform/qt/owner_drawn_widget.h"
#include "resources/dialog_templates.h"
#include "resources/program_resources.h"
#include "window/about_dialog.h"
#include "window/card_messages.h"
#include "window/card_text.h"

namespace {

struct ToolButton {
    int id;
    std::uint32_t normal, pressed, hot;  // bitmap resources
    const char* toolTip;
    const char* keys;  // the shortcut, in portable text; null: none
};

const ToolButton kToolButtons[] = {
    {kIdNew, 138, 135, 134, QT_TRANSLATE_NOOP("CCardDialog", "Create a new Ovlet"), "Ctrl+N"},
    {kIdOpen, 133, 139, 140, QT_TRANSLATE_NOOP("CCardDialog", "Open an existing Ovlet"), "Ctrl+O"},
    {kIdSave, 131, 142, 141, QT_TRANSLATE_NOOP("CCardDialog", "Save current Ovlet"), "Ctrl+S"},
    {kIdSaveAs, 158, 160, 159, QT_TRANSLATE_NOOP("CCardDialog", "Save current Ovlet with a different name"),
     "Ctrl+Shift+S"},
    {kIdImport, 146, 148, 147, QT_TRANSLATE_NOOP("CCardDialog", "Import a graphical representation of the Ovlet"),
     "Ctrl+I"},
    {kIdHelp, 143, 145, 144, QT_TRANSLATE_NOOP("CCardDialog", "Help"), "F1"},
    // F1 where the form has no help to show.
    {kIdAbout, 149, 151, 150, QT_TRANSLATE_NOOP("CCardDialog", "About Ovlet Maker"), nullptr},
    {kIdExit, 152, 154, 153, QT_TRANSLATE_NOOP("CCardDialog", "Exit"), "Ctrl+Q"},
    {kIdRemove, 161, 163, 162, QT_TRANSLATE_NOOP("CCardDialog", "Remove image from current Ovlet"), "Del"},
};

// The label's words as a name: without the mnemonic marks and the closing colon.
QString NameOfLabel(const QString& label) {
    QString name;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QChar('&') && i + 1 < label.size()) ++i;
        name += label[i];
    }
    name = name.trimmed();
    if (name.endsWith(QChar(':'))) name.chop(1);
    return name.trimmed();
}

// The record's words for a new card and a card without a picture, and the
// summary's line heads: the window shows them in the user's language.
constexpr const char* kUntitled = QT_TRANSLATE_NOOP("CCardDialog", "Untitled");
constexpr const char* kNoSize = QT_TRANSLATE_NOOP("CCardDialog", "N/A");
constexpr const char* kEMailHead = QT_TRANSLATE_NOOP("CCardDialog", "E-Mail: ");
constexpr const char* kFaxHead = QT_TRANSLATE_NOOP("CCardDialog", "Fax: ");

// What the picture panel calls the card's picture, which it is given in memory.
constexpr const char* kCardPictureName = "card picture";

// The summary's lines that are link buttons, and whether each looks like a link.
const std::pair<int, int> kLinkLooks[] = {
    {kIdEMailLine, 1}, {kIdWebSiteLine, 1}, {kIdFaxLine, 0}, {kIdPhone2Line, 0}, {kIdPhone1Line, 0},
};

bool IsLinkButton(int id) {
    return std::any_of(std::begin(kLinkLooks), std::end(kLinkLooks), [id](const auto& l) { return l.first == id; });
}

// One-line texts that can be longer than their box: the current file's
// path keeps its file name in sight, the summary's lines their start.
const std::pair<int, platform::Shortening> kShortenedTexts[] = {
    {kIdCurrentFile, platform::Shortening::Middle},
    {kIdCompanyLine, platform::Shortening::End},
    {kIdNameLine, platform::Shortening::End},
    {kIdTitleLine, platform::Shortening::End},
};

// The card stores Windows-1252 text: its fields take nothing else.
bool CardHolds(const std::string& text) {
    return codepage::AnsiFromUtf8(text).has_value();
}

// The keys that turn the pages, each a command of the window's own.
struct PageKeys {
    int command;
    const char* keys;
    int step;
};

const PageKeys kPageKeys[] = {
    {0x7F01, "Ctrl+Tab", 1},
    {0x7F02, "Ctrl+Shift+Tab", -1},
    {0x7F03, "Ctrl+PgDown", 1},
    {0x7F04, "Ctrl+PgUp", -1},
};

std::vector<int> ControlsOf(const CardPage& page) {
    std::vector<int> ids = page.fields;
    ids.insert(ids.end(), page.others.begin(), page.others.end());
    return ids;
}

}  // namespace

bool IsCardFile(const QString& path) {
    return path.endsWith(QStringLiteral(".ovt"), Qt::CaseInsensitive);
}

CCardDialog::CCardDialog(const CardForm& cardForm, QWidget* parent)
    : TemplateDialog(resources::CardDialogTemplate(), parent), form(cardForm) {
    // The program's main window: caption, system menu and minimise box, no
    // maximise box, in the task bar.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    InstallCommand(kIdAbout, [this] { ShowAbout(); });
    InstallCommand(kSysCommandAbout, [this] { ShowAbout(); });
    InstallCommand(kIdWebSiteLine, [this] { OpenWebSite(); });
    InstallCommand(kIdEMailLine, [this] { SendEMail(); });
    // A window without a card to save ends at once.
    InstallCommand(kIdExit, [this] { done(QDialog::Rejected); });
}

CCardDialog::~CCardDialog() = default;

void CCardDialog::InstallCommand(int id, Command command) {
    commands[id] = std::move(command);
}

bool CCardDialog::NeverShown(int id) const {
    if (std::find(form.hidden.begin(), form.hidden.end(), id) != form.hidden.end()) return true;
    const auto holds = [id](const CardPage* page) { return page->Holds(id); };
    return std::any_of(form.hiddenPages.begin(), form.hiddenPages.end(), holds) &&
           std::none_of(form.pages.begin(), form.pages.end(), holds);
}

QWidget* CCardDialog::CreateControl(const platform::ControlTemplate& control) {
    // A control this form never shows is not made at all (the viewer has no
    // use for the maker's edits and buttons, the maker none for the summary):
    // the window comes up sooner. Its field stays in the record as read.
    if (NeverShown(control.id)) return nullptr;
    if (control.kind == platform::ControlKind::PicturePanel) {
        QWidget* panel = platform::qt::MakeOwnerDrawnPanel(std::make_unique<CPictureStatic>());
        panel->setFocusPolicy(Qt::StrongFocus);
        return panel;
    }
    if (control.kind == platform::ControlKind::OwnerDrawButton) {
        QAbstractButton* button = IsLinkButton(control.id)
                                      ? platform::qt::MakeOwnerDrawnButton(std::make_unique<CLinkButton>())
                                      : platform::qt::MakeOwnerDrawnButton(std::make_unique<CHoverButton>());
        button->setText(TemplateText(control.text));
        RouteClicks(button, control.id);
        return button;
    }
    return TemplateDialog::CreateControl(control);
}

void CCardDialog::OnInitDialog() {
    for (const auto& [id, where] : kShortenedTexts) SetShortening(id, where);
    // The fields take only what a card holds, and a paste they refuse says
    // which characters stood in its way.
    for (const platform::ControlTemplate& control : resources::CardDialogTemplate().controls) {
        const bool edit =
            control.kind == platform::ControlKind::Edit || control.kind == platform::ControlKind::MultiLineEdit;
        if (edit && HasControl(control.id)) SetTextFilter(control.id, CardHolds);
    }
    ShowInWindow();
    setWindowIcon(resources::ProgramIcon(QString::fromUtf8(form.program)));
    if (form.caption) setWindowTitle(QString::fromUtf8(form.caption));
    for (const CardPage* page : form.pages) {
        Tabs()->InsertItem(Tabs()->Count(), QCoreApplication::translate("CardForm", page->tab));
    }
    if (auto* info = ItemAs<platform::MultiLineEdit>(kIdGeneralInformation)) {
        info->setReadOnly(form.readOnlyInformation);
        // A read-only text can still be selected and copied.
        if (form.readOnlyInformation) {
            info->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        }
    }
    // Every command has its keys, shown in its tool tip; a hidden button's
    // keys do nothing. The button is named by its tip's words.
    const bool hasHelp = std::find(form.hidden.begin(), form.hidden.end(), kIdHelp) == form.hidden.end();
    for (const ToolButton& b : kToolButtons) {
        if (CHoverButton* hover = HoverButton(b.id)) {
            hover->SetBitmaps(b.normal, b.pressed, b.hot);
            const std::string tip = tr(b.toolTip).toStdString();
            const std::string keys = b.keys ? b.keys : b.id == kIdAbout && !hasHelp ? "F1" : "";
            SetShortcut(b.id, keys);
            SetToolTip(b.id, keys.empty() ? tip : tip + " (" + KeysText(keys) + ")");
            SetAccessibleName(b.id, tip);
        }
    }
    // Each field is named by its label; a field in a group box is described by the box.
    for (const FieldLabel& f : kFieldLabels) {
        QWidget* field = Item(f.field);
        auto* label = ItemAs<QLabel>(f.label);
        if (!field || !label) continue;
        label->setBuddy(field);
        field->setAccessibleName(NameOfLabel(label->text()));
        if (f.group != kIdNone) field->setAccessibleDescription(ItemText(f.group));
    }
    PicturePanel()->SetNameFormat(tr("Card picture, %1 x %2").toStdString());
    for (const auto& [id, look] : kLinkLooks) {
        if (CLinkButton* link = LinkButton(id)) link->SetLinkStyle(look);
    }
    for (const CardPage* page : form.pages) {
        for (std::size_t i = 0; i + 1 < page->fields.size(); ++i) {
            setTabOrder(Item(page->fields[i]), Item(page->fields[i + 1]));
        }
    }
    connect(Tabs(), &platform::TabControl::SelectionChanged, this, [this] { PageSwitch(); });
    PageSwitch();
    // The desktop has no system menu to extend: the About entry is on the
    // window's menu, opened with a right click or the keys below.
    // The tabs are not a Tab stop (but for a page with a single control, see
    // focusNextPrevChild); Ctrl+Tab and Ctrl+Shift+Tab (in each form the
    // desktop's keyboard map gives it), Ctrl+PgDown and Ctrl+PgUp turn the pages.
    for (const PageKeys& turn : kPageKeys) {
        InstallCommand(turn.command, [this, step = turn.step] {
            const int count = Tabs()->Count();
            SelectTab((SelectedTab() + step + count) % count);
        });
        SetShortcut(turn.command, turn.keys);
    }
    // The keyboard's ways to a menu open the window's menu from any control,
    // at that control (desktops that keep Alt+Space leave Shift+F10 and the
    // Menu key).
    for (const QKeySequence& keys :
         {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            const QWidget* at = focusWidget() && focusWidget()->isVisible() ? focusWidget() : this;
            WindowMenu()->popup(at->mapToGlobal(at == this ? QPoint(0, 0) : at->rect().center()));
        });
    }
    // A file dropped on a field is the window's, not text for the field.
    AcceptDroppedFiles(true);
    ReadNamedCard();
}

void CCardDialog::ReadNamedCard() {
    if (!record.CurrentPath.empty()) ReadCardFile(record.CurrentPath);
}

QMenu* CCardDialog::WindowMenu() {
    if (!menu) {
        menu = new QMenu(this);
        const std::string about = resources::LoadResourceString(kStringAboutMenu);
        if (!about.empty()) {
            menu->addAction(QCoreApplication::translate(resources::kStringTableContext, about.c_str()), this,
                            [this] { OnCommand(kSysCommandAbout); });
        }
        AddMenuEntries(menu);
    }
    return menu;
}

void CCardDialog::AddMenuEntries(QMenu* windowMenu) {
    windowMenu->addSeparator();
    windowMenu->addAction(tr("Export as vCard\u2026"), this, &CCardDialog::ExportVCard);
    windowMenu->addAction(tr("Print\u2026"), this, &CCardDialog::PrintCard);
    windowMenu->addAction(tr("Save card picture\u2026"), this, &CCardDialog::SaveCardPicture);
}

void CCardDialog::contextMenuEvent(QContextMenuEvent* event) {
    WindowMenu()->popup(event->globalPos());
}

bool CCardDialog::TakesDroppedFile(const QString& path) const {
    return IsCardFile(path);
}

void CCardDialog::OpenDroppedFile(const QString& path) {
    ClearWindow();
    ReadCardFile(PathBytes(path));
}

void CCardDialog::ClearWindow() {
    PicturePanel()->SetPictureFile(std::string());
    record.ClearCard();
    SetEditText(&CardRecord::StreetAddress, std::string());
    SetEditText(&CardRecord::GeneralInformation, std::string());
    ShowInWindow();
}

bool CCardDialog::FileOffered(const std::string& path) {
    return TakesDroppedFile(PathText(path));
}

void CCardDialog::FileDropped(const std::string& path) {
    OpenDroppedFile(PathText(path));
}

void CCardDialog::PageSwitch() {
    // The page's controls are drawn above the tab control.
    Tabs()->lower();
    for (const CardPage* page : form.pages) {
        for (int id : ControlsOf(*page)) ShowItem(id, false);
    }
    const int tab = SelectedTab();
    const CardPage* shown = tab >= 0 && tab < static_cast<int>(form.pages.size()) ? form.pages[tab] : nullptr;
    if (shown) {
        for (int id : ControlsOf(*shown)) ShowItem(id, true);
    }
    for (const CardPage* page : form.hiddenPages) {
        for (int id : ControlsOf(*page)) ShowItem(id, false);
    }
    for (int id : form.hidden) ShowItem(id, false);
    if (!shown) return;
    if (shown->focus != kIdNone) {
        if (QWidget* w = Item(shown->focus)) w->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A page without a field of its own to focus leaves the focus where it
    // was (on the tabs after a click on one), as long as it is on screen:
    // the fields of the page left behind are hidden now, and keys must never
    // change what the user cannot see.
    if (const QWidget* focus = focusWidget(); focus && focus->isVisibleTo(this)) return;
    const std::vector<QWidget*> stops = TabStopsOfPage();
    // Nowhere to type on this page: the tabs hold the keys.
    (stops.empty() ? static_cast<QWidget*>(Tabs()) : stops.front())->setFocus(Qt::OtherFocusReason);
}

std::vector<QWidget*> CCardDialog::TabStopsOfPage() const {
    std::vector<QWidget*> stops;
    const int tab = SelectedTab();
    if (tab < 0 || tab >= static_cast<int>(form.pages.size())) return stops;
    for (int id : form.pages[tab]->fields) {
        QWidget* w = Item(id);
        if (w && w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) stops.push_back(w);
    }
    return stops;
}

bool CCardDialog::focusNextPrevChild(bool next) {
    // A page with a single control (the picture, the general information)
    // gives Tab somewhere to go: between that control and the tabs, where
    // the arrow keys turn the pages. From the tabs Tab enters the page.
    const std::vector<QWidget*> stops = TabStopsOfPage();
    QWidget* bar = Tabs() ? Tabs()->Bar() : nullptr;
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    if (bar && !stops.empty()) {
        if (focusWidget() == bar) {
            (next ? stops.front() : stops.back())->setFocus(reason);
            return true;
        }
        if (stops.size() == 1 && focusWidget() == stops.front()) {
            bar->setFocus(reason);
            return true;
        }
    }
    return TemplateDialog::focusNextPrevChild(next);
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
    return platform::qt::Hosted<CPictureStatic>(Item(kIdPicture));
}

CHoverButton* CCardDialog::HoverButton(int id) const {
    return platform::qt::Hosted<CHoverButton>(Item(id));
}

CLinkButton* CCardDialog::LinkButton(int id) const {
    return platform::qt::Hosted<CLinkButton>(Item(id));
}

void CCardDialog::ShowInWindow() {
    for (const CardFieldInfo* field : CardExchangeOrder()) {
        const int id = ControlOf(field->member);
        SetItemText(id, FromAnsi(record.*field->member));
        if (auto* edit = ItemAs<platform::EditControl>(id)) edit->SetLimitText(field->limit);
    }
    for (const CardStringInfo& text : kCardStateStrings) SetItemText(ControlOf(text.member), Shown(text.member));
    ShowCutTexts();
}

void CCardDialog::ShowCutTexts() {
    // A text shortened on screen shows itself whole in its tool tip.
    for (const auto& [id, where] : kShortenedTexts) {
        if (HasControl(id)) SetToolTip(id, IsShortened(id) ? Text(id) : std::string());
    }
    for (const auto& [id, look] : kLinkLooks) {
        if (CLinkButton* line = LinkButton(id)) {
            Item(id)->setToolTip(line->IsTextCut() ? ItemText(id) : QString());
        }
    }
    // A screen reader reads the address block's lines, not its line breaks.
    if (QWidget* address = Item(kIdAddressBlock)) {
        QString name = ItemText(kIdAddressBlock);
        name.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        address->setAccessibleName(name.split(QChar('\n'), Qt::SkipEmptyParts).join(QStringLiteral(", ")));
    }
}

QString CCardDialog::Shown(std::string CardRecord::*member) const {
    const std::string& value = record.*member;
    if (member == &CardRecord::CurrentFileLabel) {
        return value == "Untitled" && record.CurrentPath.empty() ? tr(kUntitled) : PathText(value);
    }
    if (member == &CardRecord::ImageSizeText && value == "N/A") return tr(kNoSize);
    if (member == &CardRecord::EMailLine && value.starts_with("E-Mail: ")) {
        return tr(kEMailHead) + FromAnsi(value.substr(std::strlen("E-Mail: ")));
    }
    if (member == &CardRecord::FaxLine && value.starts_with("Fax: ")) {
        return tr(kFaxHead) + FromAnsi(value.substr(std::strlen("Fax: ")));
    }
    return FromAnsi(value);
}

bool CCardDialog::TakeFromWindow() {
    for (const CardFieldInfo* field : CardExchangeOrder()) {
        const int id = ControlOf(field->member);
        if (!Item(id)) continue;  // a field this form has no control for keeps its value
        const QString text = ItemText(id);
        if (field->limit > 0 && text.size() > field->limit) {
            Tell(FieldLimitText(field->limit), platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
            // Turn to the page that holds the field, so the user sees it.
            for (std::size_t tab = 0; tab < form.pages.size(); ++tab) {
                if (form.pages[tab]->Holds(id)) SelectTab(static_cast<int>(tab));
            }
            if (auto* edit = ItemAs<QLineEdit>(id)) {
                edit->setFocus(Qt::OtherFocusReason);
                edit->selectAll();
            }
            return false;
        }
        // Typing keeps to the code page, so the text always converts.
        record.*field->member = ToAnsi(text).value_or(record.*field->member);
        if (auto* edit = ItemAs<platform::EditControl>(id)) edit->SetLimitText(field->limit);
    }
    // The strings the window shows come back too: the record then holds what
    // is on screen (in the record's own words where the window translated them).
    for (const CardStringInfo& text : kCardStateStrings) {
        const int id = ControlOf(text.member);
        if (!Item(id)) continue;
        const QString shown = ItemText(id);
        if (shown == Shown(text.member)) continue;
        record.*text.member = id == kIdCurrentFile ? PathBytes(shown) : ToAnsi(shown).value_or(record.*text.member);
    }
    return true;
}

bool CCardDialog::TakeEdits() {
    for (const CardPage* page : form.pages) {
        for (const CardFieldInfo& field : kCardFields) {
            if (!field.multiLine && page->Holds(ControlOf(field.member))) return TakeFromWindow();
        }
    }
    return true;
}

std::string CCardDialog::GetEditText(std::string CardRecord::*field) {
    if (!Item(ControlOf(field))) return record.*field;
    return ToAnsi(ItemText(ControlOf(field))).value_or(std::string());
}

void CCardDialog::SetEditText(std::string CardRecord::*field, const std::string& text) {
    SetItemText(ControlOf(field), FromAnsi(text));
}

bool CCardDialog::SetPictureData(const std::uint8_t* bytes, std::size_t size, int& width, int& height,
                                 std::string& error) {
    std::pair<int, int> shown;
    // A card's picture is at most 2 GiB less one byte, as its length field says.
    const bool fits = size <= static_cast<std::size_t>(INT32_MAX);
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
    // The panel decodes no more pixels than it shows (a large JPEG picture at
    // an eighth of its size), so the picture is there on the window's first
    // paint.
    if (!fits || !PicturePanel()->SetPictureData(kCardPictureName, bytes, length, &shown, &error)) {
        decoderError = {fits ? PicturePanel()->LastErrorCode() : 0, error};
        // The card's picture cannot be shown: the panel shows none rather than an earlier one.
        PicturePanel()->SetPictureFile(std::string());
        return false;
    }
    width = shown.first;
    height = shown.second;
    return true;
}

void CCardDialog::OnTextRefused(int, const std::string& characters) {
    Tell(tr("A card cannot hold these characters, so the text was not pasted: %1")
             .arg(QString::fromStdString(characters)),
         platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

platform::MessageAnswer CCardDialog::Tell(const QString& text, platform::MessageIcon icon,
                                          platform::MessageButtons buttons) {
    return platform::Services().Message(this, kMessageCaption, text.toStdString(), icon, buttons);
}

void CCardDialog::ShowCardNote(const CardNote& note) {
    Tell(CardNoteMessage(note, decoderError.first, decoderError.second),
         note.icon == CardMessageIcon::Stop ? platform::MessageIcon::Stop : platform::MessageIcon::Exclamation,
         platform::MessageButtons::Ok);
}

CardReadOutcome CCardDialog::ReadCardFile(const std::string& path) {
    const CardReadResult result = ::ReadCardFile(path, record, *this);
    for (const CardNote& note : result.notes) ShowCardNote(note);
    if (result.outcome == CardReadOutcome::Read) ShowInWindow();
    CardReadOutcome outcome = result.outcome;
    if (outcome == CardReadOutcome::Read && result.pictureShort) {
        // The file ends inside its picture: what is there is shown, but the
        // card is damaged, and the next Save must not quietly write the
        // shorter picture over it.
        Tell(ShortPictureText(), platform::MessageIcon::Stop, platform::MessageButtons::Ok);
        outcome = CardReadOutcome::PastEnd;
    }
    // A card that could not be read whole is not this window's file: saving
    // it there would write what was read over what was not.
    if (outcome != CardReadOutcome::Read) record.CurrentPath.clear();
    return outcome;
}

void CCardDialog::OpenWebSite() {
    HandOver(WebSiteHandOver(record.WebSite));
}

void CCardDialog::SendEMail() {
    HandOver(EMailHandOver(record.EMail));
}

void CCardDialog::HandOver(const LinkHandOver& handOver) {
    if (!handOver.allowed) {
        Tell(CardNoteMessage(handOver.refusal), platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return;
    }
    platform::Services().OpenAddress(handOver.address);
}

void CCardDialog::ShowAbout() {
    CAboutDialog about(form.about);
    about.DoModal(this);
}

void CCardDialog::OnCommand(int id) {
    if (auto it = commands.find(id); it != commands.end()) it->second();
}

void CCardDialog::ExitByKey() {
    OnCommand(kIdExit);
}

void CCardDialog::OnOK() {
    ExitByKey();
}

void CCardDialog::OnCancel() {
    ExitByKey();
}

bool CCardDialog::OnClose() {
    // Exit ends the window itself when it lets it go.
    OnCommand(kIdExit);
    return false;
}
