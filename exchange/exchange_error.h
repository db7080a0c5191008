// How exchange/ reports a failure: what went wrong and the words a user
// reads, in the programs' one Result (files/result.h).
#pragma once

#include <string>

#include "files/result.h"

namespace ovlet::exchange {

struct ExchangeError {
    enum class Kind {
        QrTooLong,       // the text does not fit in a QR code
        QrPictureSize,   // no code to draw, or a picture too small or too large for it
        PngRefused,      // libpng refused the picture, or memory ran out
        Base64Damaged,   // base64 data that does not decode
        PictureUnusable  // a picture with no pixels to convert
    };
    Kind kind = Kind::PngRefused;
    // A sentence fragment ready to print after a command's name or in a
    // warning: "the text (3000 bytes) does not fit in a QR code of version 25 or smaller".
    std::string text;

    const std::string& Describe() const { return text; }
};

// A value, or the ExchangeError that kept it from being made.
template <class T>
using Result = ovlet::Result<T, ExchangeError>;

}  // namespace ovlet::exchange
