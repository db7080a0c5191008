#include <windows.h>
// (the system's headers first: commctrl needs windows.h)
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "files/utf16.h"
#include "platform/face.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/owner_drawn_host.h"
#include "platform/win32/win32_face.h"

namespace platform::win32 {
namespace {

// The system's timer ids of the handler's timers (0 is no timer id).
constexpr UINT_PTR kTimerBase = 0x4F00;

bool IsOwnerDrawn(ControlKind kind) {
    return kind == ControlKind::OwnerDrawButton || kind == ControlKind::PicturePanel;
}

bool IsEditKind(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

HICON ProgramIcon(const std::string& program, int size) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    std::wstring name = Wide(program);
    for (wchar_t& c : name) c = static_cast<wchar_t>(towupper(c));
    // The program's named icon, else its own first icon, else the system's.
    const wchar_t* const resources[] = {name.c_str(), MAKEINTRESOURCEW(1)};
    for (const wchar_t* resource : resources) {
        if (resource == name.c_str() && name.empty()) continue;
        if (auto* icon = static_cast<HICON>(LoadImageW(module, resource, IMAGE_ICON, size, size, LR_DEFAULTCOLOR))) {
            return icon;
        }
    }
    return nullptr;
}

}  // namespace

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = files::Utf16FromUtf8(utf8);
    return {wide.begin(), wide.end()};
}

std::string Utf8(const std::wstring& wide) {
    const std::u16string text(wide.begin(), wide.end());
    return files::Utf8FromUtf16(text);
}

std::string WindowText(HWND window) {
    if (!window) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Utf8(text);
}

Win32Dialog::Win32Dialog(const DialogTemplate& dialog, DialogHandler& dialogHandler, HWND ownerWindow)
    : dialogTemplate(dialog), handler(dialogHandler), owner(ownerWindow) {
    templateBytes = BuildTemplate(dialog, [](const char* context, const std::string& text) {
        return context ? platform::Translate(context, text.c_str()) : text;
    });
}

Win32Dialog::~Win32Dialog() {
    if (window && !modal) DestroyWindow(window);
    ownerDrawn.clear();
    if (bigIcon) DestroyIcon(bigIcon);
    if (smallIcon) DestroyIcon(smallIcon);
}

int Win32Dialog::Run() {
    modal = true;
    const INT_PTR r =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(templateBytes.data()),
                                owner, &Win32Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    window = nullptr;
    ownerDrawn.clear();
    return static_cast<int>(r);
}

HWND Win32Dialog::Create() {
    modal = false;
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(templateBytes.data()),
                               owner, &Win32Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    return window;
}

INT_PTR CALLBACK Win32Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window = window;
        return self->Init();
    }
    auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self || self->window != window) return FALSE;
    return self->Handle(message, wParam, lParam);
}

BOOL Win32Dialog::Init() {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (!IsOwnerDrawn(control.kind) || control.id == kNoControl) continue;
        std::unique_ptr<OwnerDrawnControl> logic = handler.MakeOwnerDrawn(control.id);
        HWND item = GetDlgItem(window, control.id);
        if (!logic || !item) continue;
        ownerDrawn[control.id] =
            std::make_unique<OwnerDrawnHost>(item, std::move(logic), control.kind == ControlKind::OwnerDrawButton);
    }
    PlaceOverOwner();
    handler.OnInit(*this);
    // FALSE: the handler put the focus where it wants it.
    return focusSet ? FALSE : TRUE;
}

void Win32Dialog::PlaceOverOwner() {
    if (!owner) return;
    RECT outer{};
    RECT mine{};
    GetWindowRect(owner, &outer);
    GetWindowRect(window, &mine);
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    int x = outer.left + (outer.right - outer.left - width) / 2;
    int y = outer.top + (outer.bottom - outer.top - height) / 2;
    // Whole on the owner's monitor.
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::clamp(x, static_cast<int>(work.left), std::max<int>(work.left, work.right - width));
        y = std::clamp(y, static_cast<int>(work.top), std::max<int>(work.top, work.bottom - height));
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Win32Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            // Clicks, and Enter and Escape from the dialog manager; not the edits' notes.
            if (code == BN_CLICKED && !ended) {
                const int command = id == 0xFFFF ? kNoControl : id;
                if (command != kNoControl) handler.OnCommand(command);
            }
            return TRUE;
        }
        case WM_CLOSE:
            if (!ended) handler.OnClose();
            return TRUE;
        case WM_TIMER:
            if (wParam >= kTimerBase && !ended) handler.OnTimer(static_cast<int>(wParam - kTimerBase));
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (OwnerDrawnHost* host = OwnerDrawnOf(static_cast<int>(item.CtlID))) {
                host->Draw(item);
                return TRUE;
            }
            return FALSE;
        }
        case WM_NCDESTROY:
            window = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

HWND Win32Dialog::Item(int id) const {
    if (!window || id == kNoControl) return nullptr;
    return GetDlgItem(window, id);
}

const ControlTemplate* Win32Dialog::TemplateOf(int id) const {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

bool Win32Dialog::IsKind(int id, ControlKind kind) const {
    const ControlTemplate* control = TemplateOf(id);
    return control && control->kind == kind;
}

OwnerDrawnHost* Win32Dialog::OwnerDrawnOf(int id) const {
    const auto found = ownerDrawn.find(id);
    return found == ownerDrawn.end() ? nullptr : found->second.get();
}

bool Win32Dialog::HasControl(int id) const {
    return Item(id) != nullptr;
}

std::string Win32Dialog::Text(int id) const {
    return WindowText(Item(id));
}

void Win32Dialog::SetText(int id, const std::string& text) {
    HWND item = Item(id);
    if (!item) return;
    SetWindowTextW(item, Wide(text).c_str());
    if (OwnerDrawnOf(id)) InvalidateRect(item, nullptr, FALSE);
}

void Win32Dialog::SetCaption(const std::string& text) {
    if (window) SetWindowTextW(window, Wide(text).c_str());
}

void Win32Dialog::SetIcon(const std::string& program) {
    if (!window) return;
    if (bigIcon) DestroyIcon(bigIcon);
    if (smallIcon) DestroyIcon(smallIcon);
    bigIcon = ProgramIcon(program, GetSystemMetrics(SM_CXICON));
    smallIcon = ProgramIcon(program, GetSystemMetrics(SM_CXSMICON));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    // The icon controls show the dialog's icon: they are the template's
    // Icon controls, in template order among the dialog's children.
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (!child) break;
        if (control.kind == ControlKind::Icon) SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(bigIcon), 0);
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

void Win32Dialog::Enable(int id, bool enable) {
    if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32Dialog::IsEnabled(int id) const {
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

void Win32Dialog::Show(int id, bool show) {
    if (HWND item = Item(id)) ShowWindow(item, show ? SW_SHOWNA : SW_HIDE);
}

bool Win32Dialog::IsShown(int id) const {
    HWND item = Item(id);
    return item && (GetWindowLongPtrW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Dialog::Focus(int id) {
    HWND item = Item(id);
    if (!item) return;
    focusSet = true;
    // Through the dialog manager, so the default button follows the focus.
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

int Win32Dialog::Focused() const {
    HWND focus = GetFocus();
    if (!window || !focus || !IsChild(window, focus)) return kNoControl;
    // A control's own child (a tab control's arrows) counts as the control.
    while (GetParent(focus) != window) focus = GetParent(focus);
    const int id = GetDlgCtrlID(focus);
    return id == 0xFFFF || id == -1 ? kNoControl : id;
}

void Win32Dialog::SetLimit(int id, int characters) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    if (HWND item = Item(id)) SendMessageW(item, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(characters, 0)), 0);
}

void Win32Dialog::SetReadOnly(int id, bool readOnly) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    if (HWND item = Item(id)) SendMessageW(item, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32Dialog::SetToolTip(int id, const std::string& text) {
    HWND item = Item(id);
    if (!item) return;
    if (!toolTips) {
        toolTips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (!toolTips) return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(item);
    const bool had = tipTexts.count(id) != 0;
    if (text.empty()) {
        if (had) SendMessageW(toolTips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        tipTexts.erase(id);
        return;
    }
    std::wstring& kept = tipTexts[id];
    kept = Wide(text);
    tool.lpszText = kept.data();
    SendMessageW(toolTips, had ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Dialog::SetAccessibleName(int id, const std::string& name) {
    if (HWND item = Item(id)) AnnotateName(item, name);
}

void Win32Dialog::SetAccessibleDescription(int id, const std::string& description) {
    if (HWND item = Item(id)) AnnotateDescription(item, description);
}

void Win32Dialog::AddTab(int id, const std::string& text) {
    if (!IsKind(id, ControlKind::TabControl)) return;
    HWND item = Item(id);
    if (!item) return;
    std::wstring label = Wide(text);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = label.data();
    const auto count = SendMessageW(item, TCM_GETITEMCOUNT, 0, 0);
    SendMessageW(item, TCM_INSERTITEMW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&tab));
}

int Win32Dialog::SelectedTab(int id) const {
    if (!IsKind(id, ControlKind::TabControl)) return -1;
    HWND item = Item(id);
    return item ? static_cast<int>(SendMessageW(item, TCM_GETCURSEL, 0, 0)) : -1;
}

void Win32Dialog::SelectTab(int id, int index) {
    if (!IsKind(id, ControlKind::TabControl)) return;
    if (HWND item = Item(id)) SendMessageW(item, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Dialog::StartTimer(int timer, int milliseconds) {
    if (ended || !window || timer < 0) return;
    const int interval = std::max(milliseconds, 1);
    if (scriptedClock) {
        scriptedTimers[timer] = {interval, now + interval};
        return;
    }
    if (SetTimer(window, kTimerBase + static_cast<UINT_PTR>(timer), static_cast<UINT>(interval), nullptr)) {
        systemTimers.insert(timer);
    }
}

void Win32Dialog::StopTimer(int timer) {
    if (timer < 0) return;
    scriptedTimers.erase(timer);
    systemTimers.erase(timer);
    if (window) KillTimer(window, kTimerBase + static_cast<UINT_PTR>(timer));
}

void Win32Dialog::AdvanceClock(int milliseconds) {
    const long long until = now + std::max(milliseconds, 0);
    while (!ended) {
        // The timer that falls due first, then by its number.
        auto next = scriptedTimers.end();
        for (auto it = scriptedTimers.begin(); it != scriptedTimers.end(); ++it) {
            if (it->second.due <= until && (next == scriptedTimers.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == scriptedTimers.end()) break;
        now = next->second.due;
        next->second.due += next->second.interval;
        handler.OnTimer(next->first);
    }
    now = until;
}

void Win32Dialog::End(int code) {
    if (ended) return;
    ended = true;
    result = code;
    // The timers end with the dialog.
    scriptedTimers.clear();
    if (!window) return;
    for (const int timer : systemTimers) KillTimer(window, kTimerBase + static_cast<UINT_PTR>(timer));
    systemTimers.clear();
    if (modal) {
        EndDialog(window, code);
    } else {
        ShowWindow(window, SW_HIDE);
    }
}

}  // namespace platform::win32
