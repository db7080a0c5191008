// The dialog's input on the Win32 face: the window's menu, the commands'
// keys, the Tab order, the pointer's look and files dropped on the window.
#include <windows.h>
// (the system's headers first: shellapi needs windows.h)
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/key_chord.h"
#include "platform/win32/late_library.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

// The system menu's ids for the window menu's commands it cannot carry as
// they are.
constexpr UINT kSpareSystemCommands = 0x0100;

}  // namespace

void Win32Dialog::SetWindowMenu(const std::vector<MenuEntry>& entries) {
    menu = entries;
    if (!window) return;
    // The entries end the window's system menu, after a separator, as a
    // program extends it here. A command keeps its own id there where the
    // system can carry it (a multiple of 16 below the system's own commands);
    // the others are given spare ones.
    GetSystemMenu(window, TRUE);
    HMENU system = GetSystemMenu(window, FALSE);
    systemCommands.clear();
    if (!system || entries.empty()) return;
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    UINT spare = kSpareSystemCommands;
    for (const MenuEntry& entry : entries) {
        if (entry.command == kNoControl) {
            AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        auto id = static_cast<UINT>(entry.command);
        if ((id & 0xFU) != 0 || id >= SC_SIZE || systemCommands.count(id) != 0) {
            while (systemCommands.count(spare) != 0) spare += 0x10;
            id = spare;
            spare += 0x10;
        }
        systemCommands[id] = entry.command;
        AppendMenuW(system, MF_STRING, id, Wide(entry.text).c_str());
    }
}

void Win32Dialog::ShowWindowMenu(LPARAM where) {
    HMENU popup = CreatePopupMenu();
    if (!popup) return;
    for (const MenuEntry& entry : menu) {
        if (entry.command == kNoControl) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(entry.command), Wide(entry.text).c_str());
        }
    }
    POINT at{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    // From the keyboard (Shift+F10, the Menu key): at the window's top left corner.
    if (where == -1) {
        RECT r{};
        GetWindowRect(window, &r);
        at = {r.left, r.top};
    }
    const int chosen = static_cast<int>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
    DestroyMenu(popup);
    if (chosen > 0 && !ended) handler.OnCommand(chosen);
}

void Win32Dialog::SetShortcut(int command, const std::string& keys) {
    if (keys.empty()) {
        shortcuts.erase(command);
    } else {
        shortcuts[command] = keys;
    }
}

namespace {

// A key an edit field uses itself: in one, Delete deletes a character and
// Ctrl+V pastes text, whatever command those keys give elsewhere.
bool IsEditingKey(HWND target, const KeyChord& pressed) {
    wchar_t kind[8] = {};
    if (!target || pressed.alt || !GetClassNameW(target, kind, 8) || lstrcmpiW(kind, L"Edit") != 0) return false;
    switch (pressed.key) {
        case VK_DELETE:
        case VK_BACK:
        case VK_INSERT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
            return true;
        // With Ctrl these turn pages (Ctrl+PgDown), not lines.
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            return !pressed.ctrl;
        case 'A':
        case 'C':
        case 'V':
        case 'X':
        case 'Y':
        case 'Z':
            return pressed.ctrl;
        default:
            return false;
    }
}

}  // namespace

bool Win32Dialog::GiveShortcut(unsigned key, HWND target) {
    if (ended || shortcuts.empty()) return false;
    const KeyChord pressed{key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
    if (IsEditingKey(target, pressed)) return false;
    for (const auto& [command, keys] : shortcuts) {
        if (ReadKeys(keys) != pressed) continue;
        // A button's keys work while the button could be clicked.
        if (Waits(command)) return false;
        if (HWND item = Item(command); item && (!IsWindowVisible(item) || !IsWindowEnabled(item))) return false;
        handler.OnCommand(command);
        return true;
    }
    return false;
}

void Win32Dialog::SetTabOrder(const std::vector<int>& ids) {
    // Kept here rather than in the children's order: that order is also the
    // order they are drawn in, and a page's controls lie over the tab control.
    tabOrder = ids;
}

bool Win32Dialog::MoveInTabOrder(bool back) {
    if (ended || tabOrder.empty()) return false;
    std::vector<int> stops;
    for (const int id : tabOrder) {
        HWND item = Item(id);
        if (item && IsWindowVisible(item) && IsWindowEnabled(item)) stops.push_back(id);
    }
    if (stops.empty()) return false;
    const auto at = std::find(stops.begin(), stops.end(), Focused());
    std::size_t next = back ? stops.size() - 1 : 0;
    if (at != stops.end()) {
        const auto index = static_cast<std::size_t>(at - stops.begin());
        next = back ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    }
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(stops[next])), TRUE);
    return true;
}

void Win32Dialog::SetPointer(PointerLook look) {
    pointer = look;
    if (!window) return;
    POINT at{};
    GetCursorPos(&at);
    if (WindowFromPoint(at) == window || IsChild(window, WindowFromPoint(at))) {
        ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(look == PointerLook::Busy ? IDC_WAIT : IDC_ARROW)));
    }
}

void Win32Dialog::AcceptDroppedFiles(bool accept) {
    // What the shell's DragAcceptFiles sets, without loading the shell.
    if (!window) return;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, accept ? style | WS_EX_ACCEPTFILES : style & ~LONG_PTR{WS_EX_ACCEPTFILES});
}

bool Win32Dialog::TakeDrop(HDROP drop) {
    std::vector<std::string> taken;
    auto* query = LateFunction<decltype(DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    auto* finish = LateFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    if (!query || !finish) return false;
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = query(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        query(drop, i, path.data(), length + 1);
        path.resize(length);
        const std::string utf8 = Utf8(path);
        if (!ended && handler.TakesDroppedFile(utf8)) taken.push_back(utf8);
    }
    finish(drop);
    // After the drop has ended: the program the files came from waits for nothing.
    for (const std::string& path : taken) {
        if (!ended) handler.OnFileDropped(path);
    }
    return !taken.empty();
}

}  // namespace ovlet::platform::win32
