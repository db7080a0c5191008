#include "picture/decode_outcome.h"

#include <new>

#include "picture/any_pic_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet::picture {

DecodeOutcome DecodePicture(const char* name, const std::uint8_t* data, std::int32_t size, CWinBmp& bitmap,
                            int depth) {
    DecodeOutcome outcome;
    try {
        CAnyPicDecoder().DecodeMemory(name, data, size, &bitmap, depth);
        outcome.decoded = true;
    } catch (const CTextException& e) {
        outcome.why = MessageLine(e.GetText());
    } catch (const std::bad_alloc&) {
        outcome.outOfMemory = true;
    }
    return outcome;
}

}  // namespace ovlet::picture
