// The face of the text on Windows, shared by the GDI canvas and the PDF's
// embedded font.
#pragma once

#include <windows.h>

namespace ovlet::exchange::drawing {

// The sans-serif every Windows has (Arial), or the one metrically the same
// where it is missing (Liberation Sans, as under Wine).
const wchar_t* SansFaceName(HDC dc);

}  // namespace ovlet::exchange::drawing
