#include "window/card_dialog.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "files/utf16.h"
#include "platform/face.h"
#include "platform/text_mark.h"
#include "resources/catalogue/catalogue.h"
#include "resources/dialog_templates.h"
#include "window/about_dialog.h"
#include "window/card_messages.h"
#include "window/card_text.h"

namespace ovlet::window {
namespace {

constexpr const char* kContext = "CCardDialog";

struct ToolButton {
    int id;
    std::uint32_t normal, pressed, hot;  // bitmap resources
    const char* toolTip;
    const char* keys;  // the shortcut, in portable text; null: none
};

const ToolButton kToolButtons[] = {
    {resources::kIdNew, resources::kBitmapNew, resources::kBitmapNewPressed, resources::kBitmapNewHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Create a new Ovlet"), "Ctrl+N"},
    {resources::kIdOpen, resources::kBitmapOpen, resources::kBitmapOpenPressed, resources::kBitmapOpenHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Open an existing Ovlet"), "Ctrl+O"},
    {resources::kIdSave, resources::kBitmapSave, resources::kBitmapSavePressed, resources::kBitmapSaveHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Save current Ovlet"), "Ctrl+S"},
    {resources::kIdSaveAs, resources::kBitmapSaveAs, resources::kBitmapSaveAsPressed, resources::kBitmapSaveAsHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Save current Ovlet with a different name"), "Ctrl+Shift+S"},
    {resources::kIdImport, resources::kBitmapImport, resources::kBitmapImportPressed, resources::kBitmapImportHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Import a graphical representation of the Ovlet"), "Ctrl+I"},
    {resources::kIdHelp, resources::kBitmapHelp, resources::kBitmapHelpPressed, resources::kBitmapHelpHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Help"), "F1"},
    // F1 where the form has no help to show.
    {resources::kIdAbout, resources::kBitmapAbout, resources::kBitmapAboutPressed, resources::kBitmapAboutHot,
     QT_TRANSLATE_NOOP("CCardDialog", "About Ovlet Maker"), nullptr},
    {resources::kIdExit, resources::kBitmapExit, resources::kBitmapExitPressed, resources::kBitmapExitHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Exit"), "Ctrl+Q"},
    {resources::kIdRemove, resources::kBitmapRemove, resources::kBitmapRemovePressed, resources::kBitmapRemoveHot,
     QT_TRANSLATE_NOOP("CCardDialog", "Remove image from current Ovlet"), "Del"},
};

// The label's words as a name: without the mnemonic marks and the closing colon.
std::string NameOfLabel(const std::string& label) {
    std::string name;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) ++i;
        name += label[i];
    }
    const auto trim = [](std::string& s) {
        const auto first = s.find_first_not_of(" \t");
        if (first == std::string::npos) {
            s.clear();
            return;
        }
        s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    };
    trim(name);
    if (!name.empty() && name.back() == ':') name.pop_back();
    trim(name);
    return name;
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
    {resources::kIdEMailLine, 1},  {resources::kIdWebSiteLine, 1}, {resources::kIdFaxLine, 0},
    {resources::kIdPhone2Line, 0}, {resources::kIdPhone1Line, 0},
};

bool IsLinkButton(int id) {
    return std::any_of(std::begin(kLinkLooks), std::end(kLinkLooks), [id](const auto& l) { return l.first == id; });
}

// One-line texts that can be longer than their box: the current file's
// path keeps its file name in sight, the summary's lines their start.
const std::pair<int, platform::Shortening> kShortenedTexts[] = {
    {resources::kIdCurrentFile, platform::Shortening::Middle},
    {resources::kIdCompanyLine, platform::Shortening::End},
    {resources::kIdNameLine, platform::Shortening::End},
    {resources::kIdTitleLine, platform::Shortening::End},
};

// The card stores Windows-1252 text: its fields take nothing else.
bool CardHolds(const std::string& text) {
    return card::AnsiFromUtf8(text).has_value();
}

// The keys that turn the pages, each a command of the window's own.
struct PageKeys {
    int command;
    const char* keys;
    int step;
};

const PageKeys kPageKeys[] = {
    {resources::kCommandNextPage, "Ctrl+Tab", 1},
    {resources::kCommandPreviousPage, "Ctrl+Shift+Tab", -1},
    {resources::kCommandNextPageByPgDown, "Ctrl+PgDown", 1},
    {resources::kCommandPreviousPageByPgUp, "Ctrl+PgUp", -1},
};

std::vector<int> ControlsOf(const CardPage& page) {
    std::vector<int> ids = page.fields;
    ids.insert(ids.end(), page.others.begin(), page.others.end());
    return ids;
}

}  // namespace

bool IsCardFile(const std::string& path) {
    constexpr std::string_view kExtension = ".ovt";
    if (path.size() < kExtension.size()) return false;
    return std::equal(
        kExtension.begin(), kExtension.end(), path.end() - static_cast<std::ptrdiff_t>(kExtension.size()),
        [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b); });
}

namespace {

CardSheetPainter& SheetPainter() {
    static CardSheetPainter painter;
    return painter;
}

}  // namespace

void SetCardSheetPainter(CardSheetPainter painter) {
    SheetPainter() = std::move(painter);
}

const CardSheetPainter& CardSheetPainterInForce() {
    return SheetPainter();
}

CCardDialog::CCardDialog(const CardForm& cardForm) : form(cardForm) {
    InstallCommand(resources::kIdAbout, [this] { ShowAbout(); });
    InstallCommand(resources::kSysCommandAbout, [this] { ShowAbout(); });
    InstallCommand(resources::kIdWebSiteLine, [this] { OpenWebSite(); });
    InstallCommand(resources::kIdEMailLine, [this] { SendEMail(); });
    InstallCommand(resources::kCommandExportVCard, [this] { ExportVCard(); });
    InstallCommand(resources::kCommandPrint, [this] { PrintCard(); });
    InstallCommand(resources::kCommandSavePicture, [this] { SaveCardPicture(); });
    InstallCommand(resources::kCommandShowQrCode, [this] { ShowQrCode(); });
    // A window without a card to save ends at once.
    InstallCommand(resources::kIdExit, [this] { host->End(resources::kIdCancel); });
    // The tabs are not a Tab stop (but for a page with a single control, see
    // PageSwitch); Ctrl+Tab and Ctrl+Shift+Tab, Ctrl+PgDown and Ctrl+PgUp
    // turn the pages.
    for (const PageKeys& turn : kPageKeys) {
        InstallCommand(turn.command, [this, step = turn.step] {
            const int count = static_cast<int>(form.pages.size());
            if (count > 0) SelectTab((SelectedTab() + step + count) % count);
        });
        InstallKeys(turn.command, turn.keys);
    }
}

CCardDialog::~CCardDialog() = default;

int CCardDialog::DoModal(platform::DialogHost* owner) {
    const int result = platform::RunDialog(resources::CardDialogTemplate(), *this, owner);
    host = nullptr;
    drawn.clear();
    return result;
}

std::string CCardDialog::Tr(const char* text) {
    return platform::Translate(kContext, text);
}

void CCardDialog::InstallCommand(int id, Command command) {
    commands[id] = std::move(command);
}

void CCardDialog::InstallKeys(int id, const char* keyText) {
    keys.emplace_back(id, keyText);
}

bool CCardDialog::NeverShown(int id) const {
    if (std::find(form.hidden.begin(), form.hidden.end(), id) != form.hidden.end()) return true;
    const auto holds = [id](const CardPage* page) { return page->Holds(id); };
    return std::any_of(form.hiddenPages.begin(), form.hiddenPages.end(), holds) &&
           std::none_of(form.pages.begin(), form.pages.end(), holds);
}

bool CCardDialog::UsesControl(int id) const {
    // A control this form never shows is not made at all (the viewer has no
    // use for the maker's edits and buttons, the maker none for the summary):
    // the window comes up sooner. Its field stays in the record as read.
    return !NeverShown(id);
}

bool CCardDialog::ShownAtStart(int id) const {
    // The window opens on its first page; its table is made once, not for each control.
    if (startVisibility.empty()) startVisibility = VisibilityOn(0);
    for (const auto& [control, show] : startVisibility) {
        if (control == id) return show;
    }
    return true;
}

std::unique_ptr<platform::OwnerDrawnControl> CCardDialog::MakeOwnerDrawn(int id) {
    std::unique_ptr<platform::OwnerDrawnControl> control;
    if (id == resources::kIdPicture) {
        control = std::make_unique<controls::CPictureStatic>();
    } else if (IsLinkButton(id)) {
        control = std::make_unique<controls::CLinkButton>();
    } else {
        control = std::make_unique<controls::CHoverButton>();
    }
    drawn[id] = control.get();
    return control;
}

void CCardDialog::OnInit(platform::DialogHost& dialog) {
    DialogHandler::OnInit(dialog);
    // The program's main window: its caption and icon.
    host->SetIcon(form.program);
    if (form.caption) host->SetCaption(form.caption);
    for (const auto& [id, where] : kShortenedTexts) host->SetShortening(id, where);
    // The fields take only what a card holds, and a paste they refuse says
    // which characters stood in its way.
    for (const platform::ControlTemplate& control : resources::CardDialogTemplate().controls) {
        const bool edit =
            control.kind == platform::ControlKind::Edit || control.kind == platform::ControlKind::MultiLineEdit;
        if (edit && host->HasControl(control.id)) host->SetTextFilter(control.id, CardHolds);
    }
    ShowInWindow();
    for (const CardPage* page : form.pages)
        host->AddTab(resources::kIdTabs, platform::Translate("CardForm", page->tab));
    // A read-only text can still be selected and copied.
    host->SetReadOnly(resources::kIdGeneralInformation, form.readOnlyInformation);
    // Every command has its keys, shown in its tool tip; a hidden button's
    // keys do nothing. The button is named by its tip's words.
    const bool hasHelp = std::find(form.hidden.begin(), form.hidden.end(), resources::kIdHelp) == form.hidden.end();
    for (const ToolButton& b : kToolButtons) {
        if (controls::CHoverButton* hover = HoverButton(b.id)) {
            hover->SetBitmaps(b.normal, b.pressed, b.hot);
            const std::string tip = Tr(b.toolTip);
            const std::string keyText = b.keys ? b.keys : b.id == resources::kIdAbout && !hasHelp ? "F1" : "";
            host->SetShortcut(b.id, keyText);
            host->SetToolTip(b.id, keyText.empty() ? tip : tip + " (" + host->KeysText(keyText) + ")");
            host->SetAccessibleName(b.id, tip);
        }
    }
    for (const auto& [id, keyText] : keys) host->SetShortcut(id, keyText);
    // Each field is named by its label; a field in a group box is described by the box.
    for (const FieldLabel& f : kFieldLabels) {
        if (!host->HasControl(f.field) || !host->HasControl(f.label)) continue;
        host->SetAccessibleName(f.field, NameOfLabel(host->Text(f.label)));
        if (f.group != resources::kIdNone) host->SetAccessibleDescription(f.field, host->Text(f.group));
    }
    if (controls::CPictureStatic* panel = PicturePanel()) panel->SetNameFormat(Tr("Card picture, %1 x %2"));
    for (const auto& [id, look] : kLinkLooks) {
        if (controls::CLinkButton* link = LinkButton(id)) link->SetLinkStyle(look);
    }
    // The About entry and the card's commands are on the window's menu: the
    // end of its system menu where the desktop has one, and a menu the face
    // opens with a right click or the desktop's keys for a menu.
    host->SetWindowMenu(MenuEntries());
    PageSwitch();
    // A file dropped on a field is the window's, not text for the field.
    host->AcceptDroppedFiles(true);
}

void CCardDialog::OnShown() {
    // The card named when the window opened, read with the window on
    // screen: a large picture's decoding does not keep the window away, and
    // what the card says about itself is said over the window.
    ReadNamedCard();
}

void CCardDialog::ReadNamedCard() {
    if (!record.CurrentPath.empty()) ReadCardFile(record.CurrentPath);
}

std::vector<platform::MenuEntry> CCardDialog::MenuEntries() const {
    std::vector<platform::MenuEntry> entries;
    const std::string about = resources::LoadResourceString(resources::kStringAboutMenu);
    if (!about.empty()) {
        entries.push_back(
            {resources::kSysCommandAbout, platform::Translate(resources::kStringTableContext, about.c_str())});
    }
    const std::vector<platform::MenuEntry> more = FormMenuEntries();
    entries.insert(entries.end(), more.begin(), more.end());
    return entries;
}

std::vector<platform::MenuEntry> CCardDialog::FormMenuEntries() const {
    return {
        {platform::kNoControl, {}},
        {resources::kCommandExportVCard, Tr(QT_TRANSLATE_NOOP("CCardDialog", "Export as vCard\u2026"))},
        {resources::kCommandPrint, Tr(QT_TRANSLATE_NOOP("CCardDialog", "Print\u2026"))},
        {resources::kCommandSavePicture, Tr(QT_TRANSLATE_NOOP("CCardDialog", "Save card picture\u2026"))},
    };
}

bool CCardDialog::TakesDropped(const std::string& path) const {
    return IsCardFile(path);
}

void CCardDialog::OpenDropped(const std::string& path) {
    ClearWindow();
    ReadCardFile(path);
}

bool CCardDialog::TakesDroppedFile(const std::string& path) {
    return TakesDropped(path);
}

void CCardDialog::OnFileDropped(const std::string& path) {
    OpenDropped(path);
}

void CCardDialog::ClearWindow() {
    if (controls::CPictureStatic* panel = PicturePanel()) panel->ClearPicture();
    record.ClearCard();
    SetEditText(&card::CardRecord::StreetAddress, std::string());
    SetEditText(&card::CardRecord::GeneralInformation, std::string());
    ShowInWindow();
}

void CCardDialog::OnTabChanged(int) {
    PageSwitch();
}

std::vector<std::pair<int, bool>> CCardDialog::VisibilityOn(int tab) const {
    // Each control once, as the page has it: the pages' controls hidden but
    // the shown page's, the hidden pages' and controls hidden whatever the page.
    std::vector<std::pair<int, bool>> visible;
    const auto set = [&visible](int id, bool show) {
        const auto found = std::find_if(visible.begin(), visible.end(), [id](const auto& v) { return v.first == id; });
        if (found == visible.end()) {
            visible.emplace_back(id, show);
        } else {
            found->second = show;
        }
    };
    for (const CardPage* page : form.pages) {
        for (int id : ControlsOf(*page)) set(id, false);
    }
    if (tab >= 0 && tab < static_cast<int>(form.pages.size())) {
        for (int id : ControlsOf(*form.pages[static_cast<std::size_t>(tab)])) set(id, true);
    }
    for (const CardPage* page : form.hiddenPages) {
        for (int id : ControlsOf(*page)) set(id, false);
    }
    for (int id : form.hidden) set(id, false);
    return visible;
}

void CCardDialog::PageSwitch() {
    // The control with the keyboard before the page turned (the tabs after a
    // click on one).
    const int before = host->Focused();
    const int tab = SelectedTab();
    const CardPage* shown =
        tab >= 0 && tab < static_cast<int>(form.pages.size()) ? form.pages[static_cast<std::size_t>(tab)] : nullptr;
    const std::vector<std::pair<int, bool>> visible = VisibilityOn(tab);
    // What leaves the screen first, so two pages' controls never stand together.
    for (const auto& [id, show] : visible) {
        if (!show) host->Show(id, false);
    }
    for (const auto& [id, show] : visible) {
        if (show) host->Show(id, true);
    }
    if (!shown) return;
    // Tab walks the page's fields; a page with a single control (the picture,
    // the general information) gives Tab somewhere to go: between that
    // control and the tabs, where the arrow keys turn the pages.
    std::vector<int> order;
    order.reserve(shown->fields.size() + 1);
    for (int id : shown->fields) {
        if (host->HasControl(id)) order.push_back(id);
    }
    // Nowhere to type on this page: the tabs hold the keys.
    const int firstStop = order.empty() ? resources::kIdTabs : order.front();
    if (order.size() == 1) order.push_back(resources::kIdTabs);
    host->SetTabOrder(order);
    if (shown->focus != resources::kIdNone) {
        host->Focus(shown->focus);
        return;
    }
    // A page without a field of its own to focus leaves the focus where it
    // was, as long as it is on screen: the fields of the page left behind
    // are hidden now, and keys must never change what the user cannot see.
    if (before != platform::kNoControl && host->IsShown(before)) {
        host->Focus(before);
        return;
    }
    host->Focus(firstStop);
}

int CCardDialog::SelectedTab() const {
    return host ? host->SelectedTab(resources::kIdTabs) : -1;
}

void CCardDialog::SelectTab(int index) {
    host->SelectTab(resources::kIdTabs, index);
    PageSwitch();
}

controls::CPictureStatic* CCardDialog::PicturePanel() const {
    const auto it = drawn.find(resources::kIdPicture);
    return it == drawn.end() ? nullptr : static_cast<controls::CPictureStatic*>(it->second);
}

controls::CHoverButton* CCardDialog::HoverButton(int id) const {
    const auto it = drawn.find(id);
    if (it == drawn.end() || id == resources::kIdPicture || IsLinkButton(id)) return nullptr;
    return static_cast<controls::CHoverButton*>(it->second);
}

controls::CLinkButton* CCardDialog::LinkButton(int id) const {
    const auto it = drawn.find(id);
    if (it == drawn.end() || !IsLinkButton(id)) return nullptr;
    return static_cast<controls::CLinkButton*>(it->second);
}

void CCardDialog::ShowInWindow() {
    for (const card::CardFieldInfo* field : card::CardExchangeOrder()) {
        const int id = ControlOf(field->member);
        host->SetText(id, FromAnsi(record.*field->member));
        host->SetLimit(id, field->limit);
    }
    for (const card::CardStringInfo& text : card::kCardStateStrings)
        host->SetText(ControlOf(text.member), Shown(text.member));
    ShowCutTexts();
}

void CCardDialog::ShowCutTexts() {
    // A text shortened on screen shows itself whole in its tool tip.
    for (const auto& [id, where] : kShortenedTexts) {
        if (host->HasControl(id)) host->SetToolTip(id, host->IsShortened(id) ? host->Text(id) : std::string());
    }
    for (const auto& [id, look] : kLinkLooks) {
        if (controls::CLinkButton* line = LinkButton(id))
            host->SetToolTip(id, line->IsTextCut() ? host->Text(id) : std::string());
    }
    // A screen reader reads the address block's lines, not its line breaks.
    if (host->HasControl(resources::kIdAddressBlock)) {
        const std::string block = host->Text(resources::kIdAddressBlock);
        std::string name;
        std::size_t start = 0;
        while (start <= block.size()) {
            std::size_t end = block.find('\n', start);
            if (end == std::string::npos) end = block.size();
            std::string line = block.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) name += (name.empty() ? "" : ", ") + line;
            start = end + 1;
        }
        host->SetAccessibleName(resources::kIdAddressBlock, name);
    }
}

std::string CCardDialog::Shown(std::string card::CardRecord::*member) const {
    const std::string& value = record.*member;
    if (member == &card::CardRecord::CurrentFileLabel) {
        return value == "Untitled" && record.CurrentPath.empty() ? Tr(kUntitled) : value;
    }
    if (member == &card::CardRecord::ImageSizeText && value == "N/A") return Tr(kNoSize);
    if (member == &card::CardRecord::EMailLine && value.starts_with("E-Mail: ")) {
        return Tr(kEMailHead) + FromAnsi(value.substr(std::strlen("E-Mail: ")));
    }
    if (member == &card::CardRecord::FaxLine && value.starts_with("Fax: ")) {
        return Tr(kFaxHead) + FromAnsi(value.substr(std::strlen("Fax: ")));
    }
    return FromAnsi(value);
}

bool CCardDialog::TakeFromWindow() {
    for (const card::CardFieldInfo* field : card::CardExchangeOrder()) {
        const int id = ControlOf(field->member);
        if (!host->HasControl(id)) continue;  // a field this form has no control for keeps its value
        const std::string text = host->Text(id);
        if (field->limit > 0 && files::Utf16FromUtf8(text).size() > static_cast<std::size_t>(field->limit)) {
            Tell(FieldLimitText(field->limit), platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
            // Turn to the page that holds the field, so the user sees it.
            for (std::size_t tab = 0; tab < form.pages.size(); ++tab) {
                if (form.pages[tab]->Holds(id)) SelectTab(static_cast<int>(tab));
            }
            host->Focus(id);
            host->SelectAllText(id);
            return false;
        }
        // Typing keeps to the code page, so the text always converts.
        record.*field->member = ToAnsi(text).value_or(record.*field->member);
        host->SetLimit(id, field->limit);
    }
    // The strings the window shows come back too: the record then holds what
    // is on screen (in the record's own words where the window translated them).
    for (const card::CardStringInfo& text : card::kCardStateStrings) {
        const int id = ControlOf(text.member);
        if (!host->HasControl(id)) continue;
        const std::string shown = host->Text(id);
        if (shown == Shown(text.member)) continue;
        record.*text.member = id == resources::kIdCurrentFile ? shown : ToAnsi(shown).value_or(record.*text.member);
    }
    return true;
}

bool CCardDialog::TakeEdits() {
    for (const CardPage* page : form.pages) {
        for (const card::CardFieldInfo& field : card::kCardFields) {
            if (!field.multiLine && page->Holds(ControlOf(field.member))) return TakeFromWindow();
        }
    }
    return true;
}

std::string CCardDialog::GetEditText(std::string card::CardRecord::*field) {
    if (!host || !host->HasControl(ControlOf(field))) return record.*field;
    return ToAnsi(host->Text(ControlOf(field))).value_or(std::string());
}

void CCardDialog::SetEditText(std::string card::CardRecord::*field, const std::string& text) {
    if (host) host->SetText(ControlOf(field), FromAnsi(text));
}

card::Result<std::pair<int, int>> CCardDialog::SetPictureData(const std::uint8_t* bytes, std::size_t size) {
    controls::CPictureStatic* panel = PicturePanel();
    if (!panel) return card::CardError{card::CardError::Kind::PictureNotShown, "The window has no picture panel.", {}};
    // A card's picture is at most 2 GiB less one byte, as its length field says.
    const bool fits = size <= static_cast<std::size_t>(INT32_MAX);
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
    // The panel decodes no more pixels than it shows (a large JPEG picture at
    // an eighth of its size), so the picture is there on the window's first
    // paint.
    picture::Result<std::pair<int, int>> shown =
        fits ? panel->SetPictureData(kCardPictureName, bytes, length) : picture::DecodeError{};
    if (!shown) {
        decoderError = {shown.Error().code, shown.Error().text};
        // The card's picture cannot be shown: the panel shows none rather than an earlier one.
        panel->ClearPicture();
        return card::CardError{card::CardError::Kind::PictureNotShown, shown.Error().text, {}};
    }
    return shown.Value();
}

void CCardDialog::OnTextRefused(int, const std::string& characters) {
    Tell(
        catalogue::FillPlaceholders(
            Tr(QT_TRANSLATE_NOOP("CCardDialog", "A card cannot hold these characters, so the text was not pasted: %1")),
            {characters}),
        platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

platform::MessageAnswer CCardDialog::Tell(const std::string& text, platform::MessageIcon icon,
                                          platform::MessageButtons buttons) {
    return platform::Services().Message(host, kMessageCaption, text, icon, buttons);
}

void CCardDialog::ShowCardNote(const card::CardNote& note) {
    Tell(CardNoteMessage(note, decoderError.first, decoderError.second),
         note.icon == card::CardMessageIcon::Stop ? platform::MessageIcon::Stop : platform::MessageIcon::Exclamation,
         platform::MessageButtons::Ok);
}

bool CCardDialog::ReadCardFile(const std::string& path) {
    const card::Result<card::CardReading> read = card::ReadCardFile(path, record, *this);
    if (!read) {
        ShowCardNote(read.Error().note);
        // A card that could not be read whole is not this window's file:
        // saving it there would write what was read over what was not.
        record.CurrentPath.clear();
        return false;
    }
    for (const card::CardNote& note : read->notes) ShowCardNote(note);
    ShowInWindow();
    if (read->pictureShort) {
        // The file ends inside its picture: what is there is shown, but the
        // card is damaged, and the next Save must not quietly write the
        // shorter picture over it.
        Tell(ShortPictureText(), platform::MessageIcon::Stop, platform::MessageButtons::Ok);
        record.CurrentPath.clear();
        return false;
    }
    return true;
}

void CCardDialog::OpenWebSite() {
    HandOver(card::WebSiteHandOver(record.WebSite));
}

void CCardDialog::SendEMail() {
    HandOver(card::EMailHandOver(record.EMail));
}

void CCardDialog::HandOver(const card::LinkHandOver& handOver) {
    if (!handOver.allowed) {
        Tell(CardNoteMessage(handOver.refusal), platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return;
    }
    platform::Services().OpenAddress(handOver.address);
}

void CCardDialog::ShowAbout() {
    CAboutDialog about(form.about);
    about.DoModal(host);
}

void CCardDialog::OnCommand(int id) {
    // Enter and Escape where no control takes them.
    if (id == resources::kIdOk || id == resources::kIdCancel) {
        ExitByKey();
        return;
    }
    if (auto it = commands.find(id); it != commands.end()) it->second();
}

void CCardDialog::ExitByKey() {
    OnCommand(resources::kIdExit);
}

void CCardDialog::OnClose() {
    // Exit ends the window itself when it lets it go.
    OnCommand(resources::kIdExit);
}

}  // namespace ovlet::window
