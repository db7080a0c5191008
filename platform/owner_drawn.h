// Controls that draw themselves (bitmap buttons, link buttons, the picture
// panel) in plain C++: the control says what to draw and how it reacts; a
// face of the platform gives it a surface, delivers the pointer, keyboard and
// focus, and asks it to paint. Nothing here knows a toolkit.
#pragma once

#include <cstdint>
#include <string>

class CWinBmp;

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
};

// Left and top inside; width and height in the surface's logical pixels.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// The colours of the desktop's own scheme a control may follow.
enum class SystemColour { WindowText, Window, ButtonFace, Highlight, GrayText };

struct TextStyle {
    bool underline = false;
    bool bold = false;
};

// What a control draws on while it paints. Coordinates are logical pixels of
// the control, origin at its top left; the face scales them for the screen.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Device pixels per logical pixel (1 on a 100 % screen, 2 at 200 %).
    virtual double Scale() const = 0;
    virtual Colour System(SystemColour which) const = 0;
    virtual void FillRect(const Rect& area, Colour colour) = 0;
    // A line one logical pixel wide; dotted for focus marks.
    virtual void Line(Point from, Point to, Colour colour, bool dotted) = 0;
    // A dotted frame around `area`, as the desktop marks the focused control.
    virtual void FocusFrame(const Rect& area) = 0;
    // One line of text with its top left at `at`, in the control's font.
    virtual void Text(Point at, const std::string& utf8, Colour colour, TextStyle style) = 0;
    // The width of `utf8` in the control's font, and the text cut to fit
    // `width` with an ellipsis (whole when it fits).
    virtual int TextWidth(const std::string& utf8, TextStyle style) const = 0;
    virtual std::string Elided(const std::string& utf8, int width, TextStyle style) const = 0;
    // A bitmap of the picture library drawn into `target` (logical pixels),
    // stretched from its whole area; drawn opaque.
    virtual void Bitmap(const CWinBmp& bitmap, const Rect& target) = 0;
};

enum class Cursor { Arrow, Hand };

// What the face does for a control on request.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual Rect Client() const = 0;  // (0, 0, width, height)
    virtual double Scale() const = 0;
    virtual void Redraw() = 0;  // paint again soon (at once where the desktop allows)
    virtual void SetCursor(Cursor cursor) = 0;
    virtual void CaptureMouse(bool capture) = 0;
    virtual bool HasFocus() const = 0;
    // Tells the owning window the control was clicked (its command).
    virtual void Clicked() = 0;
    // What assistive technology says of the control.
    virtual void SetAccessibleName(const std::string& utf8) = 0;
    virtual void SetAccessibleRole(bool link) = 0;  // a link, or static text/button
};

// A control's own logic. The face calls these; the control answers through
// its host.
class OwnerDrawnControl {
public:
    virtual ~OwnerDrawnControl() = default;
    // Called once when the face has made the control's window.
    virtual void Attach(ControlHost* controlHost) { host = controlHost; }
    virtual void Paint(Canvas& canvas) = 0;
    virtual void MouseMove(Point) {}
    virtual void MouseLeave() {}
    virtual void MousePress(Point) {}
    virtual void MouseRelease(Point) {}
    virtual void FocusChanged(bool) {}
    virtual void Resized() {}

protected:
    ControlHost* host = nullptr;
};

}  // namespace platform
