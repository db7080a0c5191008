// GDI drawing on Windows: the face of the text, shared by the GDI canvas and
// the PDF's embedded font, and a canvas over a device of another's.
#pragma once

#include <windows.h>

#include <memory>

#include "card/card_record.h"
#include "exchange/drawing/canvas.h"
#include "exchange/drawing/sheet_layout.h"

namespace ovlet::exchange::drawing {

// The sans-serif every Windows has (Arial), or the one metrically the same
// where it is missing (Liberation Sans, as under Wine).
const wchar_t* SansFaceName(HDC dc);

// A canvas over a device context that is not its own (a printer's page), in
// the device's logical units; the device's settings come back when it goes.
std::unique_ptr<Canvas> MakeDeviceCanvas(HDC dc);

// The sheet of `sheet`'s kind with `card` on it, on a device drawn on in
// dotsPerMm from the paper's top left.
void DrawCardSheetOn(HDC dc, double dotsPerMm, const card::CardRecord& card, Sheet sheet);

}  // namespace ovlet::exchange::drawing
