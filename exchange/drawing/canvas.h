// What drawing a card asks of a surface, in the drawing's own words: filled
// boxes, a picture stretched over a box, lines of text in one sans-serif
// face at a pixel height, and the thin lines of crop marks. Each system gives a canvas that draws into a
// picture in memory (MakePictureCanvas); printing gives one over its page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ovlet::exchange::drawing {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A box in the canvas's units (pixels, or dots of a page).
struct Area {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

// Pixels as 0xFFRRGGBB words (blue first in memory), the top row first: the
// layout of a 32-bit top-down device-independent bitmap, and of the RGB32
// images of the toolkit on Linux.
struct ImageView {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;
    bool Empty() const { return pixels == nullptr || width < 1 || height < 1; }
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool Empty() const { return pixels.empty(); }
    ImageView View() const { return {width, height, pixels.empty() ? nullptr : pixels.data()}; }
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void Fill(const Area& area, Colour colour) = 0;
    // The picture stretched over the area, smoothly.
    virtual void DrawImage(const Area& area, ImageView image) = 0;
    // Nothing is drawn outside the area from now on.
    virtual void ClipTo(const Area& area) = 0;
    // The whole surface can be drawn on again.
    virtual void Unclip() = 0;
    // A straight line `width` wide with square ends (half the width past
    // each end point).
    virtual void DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) = 0;
    // The text that follows: its em height in the canvas's units, and weight.
    virtual void SetFont(double pixels, bool bold) = 0;
    // In the font set last: the width of a UTF-8 text, the height above the
    // baseline, and the height of a line.
    virtual double Advance(const std::string& text) = 0;
    virtual double Ascent() = 0;
    virtual double LineHeight() = 0;
    virtual void DrawText(double left, double baseline, const std::string& text, Colour colour) = 0;
};

// A canvas that draws into a picture of its own.
class PictureCanvas : public Canvas {
public:
    // The picture drawn so far.
    virtual Image Take() = 0;
};

// A width x height canvas; null when the system cannot give one that large.
std::unique_ptr<PictureCanvas> MakePictureCanvas(int width, int height);

// What a program holds while it draws: on some systems fonts need a session
// of the toolkit (without a display), on others nothing.
class DrawingSession {
public:
    DrawingSession();
    ~DrawingSession();
    DrawingSession(const DrawingSession&) = delete;
    DrawingSession& operator=(const DrawingSession&) = delete;

private:
    struct Held;
    std::unique_ptr<Held> held;
};

}  // namespace ovlet::exchange::drawing
