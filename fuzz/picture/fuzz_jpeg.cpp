// Fuzz target: the JPEG decoder alone, one decompressor reused across inputs.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ovlet::picture::CJPEGDecoder decoder;
    ovlet::picture::fuzz::DecodeAllDepths(decoder, data, size);
    return 0;
}
