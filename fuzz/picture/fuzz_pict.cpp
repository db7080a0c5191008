// Fuzz target: the PICT decoder alone, with a JPEG decoder for embedded data.
#include "fuzz/picture/fuzz_decode.h"
#include "picture/jpeg_decoder.h"
#include "picture/pict_decoder.h"

using ovlet::picture::CJPEGDecoder;
using ovlet::picture::CPictDecoder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CJPEGDecoder jpegDecoder;
    static CPictDecoder decoder(&jpegDecoder);
    fuzz_picture::DecodeAllDepths(decoder, data, size);
    return 0;
}
