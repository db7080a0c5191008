// Fuzz target: the JPEG decoder alone, one decompressor reused across inputs.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/jpeg_decoder.h"

using ovlet::picture::CJPEGDecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CJPEGDecoder decoder;
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
