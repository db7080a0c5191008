#include "picture/decode_outcome.h"

#include <new>

#include "picture/any_pic_decoder.h"
#include "picture/win_bmp.h"

namespace ovlet::picture {

Result<void> DecodePicture(const char* name, const std::uint8_t* data, std::int32_t size, CWinBmp& bitmap, int depth) {
    try {
        return Decoding([&] { CAnyPicDecoder().DecodeMemory(name, data, size, &bitmap, depth); });
    } catch (const std::bad_alloc&) {
        return DecodeError{DecodeError::Kind::OutOfMemory, 0, {}};
    }
}

}  // namespace ovlet::picture
