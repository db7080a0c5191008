// The picture library's headers name the DIB constants the system's headers
// define as macros: they come first.
#include "picture/win_bmp.h"
// (separate block: the order above matters)
#include "platform/win32/owner_drawn_host.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cmath>
#include <vector>

#include "files/utf8.h"
#include "platform/face.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x0F1E;

COLORREF Ref(Colour c) {
    return RGB(c.red, c.green, c.blue);
}

// The bits of a packed DIB: after the header and its colour table.
const void* BitsOf(const picture::BitmapInfoHeader& header) {
    std::size_t colours = 0;
    if (header.biBitCount <= 8) colours = header.biClrUsed ? header.biClrUsed : (std::size_t{1} << header.biBitCount);
    return reinterpret_cast<const std::uint8_t*>(&header) + header.biSize + colours * sizeof(picture::RGBQuad);
}

void StretchDib(HDC dc, const picture::CWinBmp& bitmap, const RECT& target) {
    const picture::BitmapInfoHeader* header = bitmap.GetInfoHeader();
    if (!header || target.right <= target.left || target.bottom <= target.top) return;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  header->biWidth, height, BitsOf(*header), reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS,
                  SRCCOPY);
}

}  // namespace

// ---- the fonts and the canvas ----

GdiFonts::GdiFonts(HWND control) {
    plain = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!plain) plain = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font{};
    if (GetObjectW(plain, sizeof font, &font) == sizeof font) {
        font.lfUnderline = TRUE;
        underlined = CreateFontIndirectW(&font);
    }
}

GdiFonts::~GdiFonts() {
    if (underlined) DeleteObject(underlined);
}

GdiCanvas::GdiCanvas(HDC target, double factor, const GdiFonts& controlFonts)
    : dc(target), scale(factor), fonts(controlFonts) {}

int GdiCanvas::Device(int logical) const {
    return static_cast<int>(std::lround(logical * scale));
}

RECT GdiCanvas::DeviceRect(const Rect& area) const {
    return {Device(area.x), Device(area.y), Device(area.Right()), Device(area.Bottom())};
}

void GdiCanvas::FillRect(const Rect& area, Colour colour) {
    const RECT r = DeviceRect(area);
    HBRUSH brush = CreateSolidBrush(Ref(colour));
    ::FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void GdiCanvas::FrameRect(const Rect& area, Colour colour, bool dotted) {
    const RECT r = DeviceRect(area);
    if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
    if (!dotted) {
        HBRUSH brush = CreateSolidBrush(Ref(colour));
        // One logical pixel wide.
        const int w = std::max(1, Device(1));
        for (int i = 0; i < w; ++i) {
            const RECT ring{r.left + i, r.top + i, r.right - i, r.bottom - i};
            ::FrameRect(dc, &ring, brush);
        }
        DeleteObject(brush);
        return;
    }
    // Every other pixel, as the focus mark is drawn.
    const COLORREF c = Ref(colour);
    for (LONG x = r.left; x < r.right; x += 2) {
        SetPixelV(dc, x, r.top, c);
        SetPixelV(dc, x, r.bottom - 1, c);
    }
    for (LONG y = r.top; y < r.bottom; y += 2) {
        SetPixelV(dc, r.left, y, c);
        SetPixelV(dc, r.right - 1, y, c);
    }
}

void GdiCanvas::Text(Point at, TextAnchor anchor, const std::string& utf8, Colour colour, TextStyle style) {
    const std::wstring text = Wide(utf8);
    HGDIOBJ old = SelectObject(dc, fonts.For(style));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(colour));
    SetTextAlign(dc, anchor == TextAnchor::BaseLine ? TA_BASELINE | TA_LEFT : TA_TOP | TA_LEFT);
    TextOutW(dc, Device(at.x), Device(at.y), text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
}

void GdiCanvas::Bitmap(const picture::CWinBmp& bitmap, Point at) {
    const picture::BitmapInfoHeader* header = bitmap.GetInfoHeader();
    if (!header) return;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    StretchDib(dc, bitmap, DeviceRect({at.x, at.y, header->biWidth, height}));
}

void GdiCanvas::ScreenBitmap(const picture::CWinBmp& bitmap, const Rect& target) {
    StretchDib(dc, bitmap, DeviceRect(target));
}

// ---- the host ----

OwnerDrawnHost::OwnerDrawnHost(HWND controlWindow, std::unique_ptr<OwnerDrawnControl> logic, bool button)
    : window(controlWindow), control(std::move(logic)), isButton(button) {
    SetWindowSubclass(window, &OwnerDrawnHost::Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    control->Attach(this);
}

OwnerDrawnHost::OwnerDrawnHost(const StandIn& place, std::unique_ptr<OwnerDrawnControl> logic, bool button)
    : window(nullptr), standIn(place), control(std::move(logic)), isButton(button) {
    control->Attach(this);
}

OwnerDrawnHost::~OwnerDrawnHost() {
    if (window && IsWindow(window)) RemoveWindowSubclass(window, &OwnerDrawnHost::Subclass, kSubclassId);
}

void OwnerDrawnHost::Place(HWND controlWindow) {
    if (window || !controlWindow) return;
    window = controlWindow;
    SetWindowSubclass(window, &OwnerDrawnHost::Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (tabStop) SetTabStop(*tabStop);
    if (role) AnnotateRole(window, *role);
    if (!accessibleName.empty()) AnnotateName(window, accessibleName);
}

void OwnerDrawnHost::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    HDC memory = CreateCompatibleDC(item.hDC);
    HBITMAP surface = CreateCompatibleBitmap(item.hDC, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, surface);
    // What the control leaves unpainted is the dialog's face.
    const RECT all{0, 0, width, height};
    ::FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    {
        GdiFonts fonts(window);
        GdiCanvas canvas(memory, Scale(), fonts);
        control->Paint(canvas);
    }
    BitBlt(item.hDC, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(surface);
    DeleteDC(memory);
}

LRESULT CALLBACK OwnerDrawnHost::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    auto* host = reinterpret_cast<OwnerDrawnHost*>(self);
    if (host->window != window) return DefSubclassProc(window, message, wParam, lParam);
    return host->Handle(message, wParam, lParam);
}

Point OwnerDrawnHost::Logical(LPARAM lParam) const {
    const double s = Scale();
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    return {static_cast<int>(std::floor(x / s)), static_cast<int>(std::floor(y / s))};
}

LRESULT OwnerDrawnHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!tracking) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                tracking = TrackMouseEvent(&track) != FALSE;
            }
            control->MouseMove(Logical(lParam));
            break;
        case WM_MOUSELEAVE:
            tracking = false;
            control->MouseLeave();
            return 0;
        case WM_SETCURSOR:
            if (pointer == Cursor::Hand && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            // The paint covers every pixel.
            return TRUE;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT done = DefSubclassProc(window, message, wParam, lParam);
            control->FocusChanged(message == WM_SETFOCUS);
            Redraw();
            return done;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &OwnerDrawnHost::Subclass, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

int OwnerDrawnHost::Width() const {
    RECT r{};
    if (window) {
        GetClientRect(window, &r);
    } else {
        r.right = standIn.box.right - standIn.box.left;
    }
    return static_cast<int>(std::lround(r.right / Scale()));
}

int OwnerDrawnHost::Height() const {
    RECT r{};
    if (window) {
        GetClientRect(window, &r);
    } else {
        r.bottom = standIn.box.bottom - standIn.box.top;
    }
    return static_cast<int>(std::lround(r.bottom / Scale()));
}

void OwnerDrawnHost::Resize(int width, int height) {
    const double s = Scale();
    const int across = static_cast<int>(std::lround(width * s));
    const int down = static_cast<int>(std::lround(height * s));
    if (!window) {
        standIn.box.right = standIn.box.left + across;
        standIn.box.bottom = standIn.box.top + down;
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, across, down, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double OwnerDrawnHost::Scale() const {
    const UINT dpi = GetDpiForWindow(Measuring());
    return dpi ? dpi / 96.0 : 1.0;
}

namespace {

// The pages of `dialog`'s themed tab controls, on the screen; none without a
// theme. A tab control counts by its own visibility: its page is drawn (or
// printed) before the dialog shows.
std::vector<RECT> ThemedTabPages(HWND dialog) {
    std::vector<RECT> pages;
    if (!IsAppThemed()) return pages;
    for (HWND tabs = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr); tabs;
         tabs = FindWindowExW(dialog, tabs, WC_TABCONTROLW, nullptr)) {
        RECT page{};
        const bool shown = (GetWindowLongPtrW(tabs, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!shown || !GetWindowRect(tabs, &page)) continue;
        SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
        pages.push_back(page);
    }
    return pages;
}

}  // namespace

void PaintThemedTabPages(HWND dialog, HDC dc) {
    for (RECT page : ThemedTabPages(dialog)) {
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&page), 2);
        FillRect(dc, &page, GetSysColorBrush(COLOR_WINDOW));
    }
}

bool OnThemedTabPage(HWND control) {
    RECT placed{};
    if (!GetWindowRect(control, &placed)) return false;
    const POINT middle{(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2};
    for (const RECT& page : ThemedTabPages(GetParent(control))) {
        if (PtInRect(&page, middle)) return true;
    }
    return false;
}

Colour OwnerDrawnHost::System(SystemColour which) const {
    const int background = window && OnThemedTabPage(window) ? COLOR_WINDOW : COLOR_BTNFACE;
    const COLORREF c = GetSysColor(which == SystemColour::WindowText ? COLOR_WINDOWTEXT : background);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void OwnerDrawnHost::Redraw() {
    if (window) InvalidateRect(window, nullptr, FALSE);
}

void OwnerDrawnHost::RedrawNow() {
    if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void OwnerDrawnHost::SetTabStop(bool stop) {
    if (!window) {
        tabStop = stop;
        return;
    }
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    style = stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(window, GWL_STYLE, style);
}

bool OwnerDrawnHost::HasFocus() const {
    return window && GetFocus() == window;
}

bool OwnerDrawnHost::IsDown() const {
    if (!isButton || !window) return false;
    return (SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

std::string OwnerDrawnHost::Text() const {
    if (!window) return standIn.text ? *standIn.text : std::string();
    return WindowText(window);
}

int OwnerDrawnHost::TextWidth(const std::string& utf8, TextStyle style) const {
    // Nothing to measure: no fonts made, no device asked for.
    if (utf8.empty()) return 0;
    const std::wstring text = Wide(utf8);
    // A stand-in measures in the dialog's font, which its control will have.
    HWND measuring = Measuring();
    GdiFonts fonts(measuring);
    HDC dc = GetDC(measuring);
    HGDIOBJ old = SelectObject(dc, fonts.For(style));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(measuring, dc);
    return static_cast<int>(std::ceil(size.cx / Scale()));
}

std::string OwnerDrawnHost::Elided(const std::string& utf8, int width, TextStyle style) const {
    if (TextWidth(utf8, style) <= width) return utf8;
    // Whole characters from the start, then the ellipsis.
    std::vector<std::size_t> ends;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < utf8.size()) {
        files::NextUtf8(utf8, pos, c);
        ends.push_back(pos);
    }
    const std::string ellipsis = "\xE2\x80\xA6";
    std::size_t low = 0;
    std::size_t high = ends.size();
    // The longest beginning that fits with the ellipsis.
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (TextWidth(utf8.substr(0, ends[mid - 1]) + ellipsis, style) <= width) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return (low ? utf8.substr(0, ends[low - 1]) : std::string()) + ellipsis;
}

std::string OwnerDrawnHost::Translate(const char* context, const char* text) const {
    return platform::Translate(context, text);
}

void OwnerDrawnHost::SetAccessibleName(const std::string& utf8) {
    accessibleName = utf8;
    if (window) AnnotateName(window, utf8);
}

void OwnerDrawnHost::SetAccessibleRole(AccessibleRole what) {
    role = what;
    if (window) AnnotateRole(window, what);
}

}  // namespace ovlet::platform::win32
