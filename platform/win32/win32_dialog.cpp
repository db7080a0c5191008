#include <windows.h>
// (the system's headers first: commctrl needs windows.h)
#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "files/utf16.h"
#include "files/utf8.h"
#include "platform/face.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/owner_drawn_host.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

// The system's timer ids of the handler's timers (0 is no timer id).
constexpr UINT_PTR kTimerBase = 0x4F00;
// Posted by a modal dialog's start: the dialog is on screen when it arrives.
constexpr UINT kShownMessage = WM_APP + 0x4F;

bool IsOwnerDrawn(ControlKind kind) {
    return kind == ControlKind::OwnerDrawButton || kind == ControlKind::PicturePanel;
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

// The dialogs of this face on this thread, by their windows.
thread_local std::map<HWND, Win32Dialog*> liveDialogs;

// The modal loop's look at each message before the dialog manager's.
LRESULT CALLBACK ModalFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && lParam && Win32Dialog::TakeKey(*reinterpret_cast<const MSG*>(lParam))) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
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

namespace {

// The layouts were drawn for a font whose one-line labels fit their boxes.
// Where the system's dialog font sets one wider (Wine's stand-in for the
// dialog font is), the dialog grows across until every such label fits with
// a pixel to spare, as the other face's dialogs do: nothing is cut or wraps.
constexpr int kOneLineHeight = 10;

double LabelStretch(const DialogTemplate& dialog) {
    HDC screen = GetDC(nullptr);
    if (!screen) return 1;
    LOGFONTW look{};
    look.lfHeight = -MulDiv(dialog.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    look.lfWeight = FW_NORMAL;
    look.lfCharSet = DEFAULT_CHARSET;
    const std::u16string face = kDialogFace;
    std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), look.lfFaceName);
    HFONT font = CreateFontIndirectW(&look);
    HGDIOBJ before = SelectObject(screen, font);
    SIZE alphabet{};
    GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    // The system's own rounding of the average width.
    const double baseX = static_cast<double>((alphabet.cx / 26 + 1) / 2);
    double stretch = 1;
    for (const ControlTemplate& control : dialog.controls) {
        if (control.kind != ControlKind::Static || control.height > kOneLineHeight || control.width <= 0 ||
            control.text.empty() || baseX <= 0) {
            continue;
        }
        std::wstring text = Wide(control.text);
        std::erase(text, L'&');
        SIZE extent{};
        GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
        stretch = std::max(stretch, (extent.cx + 1) * 4.0 / (control.width * baseX));
    }
    SelectObject(screen, before);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return stretch;
}

}  // namespace

DialogTemplate FittedToFont(const DialogTemplate& dialog) {
    DialogTemplate fitted = dialog;
    const double stretch = LabelStretch(dialog);
    if (stretch > 1) {
        const auto across = [stretch](int units) { return static_cast<int>(std::lround(units * stretch)); };
        for (ControlTemplate& control : fitted.controls) {
            const int right = across(control.x + control.width);
            control.x = across(control.x);
            control.width = right - control.x;
        }
        fitted.width = across(fitted.width);
    }
    return fitted;
}

namespace {

DialogTemplate UsedControls(const DialogTemplate& dialog, const DialogHandler& handler) {
    DialogTemplate used = FittedToFont(dialog);
    std::erase_if(used.controls, [&handler](const ControlTemplate& control) {
        return control.id >= 0 && !handler.UsesControl(control.id);
    });
    for (ControlTemplate& control : used.controls) {
        if (control.id >= 0 && !handler.ShownAtStart(control.id)) control.startsHidden = true;
    }
    return used;
}

}  // namespace

Win32Dialog::Win32Dialog(const DialogTemplate& dialog, DialogHandler& dialogHandler, HWND ownerWindow)
    : usedTemplate(UsedControls(dialog, dialogHandler)),
      dialogTemplate(usedTemplate),
      handler(dialogHandler),
      owner(ownerWindow) {
    const TextFor translate = [](const char* context, const std::string& text) {
        return context && !text.empty() ? platform::Translate(context, text.c_str()) : text;
    };
    DialogTemplate atStart = usedTemplate;
    std::erase_if(atStart.controls, &Win32Dialog::MadeOnFirstShowing);
    for (const ControlTemplate& control : usedTemplate.controls) {
        if (MadeOnFirstShowing(control)) waiting[control.id].text = translate(usedTemplate.context, control.text);
    }
    templateBytes = BuildTemplate(atStart, translate);
}

Win32Dialog::~Win32Dialog() {
    if (window && !modal) DestroyWindow(window);
    ownerDrawn.clear();
    if (bigIcon) DestroyIcon(bigIcon);
    if (smallIcon) DestroyIcon(smallIcon);
}

int Win32Dialog::Run() {
    modal = true;
    HHOOK filter = SetWindowsHookExW(WH_MSGFILTER, &ModalFilter, nullptr, GetCurrentThreadId());
    // Names for screen readers are given once the dialog is on screen.
    HoldAnnotations();
    annotationsHeld = true;
    const INT_PTR r =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(templateBytes.data()),
                                owner, &Win32Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    if (filter) UnhookWindowsHookEx(filter);
    if (std::exchange(annotationsHeld, false)) ReleaseAnnotations();
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
        liveDialogs[window] = self;
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
        if (!logic) continue;
        const bool button = control.kind == ControlKind::OwnerDrawButton;
        if (const auto late = waiting.find(control.id); late != waiting.end()) {
            // Its logic is there from the start; its window comes with its first showing.
            const OwnerDrawnHost::StandIn standIn{window, PixelsOf(control), &late->second.text};
            ownerDrawn[control.id] = std::make_unique<OwnerDrawnHost>(standIn, std::move(logic), button);
        } else if (HWND item = GetDlgItem(window, control.id)) {
            ownerDrawn[control.id] = std::make_unique<OwnerDrawnHost>(item, std::move(logic), button);
        }
    }
    PlaceOverOwner();
    handler.OnInit(*this);
    // The modal loop would show the dialog once its queue is empty; the
    // message posted here shows it first thing instead, then lets the
    // handler do its later work, before anything the user does reaches the
    // dialog (and before its controls' first paint). A dialog made here is
    // shown by its maker, later.
    if (modal) {
        PostMessageW(window, kShownMessage, 0, 0);
    } else if (!ended) {
        handler.OnShown();
    }
    // FALSE: the handler put the focus where it wants it.
    if (focusSet) return FALSE;
    // A dialog without a control in the Tab order keeps the keyboard itself
    // (no control shows a focus mark it was never given).
    if (HasTabStops()) return TRUE;
    SetFocus(window);
    return FALSE;
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
            if (code == EN_CHANGE && !ended && !settingText && TemplateOf(id)) {
                handler.OnTextChanged(id);
                return TRUE;
            }
            if (code == BN_CLICKED && !ended) {
                const int command = id == 0xFFFF ? kNoControl : id;
                if (command != kNoControl) handler.OnCommand(command);
            }
            return TRUE;
        }
        case WM_CLOSE:
            if (!ended) handler.OnClose();
            return TRUE;
        case WM_NOTIFY: {
            const auto& note = *reinterpret_cast<const NMHDR*>(lParam);
            if (note.code == static_cast<UINT>(TCN_SELCHANGE) && !ended)
                handler.OnTabChanged(static_cast<int>(note.idFrom));
            return FALSE;
        }
        case WM_ERASEBKGND: {
            // The dialog's own colour, and the tab pages' under them.
            const auto dc = reinterpret_cast<HDC>(wParam);
            RECT client{};
            GetClientRect(window, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            PaintThemedTabPages(window, dc);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            // A label or group box on a tab control's page stands on the
            // page's colour (the themed page is lighter than the dialog).
            const auto control = reinterpret_cast<HWND>(lParam);
            if (!OnThemedTabPage(control)) return FALSE;
            wchar_t className[16] = {};
            GetClassNameW(control, className, 16);
            if (lstrcmpiW(className, WC_EDITW) == 0) return FALSE;
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        }
        case kShownMessage:
            if (ended) return TRUE;
            if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
            onScreen = true;
            if (std::optional<std::string> icon = std::exchange(pendingIcon, std::nullopt)) SetIcon(*icon);
            if (pendingFocus != kNoControl) Focus(std::exchange(pendingFocus, kNoControl));
            handler.OnShown();
            if (ended) return TRUE;
            // Drawn now, with what the handler put in it; then what nobody
            // sees: names for screen readers and the tool tips.
            UpdateWindow(window);
            if (std::exchange(annotationsHeld, false)) ReleaseAnnotations();
            for (const auto& [id, text] : tipTexts) RegisterToolTip(id);
            return TRUE;
        case WM_SYSCOMMAND: {
            // The system keeps the low four bits of the id for itself.
            const auto found = systemCommands.find(static_cast<UINT>(wParam) & 0xFFF0U);
            if (found == systemCommands.end() || ended) return FALSE;
            handler.OnCommand(found->second);
            return TRUE;
        }
        case WM_CONTEXTMENU:
            if (menu.empty() || ended) return FALSE;
            ShowWindowMenu(lParam);
            return TRUE;
        case WM_SETCURSOR:
            if (pointer != PointerLook::Busy) return FALSE;
            ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_ACTIVATE:
        case WM_SETFOCUS:
            // The dialog manager would hand the keyboard to the first control
            // even when none is in the Tab order: the dialog keeps it then.
            if (HasTabStops()) return FALSE;
            if (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE) SetFocus(window);
            return TRUE;
        case WM_DROPFILES:
            // The message's result says whether the window took any file.
            SetWindowLongPtrW(window, DWLP_MSGRESULT, TakeDrop(reinterpret_cast<HDROP>(wParam)) ? 1 : 0);
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
            liveDialogs.erase(window);
            window = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

bool Win32Dialog::HasTabStops() const {
    return std::any_of(dialogTemplate.controls.begin(), dialogTemplate.controls.end(),
                       [](const ControlTemplate& c) { return c.tabStop; });
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
    return Waits(id) || Item(id) != nullptr;
}

std::string Win32Dialog::Text(int id) const {
    if (const auto found = waiting.find(id); found != waiting.end()) return found->second.text;
    return WindowText(Item(id));
}

void Win32Dialog::SetText(int id, const std::string& text) {
    if (const auto found = waiting.find(id); found != waiting.end()) {
        // As a control would keep it: up to a NUL.
        found->second.text = text.substr(0, text.find('\0'));
        return;
    }
    HWND item = Item(id);
    if (!item) return;
    // The program's own text is no change of the user's.
    settingText = true;
    SetWindowTextW(item, Wide(text).c_str());
    settingText = false;
    if (OwnerDrawnOf(id)) InvalidateRect(item, nullptr, FALSE);
}

void Win32Dialog::SetCaption(const std::string& text) {
    if (window) SetWindowTextW(window, Wide(text).c_str());
}

void Win32Dialog::SetIcon(const std::string& program) {
    if (!window) return;
    if (modal && !onScreen) {
        pendingIcon = program;
        return;
    }
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
        if (control.id >= 0 && Waits(control.id)) continue;
        if (control.kind == ControlKind::Icon) SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(bigIcon), 0);
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

void Win32Dialog::Enable(int id, bool enable) {
    if (const auto found = waiting.find(id); found != waiting.end()) {
        found->second.enabled = enable;
        return;
    }
    if (HWND item = Item(id)) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32Dialog::IsEnabled(int id) const {
    if (const auto found = waiting.find(id); found != waiting.end()) return found->second.enabled;
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

void Win32Dialog::Show(int id, bool show) {
    // A control waiting to be made is hidden until then.
    if (Waits(id) && !show) return;
    // A control already as asked costs the window manager nothing.
    if (HWND item = Made(id); item && IsShown(id) != show) ShowWindow(item, show ? SW_SHOWNA : SW_HIDE);
}

bool Win32Dialog::IsShown(int id) const {
    HWND item = Item(id);
    return item && (GetWindowLongPtrW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Dialog::Focus(int id) {
    HWND item = Made(id);
    if (!item) return;
    focusSet = true;
    if (modal && !onScreen) {
        pendingFocus = id;
        return;
    }
    // Through the dialog manager, so the default button follows the focus.
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

int Win32Dialog::Focused() const {
    if (modal && !onScreen) return pendingFocus;
    HWND focus = GetFocus();
    if (!window || !focus || !IsChild(window, focus)) return kNoControl;
    // A control's own child (a tab control's arrows) counts as the control.
    while (GetParent(focus) != window) focus = GetParent(focus);
    const int id = GetDlgCtrlID(focus);
    return id == 0xFFFF || id == -1 ? kNoControl : id;
}

bool Win32Dialog::TakeKey(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    const auto found = liveDialogs.find(GetAncestor(message.hwnd, GA_ROOT));
    if (found == liveDialogs.end()) return false;
    Win32Dialog& dialog = *found->second;
    const auto key = static_cast<unsigned>(message.wParam);
    if (key == VK_TAB && message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0 &&
        dialog.MoveInTabOrder(GetKeyState(VK_SHIFT) < 0)) {
        return true;
    }
    return dialog.GiveShortcut(key, message.hwnd);
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

}  // namespace ovlet::platform::win32
