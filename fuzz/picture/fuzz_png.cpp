// Fuzz target: the PNG decoder alone.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/png_decoder.h"

using ovlet::picture::CPNGDecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CPNGDecoder decoder;
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
