// Fuzz target: the PICT decoder alone, with a JPEG decoder for embedded data.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/jpeg_decoder.h"
#include "picture/pict_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ovlet::picture::CJPEGDecoder jpegDecoder;
    static ovlet::picture::CPictDecoder decoder(&jpegDecoder);
    ovlet::picture::fuzz::DecodeAllDepths(decoder, data, size);
    return 0;
}
