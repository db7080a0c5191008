// Fuzz target: the BMP decoder alone.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ovlet::picture::CBmpDecoder decoder;
    ovlet::picture::fuzz::DecodeAllDepths(decoder, data, size);
    return 0;
}
