// The controls of a dialog's pages that are not on screen at start: made
// on their first showing, as property sheets make their pages, so that the
// window comes up sooner. Until then the face keeps what the handler gives
// them, and an owner-drawn one's logic answers through a stand-in.
#include <windows.h>
// (the system's headers first: commctrl needs windows.h)
#include <commctrl.h>

#include "platform/win32/accessibility.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/owner_drawn_host.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

const wchar_t* ClassNameOf(const ControlClass& kind) {
    if (kind.className) return reinterpret_cast<const wchar_t*>(kind.className);
    switch (kind.atom) {
        case ClassAtom::Button:
            return WC_BUTTONW;
        case ClassAtom::Edit:
            return WC_EDITW;
        case ClassAtom::Static:
            return WC_STATICW;
    }
    return WC_STATICW;
}

}  // namespace

bool Win32Dialog::MadeOnFirstShowing(const ControlTemplate& control) {
    // One that starts hidden, but for the tab control, which holds the pages,
    // and an icon, which has no id to be asked for by.
    return control.startsHidden && control.id >= 0 && control.kind != ControlKind::TabControl &&
           control.kind != ControlKind::Icon;
}

HWND Win32Dialog::ChildBefore(const ControlTemplate& made) const {
    // The children stand in the template's order, less those still waiting.
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (&control == &made || !child) break;
        if (control.id >= 0 && Waits(control.id)) continue;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return child;
}

RECT Win32Dialog::PixelsOf(const ControlTemplate& control) const {
    // Place and size each in dialog units, as the dialog manager maps them.
    RECT box{control.x, control.y, control.width, control.height};
    MapDialogRect(window, &box);
    return {box.left, box.top, box.left + box.right, box.top + box.bottom};
}

HWND Win32Dialog::Made(int id) {
    const auto found = waiting.find(id);
    if (found == waiting.end() || !window) return Item(id);
    const ControlTemplate& control = *TemplateOf(id);
    // Where the dialog manager would have put it, and just as it makes one.
    HWND after = HWND_BOTTOM;
    if (HWND next = ChildBefore(control)) {
        HWND previous = GetWindow(next, GW_HWNDPREV);
        after = previous ? previous : HWND_TOP;
    }
    // Waiting until it has everything: an owner-drawn control's logic reads
    // its text from here until its window is placed.
    const WaitingControl& state = found->second;
    const ControlClass kind = ClassOf(control);
    auto style = static_cast<LONG_PTR>(kind.style) & ~static_cast<LONG_PTR>(WS_VISIBLE);
    if (const auto shortened = shortening.find(id); shortened != shortening.end()) {
        style |= ShorteningStyle(shortened->second);
    }
    if (state.readOnly) style |= ES_READONLY;
    const RECT box = PixelsOf(control);
    // The dialog manager gives a bordered edit the sunken edge of its time.
    DWORD exStyle = kind.exStyle | WS_EX_NOPARENTNOTIFY;
    if (kind.atom == ClassAtom::Edit && !kind.className && (style & WS_BORDER)) {
        style &= ~static_cast<LONG_PTR>(WS_BORDER);
        exStyle |= WS_EX_CLIENTEDGE;
    }
    settingText = true;
    HWND item = CreateWindowExW(exStyle, ClassNameOf(kind), Wide(state.text).c_str(), static_cast<DWORD>(style),
                                box.left, box.top, box.right - box.left, box.bottom - box.top, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    settingText = false;
    // Not made: it waits still (the next showing tries again).
    if (!item) return nullptr;
    SendMessageW(item, WM_SETFONT, static_cast<WPARAM>(SendMessageW(window, WM_GETFONT, 0, 0)), FALSE);
    SetWindowPos(item, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!state.enabled) EnableWindow(item, FALSE);
    if (state.limit >= 0) SendMessageW(item, EM_SETLIMITTEXT, static_cast<WPARAM>(state.limit), 0);
    if (const auto filter = filters.find(id); filter != filters.end()) {
        SetWindowSubclass(item, &Win32Dialog::FilteredEdit, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));
    }
    if (state.name) AnnotateName(item, *state.name);
    if (state.description) AnnotateDescription(item, *state.description);
    if (OwnerDrawnHost* host = OwnerDrawnOf(id)) host->Place(item);
    waiting.erase(id);
    if (tipTexts.contains(id) && (!modal || onScreen)) RegisterToolTip(id);
    return item;
}

}  // namespace ovlet::platform::win32
