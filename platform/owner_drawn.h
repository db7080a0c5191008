// Controls that draw themselves (bitmap buttons, link buttons, the picture
// panel) in plain C++: the control says what to draw and how it reacts; a
// face of the platform gives it a surface, delivers the pointer and focus,
// and asks it to paint. A button's press, release and command are the face's
// own (a desktop button does that), the control only reads whether it is
// down. Nothing here knows a toolkit.
#pragma once

#include <cstdint>
#include <string>

namespace ovlet::picture {
class CWinBmp;
}  // namespace ovlet::picture

namespace ovlet::platform {

struct Point {
    int x = 0;
    int y = 0;
};

// Left and top inside; width and height in the control's logical pixels.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// The colours of the desktop's own scheme a control may follow.
enum class SystemColour { WindowText, Window };

// The control's font, as it is or underlined.
struct TextStyle {
    bool underline = false;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// Which point of a line of text `at` names: its top left corner, or the left
// end of its base line (where the letters stand).
enum class TextAnchor { TopLeft, BaseLine };

// What a control draws on while it paints. Coordinates are logical pixels of
// the control, origin at its top left; the face scales them for the screen.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void FillRect(const Rect& area, Colour colour) = 0;
    // A frame one logical pixel wide on the outermost pixels of `area`;
    // dotted, it is the mark of the control with the keyboard focus.
    virtual void FrameRect(const Rect& area, Colour colour, bool dotted) = 0;
    // One line of text in the control's font.
    virtual void Text(Point at, TextAnchor anchor, const std::string& utf8, Colour colour, TextStyle style) = 0;
    // A bitmap of the picture library, one bitmap pixel a logical pixel, with
    // its top left at `at` (the face enlarges it as it enlarges the control).
    virtual void Bitmap(const picture::CWinBmp& bitmap, Point at) = 0;
    // A bitmap made for the screen's own pixels: `target` (logical pixels)
    // times the scale is its size, and it is copied as it is, pixel for
    // pixel. One of another size is stretched into `target`.
    virtual void ScreenBitmap(const picture::CWinBmp& bitmap, const Rect& target) = 0;
};

enum class Cursor { Arrow, Hand };

// What assistive technology says the control is: a button, a link, a line of
// text or a picture.
enum class AccessibleRole { Button, Link, StaticText, Graphic };

// What the face does for a control on request and what it tells of it.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // New size; the top left corner stays.
    virtual void Resize(int width, int height) = 0;
    // Screen pixels per logical pixel (1 at 100 %, 1.5 at 150 %, 2 at 200 %).
    virtual double Scale() const = 0;
    virtual Colour System(SystemColour which) const = 0;
    // Paint again soon, or before returning (the pointer's feedback).
    virtual void Redraw() = 0;
    virtual void RedrawNow() = 0;
    virtual void SetCursor(Cursor cursor) = 0;
    // In the Tab order, or focused only by a click.
    virtual void SetTabStop(bool tabStop) = 0;
    virtual bool HasFocus() const = 0;
    // A button held down (by the pointer or the keyboard).
    virtual bool IsDown() const = 0;
    // The control's text, as the window set it.
    virtual std::string Text() const = 0;
    // The width of `utf8` in the control's font, and the text cut to fit
    // `width` with an ellipsis (whole when it fits).
    virtual int TextWidth(const std::string& utf8, TextStyle style) const = 0;
    virtual std::string Elided(const std::string& utf8, int width, TextStyle style) const = 0;
    // `text` in the user's language; `context` is the owner the catalogues
    // file it under.
    virtual std::string Translate(const char* context, const char* text) const = 0;
    virtual void SetAccessibleName(const std::string& utf8) = 0;
    virtual void SetAccessibleRole(AccessibleRole role) = 0;
};

// A control's own logic. The face calls these; the control answers through
// its host.
class OwnerDrawnControl {
public:
    virtual ~OwnerDrawnControl() = default;
    // Called once, when the face has made the control's window.
    virtual void Attach(ControlHost* controlHost) { host = controlHost; }
    virtual void Paint(Canvas& canvas) = 0;
    virtual void MouseMove(Point) {}
    // The pointer left the control's window.
    virtual void MouseLeave() {}
    virtual void FocusChanged(bool) {}

protected:
    ControlHost* host = nullptr;
};

}  // namespace ovlet::platform
