#include "platform/win32/win32_face.h"
// (the system's headers after windows.h)
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

#include "files/user_languages.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/late_library.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::platform::win32 {
namespace {

// The common dialogs' library, loaded when a file or print dialog is first
// asked for: loading it at start loads the printing system's too, which asks
// for the printers on every start of a program (a third of the viewer's
// start-up under Wine).
template <class Function>
Function* CommonDialog(const char* name) {
    // The shell's folders in the file dialogs want COM on the thread.
    StartCom();
    return LateFunction<Function>(L"comdlg32.dll", name);
}

// The shell hands a file or an address to the program the user chose for it.
bool OpenThroughShell(HWND owner, const std::wstring& what) {
    auto* open = LateFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!open) return false;
    // Handlers the shell calls may be COM objects.
    StartCom();
    return reinterpret_cast<INT_PTR>(open(owner, L"open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

// Long enough for any path the system takes.
constexpr std::size_t kPathCharacters = 32768;

UINT IconFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Stop:
            return MB_ICONSTOP;
        case MessageIcon::None:
            break;
    }
    return 0;
}

UINT ButtonFlags(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return MB_YESNO;
        case MessageButtons::YesNoCancel:
            return MB_YESNOCANCEL;
        case MessageButtons::Ok:
            break;
    }
    return MB_OK;
}

// "Text (*.txt)\0*.txt\0...\0\0", as the common dialog reads its filters.
std::wstring FilterList(const std::vector<FileFilter>& filters) {
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += Wide(filter.description);
        list.push_back(L'\0');
        list += Wide(filter.pattern);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

std::optional<ClipboardPicture> ClipboardContents() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<ClipboardPicture> found;
    // A file a file manager copied.
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        auto* files = static_cast<HDROP>(drop);
        // The shell only for a file list: a picture's paste does without it.
        auto* query = LateFunction<decltype(DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
        if (query && query(files, 0xFFFFFFFF, nullptr, 0) > 0) {
            std::wstring name(kPathCharacters, L'\0');
            const UINT length = query(files, 0, name.data(), static_cast<UINT>(name.size()));
            name.resize(length);
            found = ClipboardPicture{Utf8(name), {}, {}, false};
        }
    }
    // A PNG or JPEG file's own bytes, as the program they come from offers them.
    const std::pair<const wchar_t*, const char*> kFileTypes[] = {{L"PNG", "pasted.png"}, {L"JFIF", "pasted.jpg"}};
    for (const auto& [format, name] : kFileTypes) {
        if (found) break;
        const UINT id = RegisterClipboardFormatW(format);
        HANDLE data = id ? GetClipboardData(id) : nullptr;
        if (!data) continue;
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(data));
        if (!bytes) continue;
        ClipboardPicture picture;
        picture.name = name;
        picture.bytes.assign(bytes, bytes + GlobalSize(data));
        GlobalUnlock(data);
        found = picture;
    }
    // A bitmap only: no encoder for it here yet, so it is a picture that cannot be read.
    if (!found && (IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP))) {
        found = ClipboardPicture{{}, {}, {}, true};
    }
    CloseClipboard();
    return found;
}

}  // namespace

class Win32Face::Win32Desktop : public Desktop {
public:
    MessageAnswer Message(DialogHost* owner, const std::string& caption, const std::string& text, MessageIcon icon,
                          MessageButtons buttons) override {
        const int answer = MessageBoxW(WindowOf(owner), Wide(text).c_str(), Wide(caption).c_str(),
                                       IconFlags(icon) | ButtonFlags(buttons) | MB_SETFOREGROUND);
        switch (answer) {
            case IDYES:
                return MessageAnswer::Yes;
            case IDNO:
                return MessageAnswer::No;
            case IDCANCEL:
                return MessageAnswer::Cancel;
            default:
                return MessageAnswer::Ok;
        }
    }

    std::optional<std::string> ChooseFile(DialogHost* owner, const FileRequest& request) override {
        const std::wstring filters = FilterList(request.filters);
        std::wstring extension = Wide(request.defaultExtension);
        if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
        const std::wstring title = Wide(request.title);
        std::wstring file = Wide(request.initialName);
        if (file.size() >= kPathCharacters) file.clear();
        file.resize(kPathCharacters, L'\0');

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = WindowOf(owner);
        dialog.lpstrFilter = request.filters.empty() ? nullptr : filters.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
        if (request.save) {
            dialog.Flags |= OFN_OVERWRITEPROMPT;
        } else {
            dialog.Flags |= OFN_FILEMUSTEXIST;
        }
        auto* show = CommonDialog<decltype(GetOpenFileNameW)>(request.save ? "GetSaveFileNameW" : "GetOpenFileNameW");
        const BOOL chosen = show && show(&dialog);
        if (!chosen) return std::nullopt;
        file.resize(wcsnlen(file.c_str(), file.size()));
        return Utf8(file);
    }

    bool OpenAddress(const std::string& url) override {
        if (!IsAddressForShell(url)) return false;
        return OpenThroughShell(nullptr, Wide(url));
    }

    bool ShowHelp(DialogHost* owner, const std::string& helpFile) override {
        const std::wstring path = Wide(helpFile);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        return OpenThroughShell(WindowOf(owner), path);
    }

    std::optional<ClipboardPicture> PictureOnClipboard() override { return ClipboardContents(); }

    // The system's print dialog, set to the paper asked for; the page on the
    // paper the printer holds.
    bool Print(DialogHost* owner, const PrintRequest& request) override {
        PRINTDLGW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = WindowOf(owner);
        dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
        dialog.nCopies = 1;
        dialog.hDevMode = GlobalAlloc(GHND, sizeof(DEVMODEW));
        if (auto* asked = static_cast<DEVMODEW*>(dialog.hDevMode ? GlobalLock(dialog.hDevMode) : nullptr)) {
            asked->dmSize = sizeof(DEVMODEW);
            asked->dmSpecVersion = DM_SPECVERSION;
            asked->dmFields = DM_PAPERSIZE | DM_ORIENTATION;
            asked->dmPaperSize = request.paper == Paper::Letter ? DMPAPER_LETTER : DMPAPER_A4;
            asked->dmOrientation = DMORIENT_PORTRAIT;
            GlobalUnlock(dialog.hDevMode);
        }
        auto* choose = CommonDialog<decltype(PrintDlgW)>("PrintDlgW");
        const bool chosen = choose && choose(&dialog) && dialog.hDC;
        Paper paper = request.paper;
        if (auto* settings = static_cast<DEVMODEW*>(dialog.hDevMode ? GlobalLock(dialog.hDevMode) : nullptr)) {
            paper = PaperOfPrinter(*settings);
            GlobalUnlock(dialog.hDevMode);
        }
        bool printed = false;
        if (chosen) {
            const std::wstring name = Wide(request.documentName);
            DOCINFOW document{};
            document.cbSize = sizeof document;
            document.lpszDocName = name.c_str();
            if (StartDocW(dialog.hDC, &document) > 0) {
                if (StartPage(dialog.hDC) > 0) {
                    PrintSurface page(dialog.hDC, DrawFromPaperCorner(dialog.hDC));
                    request.paint(page, paper);
                    printed = EndPage(dialog.hDC) > 0;
                }
                if (printed) {
                    printed = EndDoc(dialog.hDC) > 0;
                } else {
                    AbortDoc(dialog.hDC);
                }
            }
        }
        if (dialog.hDC) DeleteDC(dialog.hDC);
        if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
        return printed;
    }

    void Beep() override { MessageBeep(MB_OK); }

    Paper UsersPaper() override {
        // The locale's measure: 0 metric, 1 US.
        DWORD measure = 0;
        const int got = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IMEASURE | LOCALE_RETURN_NUMBER,
                                        reinterpret_cast<LPWSTR>(&measure), sizeof measure / sizeof(wchar_t));
        return got > 0 && measure == 1 ? Paper::Letter : Paper::A4;
    }
};

Win32Face::Win32Face() : desktop(std::make_unique<Win32Desktop>()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    catalogue::SetLanguage(catalogue::ChooseLanguage(files::UserLanguages()));
}

Win32Face::~Win32Face() {
    StopCom();
}

int Win32Face::RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) {
    Win32Dialog shown(dialog, handler, WindowOf(owner));
    return shown.Run();
}

Desktop& Win32Face::DesktopServices() {
    return *desktop;
}

std::string Win32Face::Translate(const char* context, const char* text) {
    if (!text) return {};
    if (!context) return text;
    return catalogue::Translate(context, text);
}

double DrawFromPaperCorner(HDC dc) {
    const int across = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
    const int down = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, across, across, nullptr);
    SetViewportExtEx(dc, across, down, nullptr);
    SetViewportOrgEx(dc, -GetDeviceCaps(dc, PHYSICALOFFSETX), -GetDeviceCaps(dc, PHYSICALOFFSETY), nullptr);
    return across / 25.4;
}

Paper PaperOfPrinter(const DEVMODEW& settings) {
    if (settings.dmFields & DM_PAPERSIZE) {
        if (settings.dmPaperSize == DMPAPER_A4) return Paper::A4;
        if (settings.dmPaperSize == DMPAPER_LETTER) return Paper::Letter;
    }
    // Other papers by their length, in tenths of a millimetre (A4: 297 mm).
    if ((settings.dmFields & DM_PAPERLENGTH) && settings.dmPaperLength > 0) {
        return settings.dmPaperLength < 2960 ? Paper::Letter : Paper::A4;
    }
    return Paper::A4;
}

HWND WindowOf(DialogHost* host) {
    auto* dialog = dynamic_cast<Win32Dialog*>(host);
    return dialog ? dialog->Window() : nullptr;
}

}  // namespace ovlet::platform::win32
