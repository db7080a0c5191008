// Fuzz target: CAnyPicDecoder over bytes in memory (detection and every decoder).
#include "fuzz/picture/fuzz_decode.h"
#include "picture/any_pic_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ovlet::picture::CAnyPicDecoder decoder;
    ovlet::picture::fuzz::DecodeAllDepths(decoder, data, size);
    return 0;
}
