// The Win32 face: the windows as dialogs built by the system from their
// templates in dialog units, the owner-drawn controls painted with GDI, the
// desktop's services through the shell and the common dialogs. Texts cross
// into the system as UTF-16 and come back as UTF-8.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/face.h"

namespace ovlet::platform {

// A printed page on this face: the printer's device, drawn on in dots of the
// printer's across resolution in both directions, from the paper's top left.
class PrintSurface {
public:
    PrintSurface(HDC page, double dots) : dc(page), dotsPerMm(dots) {}
    HDC dc;
    double dotsPerMm;
};

}  // namespace ovlet::platform

namespace ovlet::platform::win32 {

class OwnerDrawnHost;

// Sets a device up to be drawn on from the paper's corner (a printer's
// printable area starts inside it) in square dots, whatever its resolution
// up and across: the dots to the millimetre.
double DrawFromPaperCorner(HDC dc);
// The paper a printer's settings hold, as the layouts know papers: A4, or
// US Letter (also for any other paper shorter than A4).
Paper PaperOfPrinter(const DEVMODEW& settings);

// UTF-8 to the system's UTF-16 and back (malformed input becomes U+FFFD).
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// A window's text.
std::string WindowText(HWND window);

// The style bits of a label shortened where asked (none for None).
LONG_PTR ShorteningStyle(Shortening where);

// The template as the face lays it out with the system's dialog font: as
// written where its one-line labels fit their boxes, else wider across (every
// x and width times one factor) until each fits with a pixel to spare.
DialogTemplate FittedToFont(const DialogTemplate& dialog);

// One dialog of the face, modal (Run) or modeless (Create).
class Win32Dialog : public DialogHost {
public:
    Win32Dialog(const DialogTemplate& dialog, DialogHandler& handler, HWND owner = nullptr);
    ~Win32Dialog() override;
    Win32Dialog(const Win32Dialog&) = delete;
    Win32Dialog& operator=(const Win32Dialog&) = delete;

    // Runs the dialog modally; its result, or -1 when it could not be made.
    int Run();
    // A key pressed in a dialog of this face that the dialog handles itself:
    // one of its shortcuts gives the shortcut's command, and Tab follows the
    // order the handler gave. True then, and the key goes no further. The
    // modal loop asks this of every message; a loop of the program's own asks
    // it before IsDialogMessage.
    static bool TakeKey(const MSG& message);
    // Makes the dialog and gives the handler its OnInit; not shown yet.
    HWND Create();
    HWND Window() const { return window; }
    HWND Item(int id) const;

    bool Ended() const { return ended; }
    PointerLook Pointer() const { return pointer; }
    const std::vector<MenuEntry>& WindowMenu() const { return menu; }
    int Result() const { return result; }

    // The timers run on a clock moved by AdvanceClock (for tests), not on
    // the system's.
    void UseScriptedClock() { scriptedClock = true; }
    void AdvanceClock(int milliseconds);

    // DialogHost.
    bool HasControl(int id) const override;
    std::string Text(int id) const override;
    void SetText(int id, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    void SetIcon(const std::string& program) override;
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool show) override;
    bool IsShown(int id) const override;
    void Focus(int id) override;
    int Focused() const override;
    void SetLimit(int id, int characters) override;
    void SetReadOnly(int id, bool readOnly) override;
    void SelectAllText(int id) override;
    void SetToolTip(int id, const std::string& text) override;
    void SetAccessibleName(int id, const std::string& name) override;
    void SetAccessibleDescription(int id, const std::string& description) override;
    void SetShortening(int id, Shortening where) override;
    bool IsShortened(int id) const override;
    void SetTextFilter(int id, TextFilter accepts) override;
    void SetWindowMenu(const std::vector<MenuEntry>& entries) override;
    void SetShortcut(int command, const std::string& keys) override;
    std::string KeysText(const std::string& keys) const override { return keys; }
    void SetTabOrder(const std::vector<int>& ids) override;
    void SetPointer(PointerLook look) override;
    void AcceptDroppedFiles(bool accept) override;
    void AddTab(int id, const std::string& text) override;
    int SelectedTab(int id) const override;
    void SelectTab(int id, int index) override;
    void StartTimer(int timer, int milliseconds) override;
    void StopTimer(int timer) override;
    void End(int result) override;

private:
    static LRESULT CALLBACK FilteredEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void ShowWindowMenu(LPARAM where);
    void RegisterToolTip(int id);
    // The command of a shortcut pressed in `target` (a key its edit uses
    // itself stays with the edit).
    bool GiveShortcut(unsigned key, HWND target);
    bool MoveInTabOrder(bool back);
    // Whether the handler took any of the files.
    bool TakeDrop(HDROP drop);
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL Init();
    void PlaceOverOwner();
    bool HasTabStops() const;
    bool IsKind(int id, ControlKind kind) const;
    const ControlTemplate* TemplateOf(int id) const;
    OwnerDrawnHost* OwnerDrawnOf(int id) const;
    // Whether a control of the template waits to be made until its first
    // showing; whether one still waits, and the control, made now if it was
    // (null for none).
    static bool MadeOnFirstShowing(const ControlTemplate& control);
    bool Waits(int id) const { return waiting.contains(id); }
    HWND Made(int id);
    // Where a control of the template stands, in the dialog's pixels.
    RECT PixelsOf(const ControlTemplate& control) const;
    // The child before which a control made late goes, so the children keep
    // the template's order (painting, the dialog manager's keys and the icon
    // controls rely on it).
    HWND ChildBefore(const ControlTemplate& control) const;

    struct ScriptedTimer {
        int interval;
        long long due;
    };

    // A plain control of a page that is not on screen at start is made on
    // its first showing, as property sheets make their pages: the window comes
    // up sooner. Until then it is what the handler gave it.
    struct WaitingControl {
        std::string text;
        bool enabled = true;
        int limit = -1;
        bool readOnly = false;
        std::optional<std::string> name;
        std::optional<std::string> description;
    };

    // The template without the controls the handler never uses.
    const DialogTemplate usedTemplate;
    const DialogTemplate& dialogTemplate;
    DialogHandler& handler;
    HWND owner;
    HWND window = nullptr;
    HWND toolTips = nullptr;
    std::vector<std::uint8_t> templateBytes;
    std::map<int, std::unique_ptr<OwnerDrawnHost>> ownerDrawn;
    std::map<int, WaitingControl> waiting;
    std::map<int, std::wstring> tipTexts;
    std::set<int> tipsRegistered;
    std::map<int, TextFilter> filters;
    std::map<int, Shortening> shortening;
    std::map<int, std::string> shortcuts;
    std::vector<int> tabOrder;
    std::vector<MenuEntry> menu;
    // The system menu's ids of the window menu's entries, and their commands.
    std::map<UINT, int> systemCommands;
    PointerLook pointer = PointerLook::Normal;
    bool settingText = false;
    // The program's icons, given once a modal dialog is on screen (their
    // handing to the desktop would otherwise hold its first showing back).
    std::optional<std::string> pendingIcon;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    bool modal = false;
    // A modal dialog once its start has shown it.
    bool onScreen = false;
    bool focusSet = false;
    // The control a modal dialog gives the keyboard once it is on screen:
    // focus asked for before activates the hidden window once more.
    int pendingFocus = kNoControl;
    bool annotationsHeld = false;
    bool ended = false;
    int result = 0;
    bool scriptedClock = false;
    long long now = 0;
    std::map<int, ScriptedTimer> scriptedTimers;
    std::set<int> systemTimers;
};

class Win32Face : public Face {
public:
    // Registers the common controls and sets the catalogue's language from
    // the user's display languages.
    Win32Face();
    ~Win32Face() override;
    int RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) override;
    Desktop& DesktopServices() override;
    std::string Translate(const char* context, const char* text) override;

private:
    class Win32Desktop;
    std::unique_ptr<Win32Desktop> desktop;
};

// The window of a dialog this face made (null for none, or another face's).
HWND WindowOf(DialogHost* host);

}  // namespace ovlet::platform::win32
