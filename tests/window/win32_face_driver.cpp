// The scenarios on the Win32 face, under Wine: real dialogs and controls,
// clicks as BM_CLICK, keys through the dialog manager (IsDialogMessage), the
// close box as the system's close command; the timers on the clock the
// scenario moves.
#include <windows.h>

#include <gtest/gtest.h>

#include "face_driver.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/win32_face.h"

namespace {

using platform::win32::Win32Dialog;

// Delivers what is queued, as the program's message loop would.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
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
        dialog = std::make_unique<Win32Dialog>(dialogTemplate, handler);
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

private:
    // A key pressed on the control with the focus, as the message loop
    // hands it to the dialog manager.
    void Key(WPARAM key) {
        if (dialog->Ended()) return;
        HWND window = dialog->Window();
        HWND target = GetFocus();
        if (!target || (target != window && !IsChild(window, target))) target = window;
        const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        for (const UINT kind : {WM_KEYDOWN, WM_KEYUP}) {
            MSG message{};
            message.hwnd = target;
            message.message = kind;
            message.wParam = key;
            message.lParam = static_cast<LPARAM>(1 | (scan << 16) | (kind == WM_KEYUP ? 0xC0000000u : 0u));
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (dialog->Ended()) break;
        }
        Pump(window);
    }

    platform::win32::Win32Face face;
    platform::ScriptedDesktop desktop;
    std::unique_ptr<Win32Dialog> dialog;
};

}  // namespace

std::unique_ptr<FaceDriver> MakeFaceDriver() {
    return std::make_unique<Win32Driver>();
}
