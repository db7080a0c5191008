#include "platform/scripted_face.h"

#include <algorithm>

namespace ovlet::platform {

MessageAnswer TakeScriptedAnswer(MessageButtons buttons, std::vector<MessageAnswer>& answers) {
    const MessageAnswer fallback = buttons == MessageButtons::YesNo         ? MessageAnswer::No
                                   : buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel
                                                                            : MessageAnswer::Ok;
    if (buttons == MessageButtons::Ok || answers.empty()) return fallback;
    const MessageAnswer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

// ScriptedDesktop

MessageAnswer ScriptedDesktop::Message(DialogHost* owner, const std::string& caption, const std::string& text,
                                       MessageIcon icon, MessageButtons buttons) {
    Call call;
    call.kind = "message";
    call.caption = caption;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.owner = owner;
    calls.push_back(call);
    return TakeScriptedAnswer(buttons, messageAnswers);
}

std::optional<std::string> ScriptedDesktop::ChooseFile(DialogHost* owner, const FileRequest& request) {
    Call call;
    call.kind = "file";
    call.caption = request.title;
    call.text = request.initialName;
    call.file = request;
    call.owner = owner;
    calls.push_back(call);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.erase(fileAnswers.begin());
    return answer;
}

bool ScriptedDesktop::OpenAddress(const std::string& url) {
    Call call;
    call.kind = "url";
    call.text = url;
    calls.push_back(call);
    return urlResult;
}

bool ScriptedDesktop::ShowHelp(DialogHost* owner, const std::string& helpFile) {
    Call call;
    call.kind = "help";
    call.text = helpFile;
    call.owner = owner;
    calls.push_back(call);
    return helpResult;
}

std::optional<ClipboardPicture> ScriptedDesktop::PictureOnClipboard() {
    Call call;
    call.kind = "clipboard";
    calls.push_back(call);
    return clipboard;
}

bool ScriptedDesktop::Print(DialogHost* owner, const PrintRequest& request) {
    Call call;
    call.kind = "print";
    call.caption = request.documentName;
    call.owner = owner;
    calls.push_back(call);
    return printResult;
}

void ScriptedDesktop::Beep() {
    Call call;
    call.kind = "beep";
    calls.push_back(call);
}

std::vector<ScriptedDesktop::Call> ScriptedDesktop::Of(const std::string& kind) const {
    std::vector<Call> out;
    for (const Call& c : calls) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

// ScriptedDialog

namespace {

// Hosts a control that draws itself as the Qt face hosts it, without a
// screen: its size is the template's, in dialog units taken as pixels, its
// text the dialog's, one character six pixels wide.
class ScriptedControlHost : public ControlHost {
public:
    ScriptedControlHost(ScriptedDialog& owner, Face& dialogFace, int controlId, int w, int h)
        : dialog(owner), face(dialogFace), id(controlId), width(w), height(h) {}
    int Width() const override { return width; }
    int Height() const override { return height; }
    void Resize(int w, int h) override {
        width = w;
        height = h;
    }
    double Scale() const override { return 1.0; }
    Colour System(SystemColour which) const override {
        return which == SystemColour::Window ? Colour{240, 240, 240} : Colour{0, 0, 0};
    }
    void Redraw() override {}
    void RedrawNow() override {}
    void SetCursor(Cursor) override {}
    void SetTabStop(bool) override {}
    bool HasFocus() const override { return dialog.Focused() == id; }
    bool IsDown() const override { return false; }
    std::string Text() const override { return dialog.Text(id); }
    int TextWidth(const std::string& utf8, TextStyle) const override {
        int characters = 0;
        for (const char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return 6 * characters;
    }
    std::string Elided(const std::string& utf8, int, TextStyle) const override { return utf8; }
    std::string Translate(const char* context, const char* text) const override {
        return face.Translate(context, text);
    }
    void SetAccessibleName(const std::string& utf8) override { dialog.SetAccessibleName(id, utf8); }
    void SetAccessibleRole(AccessibleRole) override {}

private:
    ScriptedDialog& dialog;
    Face& face;
    int id;
    int width;
    int height;
};

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton ||
           kind == ControlKind::OwnerDrawButton;
}

bool IsEdit(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

int CharacterCount(const std::string& utf8) {
    int characters = 0;
    for (const char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters;
}

// The characters of UTF-8 text the filter refuses, each once, separated by spaces.
std::string RefusedCharacters(const TextFilter& accepts, const std::string& text) {
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        const std::string character = text.substr(i, end - i);
        if (!accepts(character) && std::find(refused.begin(), refused.end(), character) == refused.end()) {
            refused.push_back(character);
        }
        i = end;
    }
    std::string joined;
    for (const std::string& c : refused) joined += (joined.empty() ? "" : " ") + c;
    return joined;
}

// The first `characters` characters of UTF-8 text (a character is a lead byte
// and its continuation bytes).
std::string FirstCharacters(const std::string& text, int characters) {
    std::size_t end = 0;
    for (int n = 0; end < text.size(); ++end) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && n++ == characters) break;
    }
    return text.substr(0, end);
}

}  // namespace

struct ScriptedDialog::Control {
    ControlKind kind;
    bool tabStop;
    int width = 0;  // dialog units
    Shortening shortening = Shortening::None;
    TextFilter filter;
    std::string text;
    bool enabled = true;
    bool shown = true;
    bool readOnly = false;
    bool allSelected = false;  // its text selected whole, to be typed over
    int limit = 0;
    std::string toolTip;
    std::string accessibleName;
    std::string accessibleDescription;
    std::vector<std::string> tabs;
    int selectedTab = -1;
    std::unique_ptr<ControlHost> drawnHost;
    std::unique_ptr<OwnerDrawnControl> drawn;
};

ScriptedDialog::ScriptedDialog(const DialogTemplate& dialog, DialogHandler& dialogHandler, Face& face)
    : dialogTemplate(dialog), handler(dialogHandler) {
    if (!dialog.caption.empty()) caption = face.Translate(dialog.context, dialog.caption.c_str());
    for (const ControlTemplate& c : dialog.controls) {
        if (c.id < 0) continue;
        auto control = std::make_unique<Control>();
        control->kind = c.kind;
        control->tabStop = c.tabStop;
        control->width = c.width;
        if (!c.text.empty()) control->text = dialog.context ? face.Translate(dialog.context, c.text.c_str()) : c.text;
        controls[c.id] = std::move(control);
    }
    // The handler's own controls, attached once every control is there.
    for (const ControlTemplate& c : dialog.controls) {
        if (c.id < 0 || (c.kind != ControlKind::OwnerDrawButton && c.kind != ControlKind::PicturePanel)) continue;
        Control& control = *controls[c.id];
        control.drawn = handler.MakeOwnerDrawn(c.id);
        if (!control.drawn) continue;
        control.drawnHost = std::make_unique<ScriptedControlHost>(*this, face, c.id, c.width, c.height);
        control.drawn->Attach(control.drawnHost.get());
    }
    // The keyboard starts at the first control the Tab key visits.
    for (const ControlTemplate& c : dialog.controls) {
        if (c.tabStop && c.id >= 0) {
            focus = c.id;
            break;
        }
    }
}

ScriptedDialog::~ScriptedDialog() {
    // The controls go before their hosts.
    for (auto& [id, control] : controls) control->drawn.reset();
}

void ScriptedDialog::Init() {
    if (initialised) return;
    initialised = true;
    handler.OnInit(*this);
    if (!ended) handler.OnShown();
}

ScriptedDialog::Control* ScriptedDialog::Find(int id) {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.get();
}

const ScriptedDialog::Control* ScriptedDialog::Find(int id) const {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.get();
}

bool ScriptedDialog::Usable(int id) const {
    const Control* c = Find(id);
    return !ended && c && c->shown && c->enabled;
}

bool ScriptedDialog::HasControl(int id) const {
    return Find(id) != nullptr;
}

std::string ScriptedDialog::Text(int id) const {
    const Control* c = Find(id);
    return c ? c->text : std::string();
}

void ScriptedDialog::SetText(int id, const std::string& text) {
    if (Control* c = Find(id)) c->text = text;
}

void ScriptedDialog::Enable(int id, bool enable) {
    if (Control* c = Find(id)) c->enabled = enable;
    if (!enable && focus == id) focus = kNoControl;
}

bool ScriptedDialog::IsEnabled(int id) const {
    const Control* c = Find(id);
    return c && c->enabled;
}

void ScriptedDialog::Show(int id, bool show) {
    if (Control* c = Find(id)) c->shown = show;
    if (!show && focus == id) focus = kNoControl;
}

bool ScriptedDialog::IsShown(int id) const {
    const Control* c = Find(id);
    return c && c->shown;
}

void ScriptedDialog::Focus(int id) {
    if (Usable(id)) focus = id;
}

void ScriptedDialog::SetLimit(int id, int characters) {
    if (Control* c = Find(id)) c->limit = characters;
}

void ScriptedDialog::SetReadOnly(int id, bool readOnly) {
    if (Control* c = Find(id)) c->readOnly = readOnly;
}

void ScriptedDialog::SelectAllText(int id) {
    if (Control* c = Find(id)) c->allSelected = true;
}

void ScriptedDialog::SetToolTip(int id, const std::string& text) {
    if (Control* c = Find(id)) c->toolTip = text;
}

void ScriptedDialog::SetAccessibleName(int id, const std::string& name) {
    if (Control* c = Find(id)) c->accessibleName = name;
}

void ScriptedDialog::SetAccessibleDescription(int id, const std::string& description) {
    if (Control* c = Find(id)) c->accessibleDescription = description;
}

void ScriptedDialog::SetShortening(int id, Shortening where) {
    if (Control* c = Find(id)) c->shortening = where;
}

bool ScriptedDialog::IsShortened(int id) const {
    // Without a screen a character is taken as four dialog units wide (the
    // layouts' average character).
    const Control* c = Find(id);
    return c && c->shortening != Shortening::None && 4 * CharacterCount(c->text) > c->width;
}

void ScriptedDialog::SetTextFilter(int id, TextFilter accepts) {
    if (Control* c = Find(id)) c->filter = std::move(accepts);
}

void ScriptedDialog::SetShortcut(int command, const std::string& keys) {
    if (keys.empty()) {
        shortcuts.erase(command);
    } else {
        shortcuts[command] = keys;
    }
}

std::string ScriptedDialog::Shortcut(int command) const {
    const auto it = shortcuts.find(command);
    return it == shortcuts.end() ? std::string() : it->second;
}

void ScriptedDialog::AddTab(int id, const std::string& text) {
    Control* c = Find(id);
    if (!c) return;
    c->tabs.push_back(text);
    if (c->selectedTab < 0) c->selectedTab = 0;
}

int ScriptedDialog::SelectedTab(int id) const {
    const Control* c = Find(id);
    return c ? c->selectedTab : -1;
}

void ScriptedDialog::SelectTab(int id, int index) {
    Control* c = Find(id);
    if (c && index >= 0 && index < static_cast<int>(c->tabs.size())) c->selectedTab = index;
}

void ScriptedDialog::StartTimer(int timer, int milliseconds) {
    if (ended) return;
    timers[timer] = Timer{std::max(milliseconds, 1), now + std::max(milliseconds, 1)};
}

void ScriptedDialog::StopTimer(int timer) {
    timers.erase(timer);
}

void ScriptedDialog::End(int endResult) {
    if (ended) return;
    ended = true;
    result = endResult;
    // The timers end with the window.
    timers.clear();
}

void ScriptedDialog::Click(int id) {
    const Control* c = Find(id);
    if (!Usable(id) || !IsButton(c->kind)) return;
    handler.OnCommand(id);
}

void ScriptedDialog::PressEnter() {
    if (ended) return;
    if (const Control* c = Find(focus); c && IsButton(c->kind) && Usable(focus)) {
        handler.OnCommand(focus);
        return;
    }
    handler.OnCommand(kIdOk);
}

void ScriptedDialog::PressEscape() {
    if (!ended) handler.OnCommand(kIdCancel);
}

void ScriptedDialog::CloseBox() {
    if (!ended) handler.OnClose();
}

void ScriptedDialog::Type(int id, const std::string& text) {
    Control* c = Find(id);
    if (!Usable(id) || !IsEdit(c->kind) || c->readOnly) return;
    focus = id;
    // Key by key: a character the filter refuses is not taken, with a beep.
    std::string typed;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        const std::string character = text.substr(i, end - i);
        if (c->filter && !c->filter(character)) {
            Services().Beep();
        } else {
            typed += character;
        }
        i = end;
    }
    Take(id, typed);
}

void ScriptedDialog::Paste(int id, const std::string& text) {
    Control* c = Find(id);
    if (!Usable(id) || !IsEdit(c->kind) || c->readOnly) return;
    focus = id;
    if (c->filter && !c->filter(text)) {
        handler.OnTextRefused(id, RefusedCharacters(c->filter, text));
        return;
    }
    Take(id, text);
}

void ScriptedDialog::Take(int id, const std::string& text) {
    Control* c = Find(id);
    const std::string taken = c->limit > 0 ? FirstCharacters(text, c->limit) : text;
    if (taken == c->text) return;
    c->text = taken;
    handler.OnTextChanged(id);
}

void ScriptedDialog::ChooseTab(int id, int index) {
    Control* c = Find(id);
    if (!Usable(id) || index < 0 || index >= static_cast<int>(c->tabs.size()) || index == c->selectedTab) return;
    c->selectedTab = index;
    handler.OnTabChanged(id);
}

void ScriptedDialog::ChooseMenuEntry(int command) {
    if (ended || command == kNoControl) return;
    const bool listed =
        std::any_of(menu.begin(), menu.end(), [command](const MenuEntry& e) { return e.command == command; });
    if (listed) handler.OnCommand(command);
}

bool ScriptedDialog::PressKeys(const std::string& keys) {
    if (ended) return false;
    for (const auto& [command, set] : shortcuts) {
        if (set != keys) continue;
        // A button's keys work only where the button can be clicked.
        if (Find(command) && !Usable(command)) return false;
        handler.OnCommand(command);
        return true;
    }
    return false;
}

void ScriptedDialog::PressTab(bool back) {
    if (ended) return;
    std::vector<int> stops;
    if (!tabOrder.empty()) {
        for (int id : tabOrder) {
            if (Usable(id)) stops.push_back(id);
        }
    } else {
        for (const ControlTemplate& c : dialogTemplate.controls) {
            if (c.tabStop && c.id >= 0 && Usable(c.id)) stops.push_back(c.id);
        }
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), focus);
    if (at == stops.end()) {
        focus = back ? stops.back() : stops.front();
        return;
    }
    const auto index = static_cast<std::size_t>(at - stops.begin());
    focus = stops[back ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size()];
}

bool ScriptedDialog::DropFile(const std::string& path) {
    if (ended || !acceptsFiles || !handler.TakesDroppedFile(path)) return false;
    handler.OnFileDropped(path);
    return true;
}

void ScriptedDialog::Advance(int milliseconds) {
    const long long until = now + std::max(milliseconds, 0);
    while (!ended) {
        const auto next = std::min_element(timers.begin(), timers.end(),
                                           [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        if (next == timers.end() || next->second.due > until) break;
        now = next->second.due;
        next->second.due += next->second.interval;
        handler.OnTimer(next->first);
    }
    now = until;
}

std::string ScriptedDialog::ToolTip(int id) const {
    const Control* c = Find(id);
    return c ? c->toolTip : std::string();
}

std::string ScriptedDialog::AccessibleName(int id) const {
    const Control* c = Find(id);
    if (!c) return {};
    // A button without a name of its own is named by its text.
    if (c->accessibleName.empty() && IsButton(c->kind)) return c->text;
    return c->accessibleName;
}

std::string ScriptedDialog::AccessibleDescription(int id) const {
    const Control* c = Find(id);
    return c ? c->accessibleDescription : std::string();
}

int ScriptedDialog::Limit(int id) const {
    const Control* c = Find(id);
    return c ? c->limit : 0;
}

bool ScriptedDialog::IsReadOnly(int id) const {
    const Control* c = Find(id);
    return c && c->readOnly;
}

OwnerDrawnControl* ScriptedDialog::OwnerDrawnAt(int id) const {
    const Control* c = Find(id);
    return c ? c->drawn.get() : nullptr;
}

std::vector<std::string> ScriptedDialog::Tabs(int id) const {
    const Control* c = Find(id);
    return c ? c->tabs : std::vector<std::string>();
}

// ScriptedFace

int ScriptedFace::RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost*) {
    ScriptedDialog shown(dialog, handler, *this);
    shown.Init();
    if (!runScripts.empty()) {
        const auto script = std::move(runScripts.front());
        runScripts.erase(runScripts.begin());
        script(shown);
    } else {
        shown.PressEscape();
    }
    runs.push_back(Run{dialog.id, shown.Caption(), shown.Ended() ? shown.Result() : kIdCancel, shown.Ended()});
    return runs.back().result;
}

std::string ScriptedFace::Translate(const char*, const char* text) {
    if (!text) return {};
    const auto it = translations.find(text);
    return it == translations.end() ? std::string(text) : it->second;
}

std::unique_ptr<ScriptedDialog> ScriptedFace::Open(const DialogTemplate& dialog, DialogHandler& handler) {
    auto shown = std::make_unique<ScriptedDialog>(dialog, handler, *this);
    shown->Init();
    return shown;
}

}  // namespace ovlet::platform
