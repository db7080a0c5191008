#include "exchange/drawing/canvas_pdf.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

#include "files/utf8.h"

namespace ovlet::exchange::drawing {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;
// A ToUnicode map's bfchar sections hold at most 100 entries (ISO 32000-1,
// 9.10.3, after the CMap format's own limit).
constexpr std::size_t kBfcharLimit = 100;

// A number as a PDF writes it: at most four decimals, never an exponent or
// the locale's decimal comma.
std::string Num(double value) {
    if (!std::isfinite(value)) return "0";
    const double scaled = std::round(value * 10000);
    if (std::abs(scaled) >= 9e15) return "0";
    auto whole = static_cast<long long>(scaled);
    std::string text;
    if (whole < 0) {
        text = "-";
        whole = -whole;
    }
    text += std::to_string(whole / 10000);
    if (long long fraction = whole % 10000; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text == "-0" ? "0" : text;
}

std::string Rgb(Colour colour) {
    return Num(colour.red / 255.0) + " " + Num(colour.green / 255.0) + " " + Num(colour.blue / 255.0);
}

std::string Hex4(std::uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value & 0xFFFF));
    return text;
}

// A character as UTF-16 in hex, as a ToUnicode map gives it.
std::string Utf16Hex(char32_t c) {
    if (c < 0x10000) return Hex4(c);
    const std::uint32_t v = c - 0x10000;
    return Hex4(0xD800 + (v >> 10)) + Hex4(0xDC00 + (v & 0x3FF));
}

// A PDF text string: UTF-16 with its byte-order mark, in hex.
std::string TextString(const std::string& utf8) {
    std::string out = "<FEFF";
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < utf8.size()) {
        files::NextUtf8(utf8, pos, c);
        out += Utf16Hex(c);
    }
    return out + ">";
}

std::string Deflate(const std::uint8_t* data, std::size_t size) {
    // zlib counts in uLong, 32 bits on Windows; a page's data stays far below.
    if (size > 0x7FFFFFFF) return {};
    uLongf length = compressBound(static_cast<uLong>(size));
    std::string out(length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &length, data, static_cast<uLong>(size), 6) != Z_OK) return {};
    out.resize(length);
    return out;
}

std::string Deflate(const std::string& text) {
    return Deflate(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The objects of the document, numbered from 1, written in order.
class Document {
public:
    int Reserve() {
        objects.emplace_back();
        return static_cast<int>(objects.size());
    }
    void Set(int number, std::string body) { objects[static_cast<std::size_t>(number - 1)] = std::move(body); }
    int Add(std::string body) {
        const int number = Reserve();
        Set(number, std::move(body));
        return number;
    }
    int AddStream(const std::string& dictionary, const std::string& data) {
        return Add("<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
                   "\nendstream");
    }
    std::vector<char> Write(int catalog, int info) const {
        // The binary comment tells transfer programs that the file is not text.
        std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
        std::vector<std::size_t> offsets;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            offsets.push_back(out.size());
            out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
        }
        const std::size_t xref = out.size();
        out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
        for (std::size_t offset : offsets) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
            out += entry;
        }
        out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root " + Ref(catalog) + " /Info " +
               Ref(info) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return {out.begin(), out.end()};
    }
    static std::string Ref(int number) { return std::to_string(number) + " 0 R"; }

private:
    std::vector<std::string> objects;
};

// Six capital letters that name a subset, from the glyphs it holds (ISO
// 32000-1, 9.6.4: a subset's name begins with a tag and '+').
std::string SubsetTag(const std::map<std::uint16_t, char32_t>& drawn, int weight) {
    std::uint32_t hash = 2166136261u + static_cast<std::uint32_t>(weight);
    for (const auto& [glyph, c] : drawn) hash = (hash ^ glyph) * 16777619u;
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag;
}

std::string ToUnicodeMap(const std::map<std::uint16_t, char32_t>& drawn) {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::pair<std::uint16_t, char32_t>> entries(drawn.begin(), drawn.end());
    for (std::size_t first = 0; first < entries.size(); first += kBfcharLimit) {
        const std::size_t count = std::min(kBfcharLimit, entries.size() - first);
        map += std::to_string(count) + " beginbfchar\n";
        for (std::size_t i = first; i < first + count; ++i) {
            map += "<" + Hex4(entries[i].first) + "> <" + Utf16Hex(entries[i].second) + ">\n";
        }
        map += "endbfchar\n";
    }
    return map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace

PdfCanvas::PdfCanvas(double widthMm, double heightMm, double dots, TrueTypeFont regular, TrueTypeFont bold)
    // Whole points, as PDF pages are usually sized (A4 is 595 x 842) and
    // Qt's writer sizes them: readers name the paper by them.
    : pageWidthPt(std::round(widthMm / kMmPerInch * kPointsPerInch)),
      pageHeightPt(std::round(heightMm / kMmPerInch * kPointsPerInch)),
      dotsPerInch(dots),
      faces{{std::move(regular), {}, {}}, {std::move(bold), {}, {}}} {
    // The page in dots from its top left, y downwards, as the drawing measures.
    const double scale = kPointsPerInch / dotsPerInch;
    content = Num(scale) + " 0 0 " + Num(-scale) + " 0 " + Num(pageHeightPt) + " cm\n";
}

PdfCanvas::~PdfCanvas() = default;

Result<std::unique_ptr<PdfCanvas>> PdfCanvas::Make(double widthMm, double heightMm, double dotsPerInch,
                                                   const PdfFonts& fonts) {
    using Kind = DrawingError::Kind;
    if (!(widthMm > 0) || !(heightMm > 0) || !(dotsPerInch > 0)) {
        return DrawingError{Kind::PdfNotMade, "the page has no size"};
    }
    Result<TrueTypeFont> regular = TrueTypeFont::Read(fonts.regular);
    if (!regular) return DrawingError{Kind::FontUnusable, "the text's font cannot be used: " + regular.Error().text};
    Result<TrueTypeFont> bold = TrueTypeFont::Read(fonts.bold);
    if (!bold) return DrawingError{Kind::FontUnusable, "the text's bold font cannot be used: " + bold.Error().text};
    if (!regular.Value().MayEmbed() || !bold.Value().MayEmbed()) {
        return DrawingError{Kind::FontUnusable,
                            "the text's font may not be embedded in a document (its licence says so)"};
    }
    return std::unique_ptr<PdfCanvas>(
        new PdfCanvas(widthMm, heightMm, dotsPerInch, std::move(regular).Value(), std::move(bold).Value()));
}

void PdfCanvas::Fill(const Area& area, Colour colour) {
    content += Rgb(colour) + " rg " + Num(area.left) + " " + Num(area.top) + " " + Num(area.width) + " " +
               Num(area.height) + " re f\n";
}

void PdfCanvas::DrawImage(const Area& area, ImageView image) {
    if (image.Empty()) return;
    auto stored = std::find_if(pictures.begin(), pictures.end(), [&](const Picture& p) {
        return p.pixels == image.pixels && p.width == image.width && p.height == image.height;
    });
    if (stored == pictures.end()) {
        const auto count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
        std::vector<std::uint8_t> rgb;
        rgb.reserve(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t pixel = image.pixels[i];
            rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
            rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
            rgb.push_back(static_cast<std::uint8_t>(pixel));
        }
        std::string deflated = Deflate(rgb.data(), rgb.size());
        if (deflated.empty()) return;
        pictures.push_back({image.pixels, image.width, image.height, std::move(deflated)});
        stored = pictures.end() - 1;
    }
    // The picture's unit square, its first row at the top of the area.
    content += "q " + Num(area.width) + " 0 0 " + Num(-area.height) + " " + Num(area.left) + " " + Num(area.Bottom()) +
               " cm /Im" + std::to_string(stored - pictures.begin() + 1) + " Do Q\n";
}

void PdfCanvas::ClipTo(const Area& area) {
    Unclip();
    content +=
        "q " + Num(area.left) + " " + Num(area.top) + " " + Num(area.width) + " " + Num(area.height) + " re W n\n";
    clipped = true;
}

void PdfCanvas::Unclip() {
    if (clipped) content += "Q\n";
    clipped = false;
}

void PdfCanvas::DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) {
    // Square ends, as the toolkit's pen draws them on Linux.
    content += "q " + Num(width) + " w 2 J " + Rgb(colour) + " RG " + Num(x1) + " " + Num(y1) + " m " + Num(x2) + " " +
               Num(y2) + " l S Q\n";
}

void PdfCanvas::SetFont(double pixels, bool bold) {
    // Whole dots, as the other canvases size their fonts.
    em = std::max(1.0, std::round(pixels));
    face = bold ? 1 : 0;
}

std::uint16_t PdfCanvas::GlyphOf(Face& of, char32_t c) {
    if (const auto found = of.glyphs.find(c); found != of.glyphs.end()) return found->second;
    const std::uint16_t glyph = of.font.GlyphOf(c);
    of.glyphs.emplace(c, glyph);
    return glyph;
}

double PdfCanvas::Advance(const std::string& text) {
    Face& current = faces[face];
    double units = 0;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        files::NextUtf8(text, pos, c);
        units += current.font.AdvanceOf(GlyphOf(current, c));
    }
    return units * em / current.font.UnitsPerEm();
}

double PdfCanvas::Ascent() {
    const TrueTypeFont& font = faces[face].font;
    return static_cast<double>(font.Ascender()) * em / font.UnitsPerEm();
}

double PdfCanvas::LineHeight() {
    const TrueTypeFont& font = faces[face].font;
    return static_cast<double>(font.Ascender() - font.Descender()) * em / font.UnitsPerEm();
}

void PdfCanvas::DrawText(double left, double baseline, const std::string& text, Colour colour) {
    Face& current = faces[face];
    std::string glyphs;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        files::NextUtf8(text, pos, c);
        const std::uint16_t glyph = GlyphOf(current, c);
        // A glyph shared by several characters copies as the first drawn,
        // except that a space always copies as a space.
        if (const auto [at, added] = current.drawn.emplace(glyph, c); !added && c == U' ') at->second = c;
        glyphs += Hex4(glyph);
    }
    if (glyphs.empty()) return;
    // The text matrix turns the glyphs upright again in the page's y-down dots.
    content += "BT /F" + std::to_string(face + 1) + " " + Num(em) + " Tf " + Rgb(colour) + " rg 1 0 0 -1 " + Num(left) +
               " " + Num(baseline) + " Tm <" + glyphs + "> Tj ET\n";
}

std::vector<char> PdfCanvas::Finish(const PdfDocumentInfo& info) {
    Unclip();
    Document document;
    const int catalog = document.Reserve();
    const int pages = document.Reserve();
    const int page = document.Reserve();

    std::string fontResources;
    for (int weight = 0; weight < 2; ++weight) {
        const Face& f = faces[weight];
        if (f.drawn.empty()) continue;
        const TrueTypeFont& font = f.font;
        const double perUnit = 1000.0 / font.UnitsPerEm();
        std::set<std::uint16_t> glyphs;
        std::string widths;
        for (const auto& [glyph, c] : f.drawn) {
            glyphs.insert(glyph);
            widths += std::to_string(glyph) + " [" + Num(font.AdvanceOf(glyph) * perUnit) + "] ";
        }
        std::string name = font.PostScriptName();
        if (name.empty()) name = weight == 1 ? "Sans-Bold" : "Sans";
        name = SubsetTag(f.drawn, weight) + "+" + name;
        const std::vector<std::uint8_t> subset = font.Subset(glyphs);
        const int file = document.AddStream("/Filter /FlateDecode /Length1 " + std::to_string(subset.size()),
                                            Deflate(subset.data(), subset.size()));
        const int* box = font.BoundingBox();
        const int descriptor = document.Add(
            "<< /Type /FontDescriptor /FontName /" + name + " /Flags 32 /FontBBox [" + Num(box[0] * perUnit) + " " +
            Num(box[1] * perUnit) + " " + Num(box[2] * perUnit) + " " + Num(box[3] * perUnit) + "] /ItalicAngle " +
            Num(font.ItalicAngle()) + " /Ascent " + Num(font.Ascender() * perUnit) + " /Descent " +
            Num(font.Descender() * perUnit) + " /CapHeight " + Num(font.CapHeight() * perUnit) + " /StemV " +
            (weight == 1 ? "120" : "80") + " /FontFile2 " + Document::Ref(file) + " >>");
        const int cidFont =
            document.Add("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                         " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
                         Document::Ref(descriptor) + " /DW 1000 /W [" + widths + "] /CIDToGIDMap /Identity >>");
        const int toUnicode = document.AddStream("/Filter /FlateDecode", Deflate(ToUnicodeMap(f.drawn)));
        const int type0 = document.Add("<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                       " /Encoding /Identity-H /DescendantFonts [" + Document::Ref(cidFont) +
                                       "] /ToUnicode " + Document::Ref(toUnicode) + " >>");
        fontResources += "/F" + std::to_string(weight + 1) + " " + Document::Ref(type0) + " ";
    }
    std::string imageResources;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        const int image = document.AddStream("/Type /XObject /Subtype /Image /Width " + std::to_string(p.width) +
                                                 " /Height " + std::to_string(p.height) +
                                                 " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate true "
                                                 "/Filter /FlateDecode",
                                             p.deflated);
        imageResources += "/Im" + std::to_string(i + 1) + " " + Document::Ref(image) + " ";
    }
    const int contents = document.AddStream("/Filter /FlateDecode", Deflate(content));

    // Boxes in points, y upwards from the page's bottom.
    const auto box = [&](const Area& mm) {
        const double k = kPointsPerInch / kMmPerInch;
        return "[" + Num(mm.left * k) + " " + Num(pageHeightPt - mm.Bottom() * k) + " " + Num(mm.Right() * k) + " " +
               Num(pageHeightPt - mm.top * k) + "]";
    };
    std::string boxes;
    if (info.trimMm.width > 0) boxes += " /TrimBox " + box(info.trimMm);
    if (info.bleedMm.width > 0) boxes += " /BleedBox " + box(info.bleedMm);
    document.Set(catalog, "<< /Type /Catalog /Pages " + Document::Ref(pages) + " >>");
    document.Set(pages, "<< /Type /Pages /Kids [" + Document::Ref(page) + "] /Count 1 >>");
    document.Set(page, "<< /Type /Page /Parent " + Document::Ref(pages) + " /MediaBox [0 0 " + Num(pageWidthPt) + " " +
                           Num(pageHeightPt) + "]" + boxes + " /Resources << /ProcSet [/PDF /Text /ImageC]" +
                           (fontResources.empty() ? "" : " /Font << " + fontResources + ">>") +
                           (imageResources.empty() ? "" : " /XObject << " + imageResources + ">>") + " >> /Contents " +
                           Document::Ref(contents) + " >>");
    const int infoObject = document.Add("<< /Title " + TextString(info.title) + " /Creator " +
                                        TextString(info.creator) + " /Producer " + TextString(info.creator) + " >>");
    return document.Write(catalog, infoObject);
}

}  // namespace ovlet::exchange::drawing
