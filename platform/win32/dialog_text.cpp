// The dialog's text fields on the Win32 face: limits, read-only, the
// characters a field takes, shortened labels, the tool tips and the names
// screen readers read.
#include <windows.h>
// (the system's headers first: commctrl needs windows.h)
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/utf8.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

bool IsEditKind(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

// A control's tip, as the tool-tip control knows it.
TTTOOLINFOW ToolOf(HWND dialog, HWND item) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(item);
    return tool;
}

}  // namespace

void Win32Dialog::SetLimit(int id, int characters) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    if (const auto found = waiting.find(id); found != waiting.end()) {
        found->second.limit = std::max(characters, 0);
        return;
    }
    if (HWND item = Item(id)) SendMessageW(item, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(characters, 0)), 0);
}

void Win32Dialog::SetReadOnly(int id, bool readOnly) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    if (const auto found = waiting.find(id); found != waiting.end()) {
        found->second.readOnly = readOnly;
        return;
    }
    if (HWND item = Item(id)) SendMessageW(item, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Win32Dialog::SelectAllText(int id) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    if (HWND item = Made(id)) SendMessageW(item, EM_SETSEL, 0, -1);
}

void Win32Dialog::SetToolTip(int id, const std::string& text) {
    HWND item = Item(id);
    if (!item && !Waits(id)) return;
    if (text.empty()) {
        if (tipsRegistered.erase(id) != 0) {
            TTTOOLINFOW tool = ToolOf(window, item);
            SendMessageW(toolTips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        tipTexts.erase(id);
        return;
    }
    tipTexts[id] = Wide(text);
    // A tip shows only over a window on screen: a modal dialog's tips are
    // given to the system once it is, a control's once it is made.
    if ((modal && !onScreen) || !item) return;
    RegisterToolTip(id);
}

void Win32Dialog::RegisterToolTip(int id) {
    HWND item = Item(id);
    const auto text = tipTexts.find(id);
    if (!item || text == tipTexts.end()) return;
    if (!toolTips) {
        toolTips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (!toolTips) return;
    }
    TTTOOLINFOW tool = ToolOf(window, item);
    tool.lpszText = text->second.data();
    const bool had = !tipsRegistered.insert(id).second;
    SendMessageW(toolTips, had ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Dialog::SetAccessibleName(int id, const std::string& name) {
    if (const auto found = waiting.find(id); found != waiting.end()) {
        found->second.name = name;
    } else if (HWND item = Item(id)) {
        AnnotateName(item, name);
    }
}

void Win32Dialog::SetAccessibleDescription(int id, const std::string& description) {
    if (const auto found = waiting.find(id); found != waiting.end()) {
        found->second.description = description;
    } else if (HWND item = Item(id)) {
        AnnotateDescription(item, description);
    }
}

LONG_PTR ShorteningStyle(Shortening where) {
    if (where == Shortening::End) return SS_ENDELLIPSIS;
    if (where == Shortening::Middle) return SS_PATHELLIPSIS;
    return 0;
}

void Win32Dialog::SetShortening(int id, Shortening where) {
    if (!IsKind(id, ControlKind::Static)) return;
    HWND item = Item(id);
    if (!item && !Waits(id)) return;
    shortening[id] = where;
    // A control still to be made takes the style as it is made.
    if (!item) return;
    const LONG_PTR bits = GetWindowLongPtrW(item, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_ELLIPSISMASK);
    SetWindowLongPtrW(item, GWL_STYLE, bits | ShorteningStyle(where));
    InvalidateRect(item, nullptr, TRUE);
}

bool Win32Dialog::IsShortened(int id) const {
    const auto found = shortening.find(id);
    if (found == shortening.end() || found->second == Shortening::None) return false;
    // A label still to be made is measured where it will stand, in the
    // dialog's font, which it will have.
    const bool waits = Waits(id);
    HWND item = waits ? window : Item(id);
    if (!item) return false;
    const std::wstring text = Wide(Text(id));
    if (text.empty()) return false;
    RECT box{};
    if (waits) {
        box.right = TemplateOf(id)->width;
        MapDialogRect(window, &box);
    } else {
        GetClientRect(item, &box);
    }
    HDC dc = GetDC(item);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(item, dc);
    return size.cx > box.right;
}

void Win32Dialog::SetTextFilter(int id, TextFilter accepts) {
    const ControlTemplate* control = TemplateOf(id);
    if (!control || !IsEditKind(control->kind)) return;
    HWND item = Item(id);
    if (!item && !Waits(id)) return;
    if (!accepts) {
        filters.erase(id);
        if (item) RemoveWindowSubclass(item, &Win32Dialog::FilteredEdit, static_cast<UINT_PTR>(id));
        return;
    }
    filters[id] = std::move(accepts);
    // A control still to be made is filtered from its making.
    if (item)
        SetWindowSubclass(item, &Win32Dialog::FilteredEdit, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32Dialog::FilteredEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self) {
    auto* dialog = reinterpret_cast<Win32Dialog*>(self);
    const auto found = dialog->filters.find(static_cast<int>(id));
    if (found != dialog->filters.end()) {
        if (message == WM_CHAR && wParam >= 0x20 && wParam != 0x7F) {
            const std::string typed = Utf8(std::wstring(1, static_cast<wchar_t>(wParam)));
            // Half of a pair is judged with its other half, by the edit.
            const bool surrogate = wParam >= 0xD800 && wParam <= 0xDFFF;
            if (!surrogate && !found->second(typed)) {
                MessageBeep(MB_OK);
                return 0;
            }
        }
        if (message == WM_PASTE) {
            std::wstring pasted;
            if (OpenClipboard(edit)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                        pasted = text;
                        GlobalUnlock(data);
                    }
                }
                CloseClipboard();
            }
            const std::string utf8 = Utf8(pasted);
            if (!found->second(utf8)) {
                // The characters that stand in the way, each once.
                std::string refused;
                std::size_t pos = 0;
                char32_t c = 0;
                std::vector<std::string> seen;
                while (pos < utf8.size()) {
                    const std::size_t start = pos;
                    files::NextUtf8(utf8, pos, c);
                    const std::string one = utf8.substr(start, pos - start);
                    if (found->second(one) || std::find(seen.begin(), seen.end(), one) != seen.end()) continue;
                    seen.push_back(one);
                    refused += (refused.empty() ? "" : " ") + one;
                }
                dialog->handler.OnTextRefused(static_cast<int>(id), refused);
                return 0;
            }
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &Win32Dialog::FilteredEdit, id);
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace ovlet::platform::win32
