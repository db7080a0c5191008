// The boundary between the picture library and its callers: the decoders
// raise CTextException (libjpeg's and libpng's failures become one at their
// wrappers), and a caller gets a Result (files/result.h) instead, the
// library's code and text as data.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "files/result.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

class CWinBmp;

struct DecodeError {
    enum class Kind {
        Undecodable,  // the library refused the picture: its code and text
        OutOfMemory,  // std::bad_alloc while decoding: each caller words this its own way
    };
    Kind kind = Kind::Undecodable;
    int code = 0;      // the library's code (DECERR_...); 0 when memory ran out
    std::string text;  // the library's message as it gave it; "" when memory ran out

    // The message as one line, ready to print.
    std::string Describe() const { return MessageLine(text.c_str()); }
};

// A value, or the DecodeError that kept it from being made.
template <class T>
using Result = ovlet::Result<T, DecodeError>;

// Runs `decode`, one call into the library, and gives what it returns or the
// library's error. Running out of memory is left to the caller (DecodePicture
// turns it into OutOfMemory; the tool ends with its own message).
template <class Decode>
Result<std::invoke_result_t<Decode&>> Decoding(Decode&& decode) {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Decode&>>) {
            decode();
            return {};
        } else {
            return decode();
        }
    } catch (const CTextException& e) {
        return DecodeError{DecodeError::Kind::Undecodable, e.GetCode(), e.GetText()};
    }
}

// Decodes `size` bytes called `name` into `bitmap` at `depth` (0, 8 or 32)
// with the decoder of whatever format they are; running out of memory is
// OutOfMemory.
Result<void> DecodePicture(const char* name, const std::uint8_t* data, std::int32_t size, CWinBmp& bitmap, int depth);

}  // namespace ovlet::picture
