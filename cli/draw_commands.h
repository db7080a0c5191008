// The commands that draw a card. They need the GUI libraries, so they live in
// a program of their own (installed beside the tool's other files, not on the
// PATH) that `ovlet` starts for them: every other command runs without
// loading those libraries.
#pragma once

#include "resources/catalogue/catalogue.h"

namespace ovlet::cli {

struct DrawCommand {
    const char* name;
    const char* description;
};

// The drawing commands `ovlet` hands over; the drawing program declares each.
inline constexpr DrawCommand kDrawCommands[] = {
    {"render", catalogue::TranslateLater("ovlet", "A picture of the card drawn as a business card (PNG)")},
    {"print", catalogue::TranslateLater("ovlet", "Print-ready cards as a PDF: ten to a sheet, or one with bleed")},
    {"thumbnail", catalogue::TranslateLater("ovlet", "A small picture of the card for file managers (PNG)")},
};

// The drawing program's file name.
inline constexpr const char* kDrawProgramName = "ovlet-draw";

}  // namespace ovlet::cli
