// The scripted face, for tests: no display, no toolkit. Dialogs keep their
// controls' state as the handler sets it and the test plays the user (clicks,
// keys, typing, the timers' clock); the desktop answers from a script and
// records every call.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/face.h"

namespace ovlet::platform {

// The next scripted answer to a message box with these buttons, taken from
// `answers`; a box with OK alone, or one asked when none is left, gets the
// answer that risks nothing (OK, No or Cancel).
MessageAnswer TakeScriptedAnswer(MessageButtons buttons, std::vector<MessageAnswer>& answers);

class ScriptedDesktop : public Desktop {
public:
    struct Call {
        std::string kind;     // "message", "file", "url", "help", "clipboard", "print", "beep"
        std::string caption;  // message caption, file dialog title, printed document's name
        std::string text;     // message text, initial file name, address, help file
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        FileRequest file;
        DialogHost* owner = nullptr;
    };

    std::vector<Call> calls;
    std::vector<MessageAnswer> messageAnswers;            // taken in order; Ok/No/Cancel when none is left
    std::vector<std::optional<std::string>> fileAnswers;  // taken in order; cancel when none is left
    std::optional<ClipboardPicture> clipboard;
    bool helpResult = true;
    bool urlResult = true;
    bool printResult = true;

    MessageAnswer Message(DialogHost* owner, const std::string& caption, const std::string& text, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(DialogHost* owner, const FileRequest& request) override;
    bool OpenAddress(const std::string& url) override;
    bool ShowHelp(DialogHost* owner, const std::string& helpFile) override;
    std::optional<ClipboardPicture> PictureOnClipboard() override;
    bool Print(DialogHost* owner, const PrintRequest& request) override;
    void Beep() override;

    // The calls of one kind, in order.
    std::vector<Call> Of(const std::string& kind) const;
};

// One dialog of the scripted face.
class ScriptedDialog : public DialogHost {
public:
    ScriptedDialog(const DialogTemplate& dialog, DialogHandler& handler, Face& face);
    ~ScriptedDialog() override;
    ScriptedDialog(const ScriptedDialog&) = delete;
    ScriptedDialog& operator=(const ScriptedDialog&) = delete;

    // Gives the handler its OnInit (once).
    void Init();

    // DialogHost.
    bool HasControl(int id) const override;
    std::string Text(int id) const override;
    void SetText(int id, const std::string& text) override;
    void SetCaption(const std::string& text) override { caption = text; }
    void SetIcon(const std::string& program) override { icon = program; }
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool show) override;
    bool IsShown(int id) const override;
    void Focus(int id) override;
    int Focused() const override { return focus; }
    void SetLimit(int id, int characters) override;
    void SetReadOnly(int id, bool readOnly) override;
    void SelectAllText(int id) override;
    void SetToolTip(int id, const std::string& text) override;
    void SetAccessibleName(int id, const std::string& name) override;
    void SetAccessibleDescription(int id, const std::string& description) override;
    void SetShortening(int id, Shortening where) override;
    bool IsShortened(int id) const override;
    void SetTextFilter(int id, TextFilter accepts) override;
    void SetWindowMenu(const std::vector<MenuEntry>& entries) override { menu = entries; }
    void SetShortcut(int command, const std::string& keys) override;
    std::string KeysText(const std::string& keys) const override { return keys; }
    void SetTabOrder(const std::vector<int>& ids) override { tabOrder = ids; }
    void SetPointer(PointerLook look) override { pointer = look; }
    void AcceptDroppedFiles(bool accept) override { acceptsFiles = accept; }
    void AddTab(int id, const std::string& text) override;
    int SelectedTab(int id) const override;
    void SelectTab(int id, int index) override;
    void StartTimer(int timer, int milliseconds) override;
    void StopTimer(int timer) override;
    void End(int result) override;

    // The user. Each does nothing once the dialog has ended, and nothing to a
    // control that is hidden or disabled, as on a screen.
    void Click(int id);
    // Enter presses the focused button; elsewhere it is the dialog's OK.
    void PressEnter();
    void PressEscape();
    void CloseBox();
    // Typing an edit's whole text anew: what goes beyond its limit is not
    // taken, nor (with a beep) a character its filter refuses.
    void Type(int id, const std::string& text);
    // A paste over an edit's whole text: one its filter refuses is not taken
    // at all, and the handler hears which characters stood in the way.
    void Paste(int id, const std::string& text);
    // A click on a tab control's page.
    void ChooseTab(int id, int index);
    // The window's menu as the user opens it, and a click on one of its entries.
    const std::vector<MenuEntry>& WindowMenu() const { return menu; }
    void ChooseMenuEntry(int command);
    // Keys pressed, written as SetShortcut takes them; false when they gave no command.
    bool PressKeys(const std::string& keys);
    // Tab (or Shift+Tab): the focus moves on to the next control the Tab key visits.
    void PressTab(bool back = false);
    // A file dropped on the window; false when the window did not take it.
    bool DropFile(const std::string& path);
    // The clock moves on: each timer that falls due in that time fires, in
    // order of time, as often as it falls due.
    void Advance(int milliseconds);

    // What can be seen of it.
    bool Ended() const { return ended; }
    int Result() const { return result; }
    const std::string& Caption() const { return caption; }
    const std::string& Icon() const { return icon; }
    std::string ToolTip(int id) const;
    std::string AccessibleName(int id) const;
    std::string AccessibleDescription(int id) const;
    int Limit(int id) const;
    bool IsReadOnly(int id) const;
    std::vector<std::string> Tabs(int id) const;
    // The handler's control that draws itself there; null for none.
    OwnerDrawnControl* OwnerDrawnAt(int id) const;
    bool TimerRunning(int timer) const { return timers.count(timer) != 0; }
    PointerLook Pointer() const { return pointer; }
    // The keys set for a command ("" for none).
    std::string Shortcut(int command) const;
    const DialogTemplate& Template() const { return dialogTemplate; }

private:
    struct Control;
    struct Timer {
        int interval;
        long long due;
    };
    Control* Find(int id);
    const Control* Find(int id) const;
    // The user's new text of an edit, as far as its limit lets it in.
    void Take(int id, const std::string& text);
    bool Usable(int id) const;

    const DialogTemplate& dialogTemplate;
    DialogHandler& handler;
    std::map<int, std::unique_ptr<Control>> controls;
    std::string caption;
    std::string icon;
    int focus = kNoControl;
    std::vector<MenuEntry> menu;
    std::map<int, std::string> shortcuts;
    std::vector<int> tabOrder;
    PointerLook pointer = PointerLook::Normal;
    bool acceptsFiles = false;
    std::map<int, Timer> timers;
    long long now = 0;
    bool initialised = false;
    bool ended = false;
    int result = 0;
};

class ScriptedFace : public Face {
public:
    ScriptedDesktop desktop;
    // The user's part in each dialog run modally, in the order they run; a
    // dialog without a script of its own gets Escape.
    std::vector<std::function<void(ScriptedDialog&)>> runScripts;
    // Translations by text as written; a text without one is shown as written.
    std::map<std::string, std::string> translations;

    struct Run {
        int dialogId;
        std::string caption;
        int result;
        bool ended;  // false: the script left it open, and it was taken down
    };
    std::vector<Run> runs;

    int RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) override;
    Desktop& DesktopServices() override { return desktop; }
    std::string Translate(const char* context, const char* text) override;

    // A dialog built and initialised but not run: the test plays the user.
    std::unique_ptr<ScriptedDialog> Open(const DialogTemplate& dialog, DialogHandler& handler);
};

}  // namespace ovlet::platform
