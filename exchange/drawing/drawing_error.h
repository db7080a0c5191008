// How the drawings of a card report a failure: what went wrong and the words
// a user reads, in the programs' one Result (files/result.h).
#pragma once

#include <string>

#include "files/result.h"

namespace ovlet::exchange::drawing {

struct DrawingError {
    enum class Kind {
        FontUnusable,   // a font the PDF cannot embed, or none from the system
        PdfUnexpected,  // a PDF not shaped as the mends expect
        PdfNotMade      // a layout that does not fit, or a PDF that cannot be started
    };
    Kind kind = Kind::PdfNotMade;
    // A sentence fragment ready to print after a command's name: "the text's
    // bold font cannot be used: the font file is cut short".
    std::string text;

    const std::string& Describe() const { return text; }
};

// A value, or the DrawingError that kept it from being made.
template <class T>
using Result = ovlet::Result<T, DrawingError>;

}  // namespace ovlet::exchange::drawing
