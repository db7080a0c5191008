// A dialog in the window's words. The window describes it once as a template
// (dialog_template.h) and implements a DialogHandler; a face of the platform
// builds the dialog, hands the handler a DialogHost for its controls and calls
// the handler as the user works it. Controls are known by their template ids;
// texts are UTF-8 (a multi-line edit's lines end in CR LF).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/owner_drawn.h"

namespace ovlet::platform {

class OwnerDrawnControl;

inline constexpr int kNoControl = -1;

// Where a one-line text too long for its box is shortened with an ellipsis:
// at its end (a name keeps its start) or in its middle (a path keeps its
// file name in sight).
enum class Shortening { None, End, Middle };

// One entry of the window's menu: the command it gives the handler's
// OnCommand, or a separator line (kNoControl).
struct MenuEntry {
    int command = kNoControl;
    std::string text;
};

// The pointer over the dialog: as the controls want it, or busy while the
// handler works through something long.
enum class PointerLook { Normal, Busy };

// Whether an edit takes a text typed or pasted into it (UTF-8), judged whole
// and character by character. Null: every text.
using TextFilter = std::function<bool(const std::string& text)>;

// What the face does for one open dialog, on the handler's request. Calls
// naming an id the dialog does not have do nothing (and read as empty).
class DialogHost {
public:
    virtual ~DialogHost() = default;

    virtual bool HasControl(int id) const = 0;
    virtual std::string Text(int id) const = 0;
    // As the program sets it: an edit's typing limit does not apply.
    virtual void SetText(int id, const std::string& text) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // The dialog's icon: the icon of the program named (its icon controls draw it).
    virtual void SetIcon(const std::string& program) = 0;

    virtual void Enable(int id, bool enable) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void Show(int id, bool show) = 0;
    virtual bool IsShown(int id) const = 0;
    virtual void Focus(int id) = 0;
    // The control that has the keyboard; kNoControl when none of the dialog's has it.
    virtual int Focused() const = 0;

    // An edit's typing limit in characters (0: none) and whether it can be changed.
    virtual void SetLimit(int id, int characters) = 0;
    virtual void SetReadOnly(int id, bool readOnly) = 0;
    // Selects an edit's whole text (to be typed over).
    virtual void SelectAllText(int id) = 0;

    virtual void SetToolTip(int id, const std::string& text) = 0;
    // What assistive technology calls the control, and what it adds about it.
    virtual void SetAccessibleName(int id, const std::string& name) = 0;
    virtual void SetAccessibleDescription(int id, const std::string& description) = 0;

    // A one-line text that does not fit its box is shown shortened (None:
    // cut off as it stands); whether the text it shows now is shortened.
    virtual void SetShortening(int id, Shortening where) = 0;
    virtual bool IsShortened(int id) const = 0;
    // What an edit takes from the user. A character typed that it does not
    // take is refused with the desktop's beep; a paste it does not take leaves
    // the text as it was and reaches the handler's OnTextRefused with the
    // characters that stood in the way.
    virtual void SetTextFilter(int id, TextFilter accepts) = 0;

    // The window's menu, opened with a right click anywhere on the window,
    // Shift+F10, the Menu key or Alt+Space (where the desktop has a system
    // menu, the entries end it); an entry gives its command.
    virtual void SetWindowMenu(const std::vector<MenuEntry>& entries) = 0;
    // Keys that give `command` from anywhere in the dialog, written the
    // portable way: "Ctrl+N", "Ctrl+Shift+S", "F1", "Del", "Ctrl+PgDown".
    // A command of a button gives it only while the button is shown and
    // enabled. Empty keys: none (again).
    virtual void SetShortcut(int command, const std::string& keys) = 0;
    // The keys as the desktop writes them for the user (in a tool tip).
    virtual std::string KeysText(const std::string& keys) const = 0;
    // The controls the Tab key visits in turn (Shift+Tab backwards), of those
    // shown and enabled; empty: the template's order.
    virtual void SetTabOrder(const std::vector<int>& ids) = 0;
    virtual void SetPointer(PointerLook look) = 0;
    // Whether files dragged over the window are offered to the handler
    // (TakesDroppedFile, OnFileDropped), on its controls too.
    virtual void AcceptDroppedFiles(bool accept) = 0;

    // A tab control's pages: appended in order; the selection by index (-1: none).
    virtual void AddTab(int id, const std::string& text) = 0;
    virtual int SelectedTab(int id) const = 0;
    virtual void SelectTab(int id, int index) = 0;

    // A timer that calls the handler's OnTimer(timer) every `milliseconds`
    // until it is stopped or the dialog ends; a second start restarts it.
    virtual void StartTimer(int timer, int milliseconds) = 0;
    virtual void StopTimer(int timer) = 0;

    // Ends the dialog: the run that showed it returns `result`.
    virtual void End(int result) = 0;
};

// What a dialog does. The face calls these on its one thread, one at a time.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;

    // The controls are there and the dialog is about to show: fill them in.
    // `host` serves the dialog until it ends.
    virtual void OnInit(DialogHost& dialog) { host = &dialog; }
    // Once, as soon as the dialog is on screen, before anything the user
    // does reaches it (where the face shows it itself; else right after
    // OnInit): the work the window need not wait for to be on screen.
    virtual void OnShown() {}
    // A button, link or menu entry was used; kIdOk and kIdCancel also for
    // Enter and Escape. They end the dialog unless the handler does otherwise.
    virtual void OnCommand(int id) {
        if (id == kIdOk || id == kIdCancel) host->End(id);
    }
    virtual void OnTimer(int) {}
    // The user changed an edit's text (not the handler's SetText).
    virtual void OnTextChanged(int) {}
    // The user turned the page of a tab control (not the handler's SelectTab).
    virtual void OnTabChanged(int) {}
    // An edit did not take what the user pasted: `characters` are
    // those its filter refuses, each once, separated by spaces.
    virtual void OnTextRefused(int, const std::string&) {}
    // A file (its local path) dragged over the window: whether the handler
    // takes it. OnFileDropped comes once the drop has ended, so what the
    // handler shows holds up nothing of the program the file came from.
    virtual bool TakesDroppedFile(const std::string&) { return false; }
    virtual void OnFileDropped(const std::string&) {}
    // The close box or the desktop's close request: as Escape unless the
    // handler does otherwise. The dialog ends only when the handler ends it.
    virtual void OnClose() { OnCommand(kIdCancel); }
    // The control that draws an owner-drawn button or picture panel of the
    // template, asked for once as the dialog is built; the face keeps it
    // while the dialog lives (the handler may keep a pointer to talk to it).
    // Null: the face leaves the place empty.
    virtual std::unique_ptr<OwnerDrawnControl> MakeOwnerDrawn(int) { return nullptr; }
    // Whether the dialog uses the template's control `id` at all: one it
    // never shows need not be made (the dialog then comes up sooner, and
    // calls naming it do nothing).
    virtual bool UsesControl(int) const { return true; }
    // Whether control `id` is on screen when the dialog first shows: a face
    // may make the others hidden from the start, sparing the work of hiding
    // them (the handler still shows and hides them as before).
    virtual bool ShownAtStart(int) const { return true; }

protected:
    DialogHost* host = nullptr;
};

}  // namespace ovlet::platform
