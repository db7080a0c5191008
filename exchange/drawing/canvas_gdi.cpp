// The canvas on Windows: GDI over a 32-bit top-down DIB section, whose
// pixels are the drawing's picture as they are.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "exchange/drawing/canvas.h"
#include "exchange/drawing/gdi_face.h"
#include "files/utf16.h"

namespace ovlet::exchange::drawing {
namespace {

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

COLORREF ToColour(Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

std::wstring Wide(const std::string& text) {
    const std::u16string wide = files::Utf16FromUtf8(text);
    return {wide.begin(), wide.end()};
}

// Whole pixels: GDI's edges are between them.
RECT ToRect(const Area& area) {
    return {Round(area.left), Round(area.top), Round(area.Right()), Round(area.Bottom())};
}

// A memory device with a DIB section selected into it.
struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ before;  // the device's own bitmap, given back at the end
    std::uint32_t* bits;
    int width;
    int height;
};

// The drawing on any device context; Base is the kind of canvas it is.
template <class Base>
class GdiDrawing : public Base {
public:
    explicit GdiDrawing(HDC device) : dc(device) {
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    ~GdiDrawing() override { ReleaseFont(); }
    GdiDrawing(const GdiDrawing&) = delete;
    GdiDrawing& operator=(const GdiDrawing&) = delete;

    void Fill(const Area& area, Colour colour) override {
        const RECT rect = ToRect(area);
        HBRUSH brush = CreateSolidBrush(ToColour(colour));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    void DrawImage(const Area& area, ImageView image) override {
        if (image.Empty()) return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const RECT to = ToRect(area);
        StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, image.width, image.height,
                      image.pixels, &info, DIB_RGB_COLORS, SRCCOPY);
    }
    void ClipTo(const Area& area) override {
        const RECT rect = ToRect(area);
        IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
    void Unclip() override { SelectClipRgn(dc, nullptr); }
    void DrawLine(double x1, double y1, double x2, double y2, double thickness, Colour colour) override {
        LOGBRUSH brush{BS_SOLID, ToColour(colour), 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE,
                                static_cast<DWORD>(std::max(1, Round(thickness))), &brush, 0, nullptr);
        if (!pen) return;
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, Round(x1), Round(y1), nullptr);
        LineTo(dc, Round(x2), Round(y2));
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    void SetFont(double pixels, bool bold) override {
        const int em = std::max(1, Round(pixels));
        if (font && em == fontHeight && bold == fontBold) return;
        HFONT made = CreateFontW(-em, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                 SansFaceName(dc));
        HGDIOBJ before = SelectObject(dc, made);
        if (font) {
            DeleteObject(font);
        } else {
            fontBefore = before;
        }
        font = made;
        fontHeight = em;
        fontBold = bold;
        GetTextMetricsW(dc, &metrics);
    }
    double Advance(const std::string& text) override {
        const std::wstring wide = Wide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx;
    }
    double Ascent() override { return metrics.tmAscent; }
    double LineHeight() override { return metrics.tmHeight; }
    void DrawText(double left, double baseline, const std::string& text, Colour colour) override {
        const std::wstring wide = Wide(text);
        SetTextColor(dc, ToColour(colour));
        ExtTextOutW(dc, Round(left), Round(baseline), 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()),
                    nullptr);
    }

protected:
    // The device's own font back in it, and ours deleted.
    void ReleaseFont() {
        if (!font) return;
        SelectObject(dc, fontBefore);
        DeleteObject(font);
        font = nullptr;
    }

    HDC dc;

private:
    HFONT font = nullptr;
    HGDIOBJ fontBefore = nullptr;
    int fontHeight = 0;
    bool fontBold = false;
    TEXTMETRICW metrics{};
};

// A picture of its own: a memory device with a DIB section selected into it.
class GdiPictureCanvas : public GdiDrawing<PictureCanvas> {
public:
    explicit GdiPictureCanvas(const Surface& surface)
        : GdiDrawing(surface.dc),
          bitmap(surface.bitmap),
          before(surface.before),
          bits(surface.bits),
          width(surface.width),
          height(surface.height) {}
    ~GdiPictureCanvas() override {
        ReleaseFont();
        SelectObject(dc, before);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    GdiPictureCanvas(const GdiPictureCanvas&) = delete;
    GdiPictureCanvas& operator=(const GdiPictureCanvas&) = delete;

    Image Take() override {
        GdiFlush();
        Image out;
        out.width = width;
        out.height = height;
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        out.pixels.assign(bits, bits + count);
        // GDI leaves the fourth byte as it finds it: the pictures are opaque.
        for (std::uint32_t& pixel : out.pixels) pixel |= 0xFF000000u;
        return out;
    }

private:
    HBITMAP bitmap;
    HGDIOBJ before;
    std::uint32_t* bits;
    int width;
    int height;
};

// A device's settings, saved before anything draws on it.
struct SavedDevice {
    explicit SavedDevice(HDC device) : saved(SaveDC(device)) {}
    int saved;
};

// Another's device, such as a printer's page: its settings as they were
// once the drawing is done (saved before the drawing sets its own).
class DeviceCanvas : private SavedDevice, public GdiDrawing<Canvas> {
public:
    explicit DeviceCanvas(HDC device) : SavedDevice(device), GdiDrawing(device) {}
    ~DeviceCanvas() override {
        ReleaseFont();
        if (saved) RestoreDC(dc, saved);
    }
    DeviceCanvas(const DeviceCanvas&) = delete;
    DeviceCanvas& operator=(const DeviceCanvas&) = delete;
};

}  // namespace

// The face of the text: the sans-serif every Windows has, or the one
// metrically the same where it is missing (as under Wine).
const wchar_t* SansFaceName(HDC dc) {
    static const wchar_t* chosen = nullptr;
    if (chosen) return chosen;
    for (const wchar_t* face : {L"Arial", L"Liberation Sans"}) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
        bool found = false;
        EnumFontFamiliesExW(
            dc, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM flag) -> int {
                *reinterpret_cast<bool*>(flag) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        if (found) return chosen = face;
    }
    return chosen = L"Arial";
}

std::unique_ptr<PictureCanvas> MakePictureCanvas(int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ before = SelectObject(dc, bitmap);
    std::memset(bits, 0xFF, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    return std::make_unique<GdiPictureCanvas>(
        Surface{dc, bitmap, before, static_cast<std::uint32_t*>(bits), width, height});
}

std::unique_ptr<Canvas> MakeDeviceCanvas(HDC dc) {
    return std::make_unique<DeviceCanvas>(dc);
}

// GDI needs nothing set up.
struct DrawingSession::Held {};

DrawingSession::DrawingSession() = default;
DrawingSession::~DrawingSession() = default;

}  // namespace ovlet::exchange::drawing
