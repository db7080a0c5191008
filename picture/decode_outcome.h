// Whether a picture decodes, for the callers that only need the pixels or a
// one-line reason why there are none: the library's failures and running out
// of memory become data instead of exceptions.
#pragma once

#include <cstdint>
#include <string>

namespace ovlet::picture {

class CWinBmp;

struct DecodeOutcome {
    bool decoded = false;
    bool outOfMemory = false;  // std::bad_alloc: each caller words this its own way
    std::string why;           // the library's message as one line; empty unless it failed
};

// Decodes `size` bytes called `name` into `bitmap` at `depth` (0, 8 or 32)
// with the decoder of whatever format they are.
DecodeOutcome DecodePicture(const char* name, const std::uint8_t* data, std::int32_t size, CWinBmp& bitmap,
                            int depth);

}  // namespace ovlet::picture
