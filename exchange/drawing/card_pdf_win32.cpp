// Printed sheets on Windows: our own PDF canvas, with the text in the font
// GDI draws it in on the screen, its file as GDI gives it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "exchange/drawing/card_pdf.h"
#include "exchange/drawing/gdi_face.h"

namespace ovlet::exchange::drawing {
namespace {

// GetFontData's size limit: it counts in DWORD, and no sans-serif face comes near.
constexpr DWORD kMaxFontBytes = 64u << 20;

// The whole TrueType file of the face in its weight; empty when GDI gives none.
std::vector<std::uint8_t> FontFile(HDC dc, bool bold) {
    HFONT font =
        CreateFontW(-100, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, SansFaceName(dc));
    if (!font) return {};
    HGDIOBJ before = SelectObject(dc, font);
    std::vector<std::uint8_t> bytes;
    const DWORD size = GetFontData(dc, 0, 0, nullptr, 0);
    if (size != GDI_ERROR && size > 0 && size <= kMaxFontBytes) {
        bytes.resize(size);
        if (GetFontData(dc, 0, 0, bytes.data(), size) != size) bytes.clear();
    }
    SelectObject(dc, before);
    DeleteObject(font);
    return bytes;
}

}  // namespace

Result<std::vector<char>> WriteCardPdf(const card::CardRecord& card, const SheetLayout& layout, std::string& warning) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return DrawingError{DrawingError::Kind::PdfNotMade, "the system gives no drawing surface for the fonts"};
    PdfFonts fonts{FontFile(dc, false), FontFile(dc, true)};
    DeleteDC(dc);
    if (fonts.regular.empty()) {
        return DrawingError{DrawingError::Kind::FontUnusable, "the system gives no file of its sans-serif font"};
    }
    // Without a bold face the bold lines are in the regular one.
    if (fonts.bold.empty()) fonts.bold = fonts.regular;
    return WriteCardPdfWithFonts(card, layout, fonts, warning);
}

}  // namespace ovlet::exchange::drawing
