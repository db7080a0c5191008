// Fuzz target: the TGA decoder alone.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/tga_decoder.h"

using ovlet::picture::CTGADecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CTGADecoder decoder;
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
