// The scenarios on the Win32 face, under Wine: real dialogs and controls,
// clicks as BM_CLICK, keys through the face's shortcuts and the dialog
// manager (IsDialogMessage) as a message loop hands them on, the
// close box as the system's close command; the timers on the clock the
// scenario moves.
#include <windows.h>
// (after windows.h)
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "face_driver.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/key_chord.h"
#include "platform/win32/win32_face.h"

namespace ovlet::window {
namespace {

// Delivers what is queued, as the program's message loop would.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (platform::win32::Win32Dialog::TakeKey(message)) continue;
        if (dialog && IsWindow(dialog) && IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class Win32Driver : public FaceDriver {
public:
    Win32Driver() {
        platform::InstallFace(&face);
        platform::InstallServices(&desktop);
    }
    ~Win32Driver() override {
        dialog.reset();
        Pump(nullptr);
        platform::InstallServices(nullptr);
        platform::InstallFace(nullptr);
    }

    const char* Name() const override { return "win32"; }
    platform::ScriptedDesktop& Desktop() override { return desktop; }

    void Open(const platform::DialogTemplate& dialogTemplate, platform::DialogHandler& handler) override {
        dialog = std::make_unique<platform::win32::Win32Dialog>(dialogTemplate, handler);
        dialog->UseScriptedClock();
        HWND window = dialog->Create();
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        Pump(window);
    }
    platform::DialogHost& Host() override { return *dialog; }

    std::string Caption() override { return platform::win32::WindowText(dialog->Window()); }
    bool IsVisible(int id) override {
        HWND item = dialog->Item(id);
        return item && IsWindowVisible(item);
    }
    std::string AccessibleName(int id) override {
        HWND item = dialog->Item(id);
        return item ? platform::win32::AccessibleNameOf(item) : std::string();
    }
    bool Ended() override { return dialog->Ended(); }
    int Result() override { return dialog->Result(); }

    void Click(int id) override {
        HWND item = dialog->Item(id);
        if (!item || dialog->Ended() || !IsWindowVisible(item) || !IsWindowEnabled(item)) return;
        SendMessageW(item, BM_CLICK, 0, 0);
        Pump(dialog->Window());
    }
    void PressEnter() override { Key(VK_RETURN); }
    void PressEscape() override { Key(VK_ESCAPE); }
    void CloseBox() override {
        if (dialog->Ended()) return;
        SendMessageW(dialog->Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump(dialog->Window());
    }
    void Advance(int milliseconds) override {
        dialog->AdvanceClock(milliseconds);
        Pump(dialog->Window());
    }

    platform::PointerLook Pointer() override { return dialog->Pointer(); }
    void Type(int id, const std::string& text) override {
        HWND item = dialog->Item(id);
        if (!item || dialog->Ended()) return;
        SetFocus(item);
        SendMessageW(item, EM_SETSEL, 0, -1);
        SendMessageW(item, WM_CLEAR, 0, 0);
        for (const wchar_t c : platform::win32::Wide(text)) SendMessageW(item, WM_CHAR, c, 1);
        Pump(dialog->Window());
    }
    void Paste(int id, const std::string& text) override {
        HWND item = dialog->Item(id);
        if (!item || dialog->Ended()) return;
        const std::wstring wide = platform::win32::Wide(text);
        if (OpenClipboard(dialog->Window())) {
            EmptyClipboard();
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
            if (auto* copy = static_cast<wchar_t*>(GlobalLock(memory))) {
                wide.copy(copy, wide.size());
                copy[wide.size()] = L'\0';
                GlobalUnlock(memory);
                SetClipboardData(CF_UNICODETEXT, memory);
            }
            CloseClipboard();
        }
        SendMessageW(item, EM_SETSEL, 0, -1);
        SendMessageW(item, WM_PASTE, 0, 0);
        Pump(dialog->Window());
    }
    void ChooseTab(int id, int index) override {
        HWND item = dialog->Item(id);
        if (!item || dialog->Ended()) return;
        // As a click on the page's tab: the control turns and tells its dialog.
        SendMessageW(item, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        NMHDR note{item, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(dialog->Window(), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&note));
        Pump(dialog->Window());
    }
    std::vector<platform::MenuEntry> OpenWindowMenu() override { return dialog->WindowMenu(); }
    void ChooseMenuEntry(int command) override {
        // As the menu gives it: a command with no control behind it.
        SendMessageW(dialog->Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
        Pump(dialog->Window());
    }
    void PressKeys(const std::string& keys) override {
        const std::optional<platform::win32::KeyChord> chord = platform::win32::ReadKeys(keys);
        ASSERT_TRUE(chord) << keys;
        // The modifiers held down while the key goes through the loop.
        BYTE before[256];
        GetKeyboardState(before);
        BYTE held[256];
        std::copy(std::begin(before), std::end(before), held);
        const std::pair<bool, int> modifiers[] = {
            {chord->ctrl, VK_CONTROL}, {chord->shift, VK_SHIFT}, {chord->alt, VK_MENU}};
        for (const auto& [down, code] : modifiers) {
            if (down) held[code] |= 0x80;
        }
        SetKeyboardState(held);
        Key(chord->key, chord->alt);
        SetKeyboardState(before);
    }
    void PressTab(bool back) override { PressKeys(back ? "Shift+Tab" : "Tab"); }
    bool DropFile(const std::string& path) override {
        if (dialog->Ended()) return false;
        const bool accepting = (GetWindowLongPtrW(dialog->Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
        if (!accepting) return false;
        // The shell's drop: a DROPFILES block with the wide path, ended by two NULs.
        const std::wstring wide = platform::win32::Wide(path);
        const std::size_t bytes = sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
        if (!block) return false;
        block->pFiles = sizeof(DROPFILES);
        block->fWide = TRUE;
        wide.copy(reinterpret_cast<wchar_t*>(block + 1), wide.size());
        GlobalUnlock(memory);
        const LRESULT taken = SendMessageW(dialog->Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        Pump(dialog->Window());
        return taken != 0;
    }

private:
    // A key pressed on the control with the focus, as the message loop
    // hands it to the dialog manager.
    void Key(WPARAM key, bool alt = false) {
        if (dialog->Ended()) return;
        HWND window = dialog->Window();
        HWND target = GetFocus();
        if (!target || (target != window && !IsChild(window, target))) target = window;
        const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        for (const UINT kind :
             {alt ? UINT{WM_SYSKEYDOWN} : UINT{WM_KEYDOWN}, alt ? UINT{WM_SYSKEYUP} : UINT{WM_KEYUP}}) {
            MSG message{};
            message.hwnd = target;
            message.message = kind;
            message.wParam = key;
            const bool up = kind == WM_KEYUP || kind == WM_SYSKEYUP;
            message.lParam = static_cast<LPARAM>(1 | (scan << 16) | (up ? 0xC0000000u : 0u) | (alt ? 0x20000000u : 0u));
            if (platform::win32::Win32Dialog::TakeKey(message)) {
                // taken as a command
            } else if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (dialog->Ended()) break;
        }
        Pump(window);
    }

    platform::win32::Win32Face face;
    platform::ScriptedDesktop desktop;
    std::unique_ptr<platform::win32::Win32Dialog> dialog;
};

}  // namespace

std::unique_ptr<FaceDriver> MakeFaceDriver() {
    return std::make_unique<Win32Driver>();
}

}  // namespace ovlet::window
