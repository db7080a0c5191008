// The owner-drawn controls against a recording canvas and a scripted host:
// what they draw and where, how they follow the pointer and the focus, what
// they tell assistive technology. No toolkit.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "controls/hover_button.h"
#include "controls/link_button.h"
#include "controls/picture_static.h"
#include "picture/resource_registry.h"
#include "picture/win_bmp.h"

namespace ovlet::controls {
namespace {

constexpr platform::Colour kWindow{240, 240, 240};
constexpr platform::Colour kWindowText{10, 20, 30};
constexpr platform::Colour kBlack{0, 0, 0};
constexpr int kCharWidth = 7;  // the scripted font: every character this wide
const std::string kEllipsis = "\u2026";

// Characters (code points) of UTF-8 text.
int Characters(const std::string& utf8) {
    int count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// A host that does what it is asked and remembers it.
class ScriptedHost : public platform::ControlHost {
public:
    int Width() const override { return width; }
    int Height() const override { return height; }
    void Resize(int w, int h) override {
        width = w;
        height = h;
        ++resizes;
    }
    double Scale() const override { return scale; }
    platform::Colour System(platform::SystemColour which) const override {
        return which == platform::SystemColour::Window ? kWindow : kWindowText;
    }
    void Redraw() override { ++redraws; }
    void RedrawNow() override { ++redrawsNow; }
    void SetCursor(platform::Cursor c) override { cursor = c; }
    void SetTabStop(bool stop) override { tabStop = stop; }
    bool HasFocus() const override { return focus; }
    bool IsDown() const override { return down; }
    std::string Text() const override { return text; }
    int TextWidth(const std::string& utf8, platform::TextStyle) const override { return Characters(utf8) * kCharWidth; }
    std::string Elided(const std::string& utf8, int w, platform::TextStyle style) const override {
        if (TextWidth(utf8, style) <= w) return utf8;
        std::string cut = utf8;
        while (!cut.empty() && TextWidth(cut + kEllipsis, style) > w) cut.pop_back();
        return cut + kEllipsis;
    }
    std::string Translate(const char* context, const char* source) const override {
        contexts.push_back(context);
        const auto found = translations.find(source);
        return found == translations.end() ? source : found->second;
    }
    void SetAccessibleName(const std::string& utf8) override { accessibleName = utf8; }
    void SetAccessibleRole(platform::AccessibleRole r) override { role = r; }

    int width = 0;
    int height = 0;
    double scale = 1;
    bool focus = false;
    bool down = false;
    std::string text;
    std::map<std::string, std::string> translations;

    int resizes = 0;
    int redraws = 0;
    int redrawsNow = 0;
    platform::Cursor cursor = platform::Cursor::Arrow;
    bool tabStop = true;
    std::string accessibleName;
    platform::AccessibleRole role = platform::AccessibleRole::Button;
    mutable std::vector<std::string> contexts;
};

// Every drawing call, in order.
struct Drawn {
    enum Kind { Fill, Frame, Text, Bitmap, ScreenBitmap } kind = Fill;
    platform::Rect area;  // Text, Bitmap: x and y only; ScreenBitmap: the target
    platform::Colour colour;
    bool dotted = false;
    platform::TextAnchor anchor = platform::TextAnchor::TopLeft;
    std::string text;
    platform::TextStyle style;
    int bitmapWidth = 0;
    int bitmapHeight = 0;
};

class RecordingCanvas : public platform::Canvas {
public:
    void FillRect(const platform::Rect& area, platform::Colour colour) override {
        Record(Drawn::Fill, area).colour = colour;
    }
    void FrameRect(const platform::Rect& area, platform::Colour colour, bool dotted) override {
        Drawn& d = Record(Drawn::Frame, area);
        d.colour = colour;
        d.dotted = dotted;
    }
    void Text(platform::Point at, platform::TextAnchor anchor, const std::string& utf8, platform::Colour colour,
              platform::TextStyle style) override {
        Drawn& d = Record(Drawn::Text, {at.x, at.y, 0, 0});
        d.anchor = anchor;
        d.text = utf8;
        d.colour = colour;
        d.style = style;
    }
    void Bitmap(const picture::CWinBmp& bitmap, platform::Point at) override {
        Drawn& d = Record(Drawn::Bitmap, {at.x, at.y, 0, 0});
        d.bitmapWidth = bitmap.GetWidth();
        d.bitmapHeight = bitmap.GetHeight();
    }
    void ScreenBitmap(const picture::CWinBmp& bitmap, const platform::Rect& target) override {
        Drawn& d = Record(Drawn::ScreenBitmap, target);
        d.bitmapWidth = bitmap.GetWidth();
        d.bitmapHeight = bitmap.GetHeight();
    }
    std::vector<Drawn> calls;

    Drawn& Record(Drawn::Kind kind, const platform::Rect& area) {
        Drawn& d = calls.emplace_back();
        d.kind = kind;
        d.area = area;
        return d;
    }

    std::vector<Drawn> Of(Drawn::Kind kind) const {
        std::vector<Drawn> found;
        for (const Drawn& d : calls) {
            if (d.kind == kind) found.push_back(d);
        }
        return found;
    }
};

// Packed DIBs of known sizes as the program's bitmap resources: 20 x 10
// (normal), 24 x 12 (pressed), 30 x 8 (hot), 16 x 16 (another normal).
constexpr std::uint16_t kNormal = 1;
constexpr std::uint16_t kPressed = 2;
constexpr std::uint16_t kHot = 3;
constexpr std::uint16_t kSmall = 4;

std::vector<std::uint8_t> PackedDib(int width, int height) {
    picture::CWinBmp bitmap;
    bitmap.Create(width, height, 24, false);
    return bitmap.CopyToGlobalMemory();
}

class Resources {
public:
    Resources() {
        dibs[kNormal] = PackedDib(20, 10);
        dibs[kPressed] = PackedDib(24, 12);
        dibs[kHot] = PackedDib(30, 8);
        dibs[kSmall] = PackedDib(16, 16);
        picture::SetBitmapResourceLookup([this](std::uint16_t id) -> std::span<const std::uint8_t> {
            const auto found = dibs.find(id);
            if (found == dibs.end()) return {};
            return found->second;
        });
    }
    ~Resources() { picture::SetBitmapResourceLookup({}); }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

private:
    std::map<std::uint16_t, std::vector<std::uint8_t>> dibs;
};

// ---- The hover button ----

class HoverButtonTest : public ::testing::Test {
protected:
    void Make(int width, int height) {
        host.width = width;
        host.height = height;
        button.Attach(&host);
        button.SetBitmaps(kNormal, kPressed, kHot);
    }
    Resources resources;
    ScriptedHost host;
    CHoverButton button;
};

TEST_F(HoverButtonTest, GrowsToHoldItsLargestBitmapKeepingItsCorner) {
    struct Case {
        int width, height;
        int wantWidth, wantHeight;
        int wantResizes;
    };
    constexpr Case kCases[] = {
        {10, 10, 30, 12, 1},  // both ways
        {35, 35, 35, 35, 0},  // large enough already: left alone
        {31, 5, 31, 12, 1},   // one way
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.width);
        ScriptedHost scripted;
        scripted.width = c.width;
        scripted.height = c.height;
        CHoverButton hover;
        hover.Attach(&scripted);
        hover.SetBitmaps(kNormal, kPressed, kHot);
        EXPECT_EQ(scripted.width, c.wantWidth);
        EXPECT_EQ(scripted.height, c.wantHeight);
        EXPECT_EQ(scripted.resizes, c.wantResizes);
        EXPECT_FALSE(scripted.tabStop) << "a toolbar button is focused by a click, never by Tab";
    }
}

TEST_F(HoverButtonTest, HotWhileThePointerIsOverItRightAndBottomEdgesIncluded) {
    Make(35, 35);
    struct Move {
        platform::Point at;
        bool hot;
        std::uint32_t bitmap;
        int redrawsNow;  // counted from the start
    };
    const Move kMoves[] = {
        {{5, 5}, true, kHot, 1},      {{35, 5}, true, kHot, 1},  {{5, 35}, true, kHot, 1},
        {{36, 5}, false, kNormal, 2}, {{35, 35}, true, kHot, 3}, {{5, 36}, false, kNormal, 4},
        {{-1, 5}, false, kNormal, 4}, {{0, 0}, true, kHot, 5},   {{0, -1}, false, kNormal, 6},
    };
    for (const Move& m : kMoves) {
        SCOPED_TRACE(std::to_string(m.at.x) + "," + std::to_string(m.at.y));
        button.MouseMove(m.at);
        EXPECT_EQ(button.IsHot(), m.hot);
        EXPECT_EQ(button.CurrentBitmap(), m.bitmap);
        EXPECT_EQ(host.redrawsNow, m.redrawsNow) << "redrawn at once on each change, only then";
    }
    button.MouseMove({5, 5});
    button.MouseLeave();
    EXPECT_FALSE(button.IsHot()) << "leaving the window ends the hot look";
    EXPECT_EQ(host.redrawsNow, 8);
}

TEST_F(HoverButtonTest, HitRectangleIsTheSizeWhenTheBitmapsWereSet) {
    Make(35, 35);
    host.Resize(80, 80);
    button.MouseMove({60, 60});
    EXPECT_FALSE(button.IsHot());
    button.MouseMove({35, 35});
    EXPECT_TRUE(button.IsHot());
}

TEST_F(HoverButtonTest, PressedBitmapWhileDownOtherwiseHotOrNormal) {
    struct Case {
        std::uint32_t pressed;
        bool down, hot;
        std::uint32_t want;
    };
    constexpr Case kCases[] = {
        {kPressed, true, false, kPressed},
        {kPressed, true, true, kPressed},
        {kPressed, false, true, kHot},
        {kPressed, false, false, kNormal},
        {0, true, true, kHot},
        {0, true, false, kNormal},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.pressed) + (c.down ? " down" : " up") + (c.hot ? " hot" : ""));
        ScriptedHost scripted;
        scripted.width = scripted.height = 35;
        CHoverButton hover;
        hover.Attach(&scripted);
        hover.SetBitmaps(kNormal, c.pressed, kHot);
        hover.MouseMove(c.hot ? platform::Point{1, 1} : platform::Point{-5, -5});
        scripted.down = c.down;
        EXPECT_EQ(hover.CurrentBitmap(), c.want);
    }
}

TEST_F(HoverButtonTest, PaintsTheFaceThenTheBitmapCentredAndUnscaled) {
    Make(35, 35);
    host.scale = 2;  // the face enlarges; the control's coordinates stay logical
    struct Case {
        platform::Point pointer;
        int width, height;
    };
    constexpr Case kCases[] = {{{-5, -5}, 20, 10}, {{5, 5}, 30, 8}};
    for (const Case& c : kCases) {
        button.MouseMove(c.pointer);
        RecordingCanvas canvas;
        button.Paint(canvas);
        ASSERT_EQ(canvas.calls.size(), 2u);
        EXPECT_EQ(canvas.calls[0].kind, Drawn::Fill);
        EXPECT_EQ(canvas.calls[0].area, (platform::Rect{0, 0, 35, 35}));
        EXPECT_EQ(canvas.calls[0].colour, kWindow);
        EXPECT_EQ(canvas.calls[1].kind, Drawn::Bitmap);
        EXPECT_EQ(canvas.calls[1].bitmapWidth, c.width);
        EXPECT_EQ(canvas.calls[1].bitmapHeight, c.height);
        EXPECT_EQ(canvas.calls[1].area.x, (35 - c.width) / 2);
        EXPECT_EQ(canvas.calls[1].area.y, (35 - c.height) / 2);
    }
}

TEST_F(HoverButtonTest, MissingBitmapPaintsOnlyTheFace) {
    host.width = host.height = 35;
    button.Attach(&host);
    button.SetBitmaps(999, 0, 998);
    EXPECT_EQ(host.resizes, 0);
    RecordingCanvas canvas;
    button.Paint(canvas);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].kind, Drawn::Fill);
}

// ---- The link button ----

class LinkButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.width = 100;
        host.height = 16;
        host.text = "www.example.com";  // 15 characters, 105 pixels: cut
        link.Attach(&host);
    }
    ScriptedHost host;
    CLinkButton link;
};

TEST_F(LinkButtonTest, LookCursorRoleAndColourFollowTheStyleAndThePointer) {
    EXPECT_EQ(host.cursor, platform::Cursor::Hand) << "a new button is a link";
    EXPECT_EQ(host.role, platform::AccessibleRole::Link);
    struct Case {
        int style;
        bool hot;
        platform::Cursor cursor;
        platform::AccessibleRole role;
        platform::Colour colour;
        bool underline;
    };
    const Case kCases[] = {
        {1, false, platform::Cursor::Hand, platform::AccessibleRole::Link, {0, 0, 255}, true},
        {1, true, platform::Cursor::Hand, platform::AccessibleRole::Link, {255, 0, 0}, true},
        {0, false, platform::Cursor::Arrow, platform::AccessibleRole::StaticText, kWindowText, false},
        {0, true, platform::Cursor::Arrow, platform::AccessibleRole::StaticText, kWindowText, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.style) + (c.hot ? " hot" : ""));
        const int redraws = host.redraws;
        link.SetLinkStyle(c.style);
        EXPECT_GT(host.redraws, redraws);
        link.MouseMove(c.hot ? platform::Point{2, 2} : platform::Point{200, 2});
        EXPECT_EQ(link.IsLinkStyle(), c.style != 0);
        EXPECT_EQ(host.cursor, c.cursor);
        EXPECT_EQ(host.role, c.role);
        EXPECT_EQ(link.TextColour(), c.colour);
        RecordingCanvas canvas;
        link.Paint(canvas);
        const auto texts = canvas.Of(Drawn::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].colour, c.colour);
        EXPECT_EQ(texts[0].style.underline, c.underline);
        EXPECT_EQ(texts[0].anchor, platform::TextAnchor::TopLeft);
        EXPECT_EQ(texts[0].area.x, 0);
        EXPECT_EQ(texts[0].area.y, 0);
    }
}

TEST_F(LinkButtonTest, HitTestFollowsTheCurrentSize) {
    struct Case {
        int width;
        platform::Point at;
        bool hot;
    };
    constexpr Case kCases[] = {{100, {100, 16}, true}, {100, {101, 4}, false}, {50, {50, 4}, true},
                               {50, {51, 4}, false},   {50, {4, 17}, false},   {200, {150, 4}, true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.width);
        host.width = c.width;
        link.MouseMove(c.at);
        EXPECT_EQ(link.IsHot(), c.hot);
    }
}

TEST_F(LinkButtonTest, TextTooLongForTheButtonEndsInAnEllipsis) {
    struct Case {
        const char* text;
        int width;
        const char* shown;
        bool cut;
    };
    const Case kCases[] = {
        {"www.example.com", 105, "www.example.com", false},  // exactly fits
        {"www.example.com", 104, "www.example.c\u2026", true},
        {"www.example.com", 100, "www.example.c\u2026", true},
        {"", 10, "", false},
        {"a&b", 21, "a&b", false},  // no mnemonic: the text as it is
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text + std::string(" in ") + std::to_string(c.width));
        host.text = c.text;
        host.width = c.width;
        EXPECT_EQ(link.ShownText(), c.shown);
        EXPECT_EQ(link.IsTextCut(), c.cut);
        RecordingCanvas canvas;
        link.Paint(canvas);
        ASSERT_EQ(canvas.Of(Drawn::Text).size(), 1u);
        EXPECT_EQ(canvas.Of(Drawn::Text)[0].text, c.shown) << "drawn as shown";
    }
}

TEST_F(LinkButtonTest, FocusFrameHugsTheTextInsideTheButton) {
    struct Case {
        const char* text;
        int width;
        bool focus;
        int frameWidth;  // 0: no frame
    };
    const Case kCases[] = {
        {"abc", 100, true, 23},                         // 21 pixels of text, one beyond, both edges inside
        {"abc", 100, false, 0}, {"abc", 22, true, 22},  // text plus one would pass the right edge: the edge
        {"abc", 21, true, 21},  {"", 100, true, 2},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.width) + (c.focus ? " focused" : ""));
        host.text = c.text;
        host.width = c.width;
        host.focus = c.focus;
        RecordingCanvas canvas;
        link.Paint(canvas);
        ASSERT_GE(canvas.calls.size(), 2u);
        EXPECT_EQ(canvas.calls[0].kind, Drawn::Fill) << "the window's face first";
        EXPECT_EQ(canvas.calls[0].colour, kWindow);
        const auto frames = canvas.Of(Drawn::Frame);
        if (c.frameWidth == 0) {
            EXPECT_TRUE(frames.empty());
            continue;
        }
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].area, (platform::Rect{0, 0, c.frameWidth, 16}));
        EXPECT_TRUE(frames[0].dotted);
        EXPECT_EQ(frames[0].colour, kWindowText);
        EXPECT_EQ(canvas.calls.back().kind, Drawn::Frame) << "drawn over the text";
    }
}

TEST_F(LinkButtonTest, FocusChangeRepaints) {
    const int redraws = host.redraws;
    link.FocusChanged(true);
    link.FocusChanged(false);
    EXPECT_EQ(host.redraws, redraws + 2);
}

// ---- The picture panel ----

// A Windows BMP file of w x h, 24 bits, every pixel (red, green, blue).
std::vector<std::uint8_t> BmpFile(int w, int h, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int stride = (w * 3 + 3) / 4 * 4;
    const auto put = [](std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    std::vector<std::uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    put(file, static_cast<std::uint32_t>(54 + stride * h), 4);
    put(file, 0, 4);
    put(file, 54, 4);
    put(file, 40, 4);
    put(file, static_cast<std::uint32_t>(w), 4);
    put(file, static_cast<std::uint32_t>(h), 4);
    put(file, 1, 2);
    put(file, 24, 2);
    put(file, 0, 4);
    put(file, static_cast<std::uint32_t>(stride * h), 4);
    put(file, 2835, 4);
    put(file, 2835, 4);
    put(file, 0, 4);
    put(file, 0, 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            file.push_back(blue);
            file.push_back(green);
            file.push_back(red);
        }
        for (int pad = w * 3; pad < stride; ++pad) file.push_back(0);
    }
    return file;
}

class PictureStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.width = 100;
        host.height = 80;
        panel.Attach(&host);
    }
    bool Show(const std::vector<std::uint8_t>& file) {
        return static_cast<bool>(
            panel.SetPictureData("picture.bmp", file.data(), static_cast<std::int32_t>(file.size())));
    }
    ScriptedHost host;
    CPictureStatic panel;
};

TEST_F(PictureStaticTest, WithoutAPictureSaysSoInRedOnBlack) {
    EXPECT_EQ(host.role, platform::AccessibleRole::Graphic);
    EXPECT_EQ(host.accessibleName, "No Image Data");
    for (bool focus : {false, true}) {
        SCOPED_TRACE(focus);
        host.focus = focus;
        RecordingCanvas canvas;
        panel.Paint(canvas);
        ASSERT_EQ(canvas.calls.size(), focus ? 4u : 3u);
        EXPECT_EQ(canvas.calls[0].kind, Drawn::Fill);
        EXPECT_EQ(canvas.calls[0].area, (platform::Rect{0, 0, 100, 80}));
        EXPECT_EQ(canvas.calls[0].colour, kBlack);
        EXPECT_EQ(canvas.calls[1].kind, Drawn::Frame);
        EXPECT_FALSE(canvas.calls[1].dotted);
        const Drawn& text = canvas.calls[2];
        EXPECT_EQ(text.kind, Drawn::Text);
        EXPECT_EQ(text.text, "No Image Data");
        EXPECT_EQ(text.anchor, platform::TextAnchor::BaseLine);
        EXPECT_EQ(text.colour, (platform::Colour{255, 0, 0}));
        // Centred across by its width (13 characters), on the middle line.
        EXPECT_EQ(text.area.x, 50 - 13 * kCharWidth / 2);
        EXPECT_EQ(text.area.y, 40);
        if (focus) {
            EXPECT_EQ(canvas.calls[3].kind, Drawn::Frame);
            EXPECT_TRUE(canvas.calls[3].dotted);
            EXPECT_EQ(canvas.calls[3].area, (platform::Rect{1, 1, 98, 78})) << "just inside the frame";
            EXPECT_EQ(canvas.calls[3].colour, (platform::Colour{160, 160, 160}));
        }
    }
}

TEST_F(PictureStaticTest, TextsAreTranslatedUnderThePanelsName) {
    ScriptedHost german;
    german.width = 100;
    german.height = 80;
    german.translations = {{"No Image Data", "Keine Bilddaten"}, {"Picture, %1 x %2", "Bild, %1 x %2"}};
    CPictureStatic translated;
    translated.Attach(&german);
    EXPECT_EQ(german.accessibleName, "Keine Bilddaten");
    RecordingCanvas canvas;
    translated.Paint(canvas);
    EXPECT_EQ(canvas.Of(Drawn::Text).at(0).text, "Keine Bilddaten");
    const auto file = BmpFile(8, 6, 1, 2, 3);
    ASSERT_TRUE(translated.SetPictureData("p.bmp", file.data(), static_cast<std::int32_t>(file.size())));
    EXPECT_EQ(german.accessibleName, "Bild, 8 x 6");
    for (const std::string& context : german.contexts) EXPECT_EQ(context, "CPictureStatic");
}

TEST_F(PictureStaticTest, KeepsAndDrawsThePictureAtItsShownSizeInTheScreensPixels) {
    struct Case {
        int width, height;  // the picture's
        double scale;
        platform::Rect target;  // logical pixels
        int keptWidth, keptHeight;
    };
    const Case kCases[] = {
        {8, 6, 1, {45, 36, 8, 6}, 8, 6},    // small: its own size, centred in the inner area
        {8, 6, 2, {45, 36, 8, 6}, 16, 12},  // and twice the pixels at 200 %
        {8, 6, 1.5, {45, 36, 8, 6}, 12, 9},
        {196, 78, 1, {1, 20, 98, 39}, 98, 39},   // large: shrunk to the inner width
        {50, 312, 2, {44, 1, 12, 78}, 24, 156},  // tall: shrunk to the inner height
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.scale));
        host.scale = c.scale;
        const auto file = BmpFile(c.width, c.height, 200, 100, 50);
        const auto shown = panel.SetPictureData("picture.bmp", file.data(), static_cast<std::int32_t>(file.size()));
        ASSERT_TRUE(shown);
        const std::pair<int, int> size = shown.Value();
        EXPECT_EQ(size, std::make_pair(c.width, c.height));
        EXPECT_EQ(panel.PictureSize(), size);
        EXPECT_EQ(panel.GetPictureFile(), "picture.bmp");
        EXPECT_EQ(panel.LastErrorCode(), 0);
        EXPECT_EQ(host.accessibleName, "Picture, " + std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(panel.ShownBitmap().GetWidth(), c.keptWidth);
        EXPECT_EQ(panel.ShownBitmap().GetHeight(), c.keptHeight);
        RecordingCanvas canvas;
        panel.Paint(canvas);
        const auto pictures = canvas.Of(Drawn::ScreenBitmap);
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].area, c.target);
        EXPECT_EQ(pictures[0].bitmapWidth, c.keptWidth);
        EXPECT_EQ(pictures[0].bitmapHeight, c.keptHeight);
        EXPECT_TRUE(canvas.Of(Drawn::Text).empty());
        // A uniform picture stays uniform whatever the resizing did.
        const auto* line = reinterpret_cast<const std::uint32_t*>(panel.ShownBitmap().GetLineTable()[0]);
        EXPECT_EQ(line[0] & 0xFFFFFF, 0xC86432u);
    }
}

TEST_F(PictureStaticTest, PanelResizedAfterTheDecodeRescalesWhatItKeeps) {
    ASSERT_TRUE(Show(BmpFile(196, 78, 9, 9, 9)));
    EXPECT_EQ(panel.ShownBitmap().GetWidth(), 98);
    host.width = 51;
    RecordingCanvas canvas;
    panel.Paint(canvas);
    const auto pictures = canvas.Of(Drawn::ScreenBitmap);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].area, (platform::Rect{1, 30, 49, 19}));
    EXPECT_EQ(pictures[0].bitmapWidth, 49);
    EXPECT_EQ(pictures[0].bitmapHeight, 19);
}

TEST_F(PictureStaticTest, FailedDecodeReportsAndKeepsWhatWasShown) {
    ASSERT_TRUE(Show(BmpFile(8, 6, 1, 2, 3)));
    panel.SetNameFormat("Card picture, %1 x %2");
    EXPECT_EQ(host.accessibleName, "Card picture, 8 x 6");
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> truncated = BmpFile(8, 6, 1, 2, 3);
    truncated.resize(30);
    const Case kCases[] = {{"not a picture", {'h', 'e', 'l', 'l', 'o', 0, 1, 2, 3, 4, 5, 6}},
                           {"cut in its header", truncated},
                           {"nothing", {}}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto shown =
            panel.SetPictureData("broken.bmp", c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()));
        ASSERT_FALSE(shown) << "no size for a picture not shown";
        EXPECT_FALSE(shown.Error().text.empty());
        EXPECT_NE(panel.LastErrorCode(), 0);
        EXPECT_EQ(shown.Error().code, panel.LastErrorCode());
        EXPECT_EQ(panel.GetPictureFile(), "picture.bmp");
        EXPECT_EQ(panel.PictureSize(), std::make_pair(8, 6));
        EXPECT_EQ(panel.ShownBitmap().GetWidth(), 8);
        EXPECT_EQ(host.accessibleName, "Card picture, 8 x 6");
    }
    ASSERT_TRUE(Show(BmpFile(8, 6, 1, 2, 3)));
    EXPECT_EQ(panel.LastErrorCode(), 0) << "cleared by the next decode that succeeds";
}

TEST_F(PictureStaticTest, EmptyNameShowsNoPictureAgain) {
    ASSERT_TRUE(Show(BmpFile(8, 6, 1, 2, 3)));
    const int redraws = host.redraws;
    EXPECT_TRUE(panel.SetPictureFile(std::string()));
    EXPECT_GT(host.redraws, redraws);
    EXPECT_EQ(host.accessibleName, "No Image Data");
    EXPECT_TRUE(panel.GetPictureFile().empty());
    RecordingCanvas canvas;
    panel.Paint(canvas);
    EXPECT_TRUE(canvas.Of(Drawn::ScreenBitmap).empty());
    EXPECT_EQ(canvas.Of(Drawn::Text).size(), 1u);
}

TEST_F(PictureStaticTest, FocusRingOverThePictureAndARedrawOnEachChange) {
    ASSERT_TRUE(Show(BmpFile(8, 6, 1, 2, 3)));
    const int redraws = host.redraws;
    host.focus = true;
    panel.FocusChanged(true);
    EXPECT_EQ(host.redraws, redraws + 1);
    RecordingCanvas canvas;
    panel.Paint(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls.back().kind, Drawn::Frame);
    EXPECT_TRUE(canvas.calls.back().dotted);
}

}  // namespace
}  // namespace ovlet::controls
