// The yardstick of the start-up timings under Wine (startup_wine.sh): the
// least a Win32 program does to show a dialog of the card window's size with
// a caption. One dialog from a template in memory, in the dialog font the
// card window uses, shown by the system's modal loop: no controls, no
// resources, no common controls, nothing read or drawn of its own.
#include <windows.h>

namespace ovlet::window {
namespace {

// A DLGTEMPLATE followed by its variable-length fields (menu, class,
// caption, then the font as DS_SETFONT asks for it). DLGTEMPLATE is packed
// to WORDs (18 bytes), so the WORD fields after it follow without padding;
// the whole template must start on a DWORD boundary.
struct alignas(4) YardstickTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WCHAR caption[10];
    WORD pointSize;
    WCHAR face[13];
};

// The card window's size in dialog units and its font, 8-point "MS Shell Dlg".
constexpr short kCardWidth = 287;
constexpr short kCardHeight = 236;

const YardstickTemplate kYardstick = {
    {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 0, 0, 0, 0, kCardWidth, kCardHeight},
    0,
    0,
    L"Yardstick",
    8,
    L"MS Shell Dlg",
};

INT_PTR CALLBACK YardstickProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace
}  // namespace ovlet::window

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, &ovlet::window::kYardstick.header, nullptr, ovlet::window::YardstickProc, 0);
    return result == -1 ? 1 : 0;
}
