// A canvas that writes a one-page PDF itself, in plain C++: boxes, pictures
// (Flate-compressed RGB), clipping, lines, and text as real text in an
// embedded TrueType font (Identity-H with widths and a ToUnicode map, so
// that extractors copy what was drawn, spaces and accents included). The
// fonts' files come from the caller: each system knows where its own are.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "exchange/drawing/canvas.h"
#include "exchange/drawing/drawing_error.h"
#include "exchange/drawing/truetype_font.h"

namespace ovlet::exchange::drawing {

// The TrueType files of the text's two weights (the same file twice where
// the system has no bold face).
struct PdfFonts {
    std::vector<std::uint8_t> regular;
    std::vector<std::uint8_t> bold;
};

// What the document says besides its page.
struct PdfDocumentInfo {
    std::string title;  // UTF-8
    std::string creator = "ovlet";
    // The page's TrimBox and BleedBox, in millimetres from its top left;
    // none when their width is 0.
    Area trimMm;
    Area bleedMm;
};

class PdfCanvas : public Canvas {
public:
    // A page widthMm x heightMm (rounded to whole points) drawn in dots of 1/dotsPerInch inch from its
    // top left corner. PdfNotMade for a page of no size, FontUnusable when a
    // font cannot be used.
    static Result<std::unique_ptr<PdfCanvas>> Make(double widthMm, double heightMm, double dotsPerInch,
                                                   const PdfFonts& fonts);
    ~PdfCanvas() override;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    void Fill(const Area& area, Colour colour) override;
    void DrawImage(const Area& area, ImageView image) override;
    void ClipTo(const Area& area) override;
    void Unclip() override;
    void DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) override;
    void SetFont(double pixels, bool bold) override;
    double Advance(const std::string& text) override;
    double Ascent() override;
    double LineHeight() override;
    void DrawText(double left, double baseline, const std::string& text, Colour colour) override;

    // The whole document. The fonts are embedded as subsets of the glyphs
    // drawn.
    std::vector<char> Finish(const PdfDocumentInfo& info);

private:
    struct Face {
        TrueTypeFont font;
        std::unordered_map<char32_t, std::uint16_t> glyphs;  // looked up so far
        std::map<std::uint16_t, char32_t> drawn;             // glyph -> the character it shows
    };
    struct Picture {
        const std::uint32_t* pixels;  // what it was drawn from: the same picture is stored once
        int width;
        int height;
        std::string deflated;  // 8-bit RGB rows
    };
    PdfCanvas(double widthMm, double heightMm, double dotsPerInch, TrueTypeFont regular, TrueTypeFont bold);
    std::uint16_t GlyphOf(Face& face, char32_t c);

    double pageWidthPt;
    double pageHeightPt;
    double dotsPerInch;
    std::string content;
    bool clipped = false;
    Face faces[2];
    int face = 0;
    double em = 12;
    std::vector<Picture> pictures;
};

}  // namespace ovlet::exchange::drawing
