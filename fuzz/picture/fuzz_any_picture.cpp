// Fuzz target: CAnyPicDecoder over bytes in memory (detection and every decoder).
#include "fuzz/picture/fuzz_decode.h"
#include "picture/any_pic_decoder.h"

using ovlet::picture::CAnyPicDecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CAnyPicDecoder decoder;
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
