// Fuzz target: the BMP decoder alone.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/bmp_decoder.h"

using ovlet::picture::CBmpDecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CBmpDecoder decoder;
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
