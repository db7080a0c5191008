// An owner-drawn control of a Win32 dialog: the control window is a button
// (BS_OWNERDRAW: press, release, Space and the command are the system's) or
// a static (SS_OWNERDRAW, the picture panel); the plain C++ control paints
// through a GDI canvas when the dialog is asked to draw it, and hears of the
// pointer (hot tracking with TrackMouseEvent) and of the focus.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/owner_drawn.h"

namespace ovlet::platform::win32 {

// Whether the control stands on the page of a tab control beside it, and the
// page is drawn by the desktop's theme (lighter than the dialog): labels and
// owner-drawn controls there take the page's colour.
bool OnThemedTabPage(HWND control);
// Paints the pages of `dialog`'s themed tab controls in the page's colour
// on `dc`, the dialog's background: what a control draws of its parent's
// background there (a group box behind its caption) is then the page's.
void PaintThemedTabPages(HWND dialog, HDC dc);

class OwnerDrawnHost : public ControlHost {
public:
    OwnerDrawnHost(HWND control, std::unique_ptr<OwnerDrawnControl> logic, bool button);
    // A control whose window is made later (Place): until then it answers
    // from where it will stand in `dialog` (`box`, in the dialog's pixels),
    // in the dialog's font, with `text` as its text, and keeps what it is
    // told for its window.
    struct StandIn {
        HWND dialog;
        RECT box;
        const std::string* text;
    };
    OwnerDrawnHost(const StandIn& standIn, std::unique_ptr<OwnerDrawnControl> logic, bool button);
    ~OwnerDrawnHost() override;
    OwnerDrawnHost(const OwnerDrawnHost&) = delete;
    OwnerDrawnHost& operator=(const OwnerDrawnHost&) = delete;

    // The control's window, now made: it takes what the stand-in was told.
    void Place(HWND controlWindow);
    OwnerDrawnControl& Control() { return *control; }
    // WM_DRAWITEM: paints the control off screen and copies it in one go.
    void Draw(const DRAWITEMSTRUCT& item);

    // ControlHost.
    int Width() const override;
    int Height() const override;
    void Resize(int width, int height) override;
    double Scale() const override;
    Colour System(SystemColour which) const override;
    void Redraw() override;
    void RedrawNow() override;
    void SetCursor(Cursor cursor) override { pointer = cursor; }
    void SetTabStop(bool tabStop) override;
    bool HasFocus() const override;
    bool IsDown() const override;
    std::string Text() const override;
    int TextWidth(const std::string& utf8, TextStyle style) const override;
    std::string Elided(const std::string& utf8, int width, TextStyle style) const override;
    std::string Translate(const char* context, const char* text) const override;
    void SetAccessibleName(const std::string& utf8) override;
    void SetAccessibleRole(AccessibleRole role) override;

    const std::string& AccessibleName() const { return accessibleName; }

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    Point Logical(LPARAM lParam) const;

    // The window that measures: the control's, or the dialog's for a stand-in.
    HWND Measuring() const { return window ? window : standIn.dialog; }

    HWND window;
    StandIn standIn{};
    std::unique_ptr<OwnerDrawnControl> control;
    bool isButton;
    Cursor pointer = Cursor::Arrow;
    bool tracking = false;
    std::string accessibleName;
    // What a stand-in was told for its window.
    std::optional<bool> tabStop;
    std::optional<AccessibleRole> role;
};

// The fonts a canvas draws with: the control's own, and the same underlined.
class GdiFonts {
public:
    explicit GdiFonts(HWND control);
    ~GdiFonts();
    GdiFonts(const GdiFonts&) = delete;
    GdiFonts& operator=(const GdiFonts&) = delete;
    HFONT For(TextStyle style) const { return style.underline && underlined ? underlined : plain; }

private:
    HFONT plain;
    HFONT underlined = nullptr;
};

// A canvas on a device context, in the control's logical pixels times `scale`.
class GdiCanvas : public Canvas {
public:
    GdiCanvas(HDC dc, double scale, const GdiFonts& fonts);
    void FillRect(const Rect& area, Colour colour) override;
    void FrameRect(const Rect& area, Colour colour, bool dotted) override;
    void Text(Point at, TextAnchor anchor, const std::string& utf8, Colour colour, TextStyle style) override;
    void Bitmap(const picture::CWinBmp& bitmap, Point at) override;
    void ScreenBitmap(const picture::CWinBmp& bitmap, const Rect& target) override;

private:
    int Device(int logical) const;
    RECT DeviceRect(const Rect& area) const;

    HDC dc;
    double scale;
    const GdiFonts& fonts;
};

}  // namespace ovlet::platform::win32
