// Fuzz target: JPEG data embedded in a picture. The input becomes the body of
// a QuickTime block (opcode 0x8200) of a version 2 picture, so the scan for
// the JPEG start and the hand-over to the JPEG decoder see every input; the
// JPEG files of the corpus make good seeds.
#include <vector>

#include "fuzz/picture/fuzz_decode.h"
#include "picture/jpeg_decoder.h"
#include "picture/pict_decoder.h"
#include "tests/support/byte_writer.h"

namespace ovlet::picture {
namespace {

std::vector<std::uint8_t> WrapInPicture(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> picture(512, 0);
    auto put16 = [&](unsigned v) { test_support::PutU16Be(picture, v); };
    put16(0);                                  // picture size
    put16(0), put16(0), put16(16), put16(16);  // frame
    put16(0x0011), put16(0x02FF);              // version 2
    put16(0x0C00);                             // header opcode and its 24 bytes
    picture.insert(picture.end(), 24, 0);
    put16(0x8200);
    auto length = static_cast<std::uint32_t>(size);
    put16(length >> 16), put16(length & 0xFFFF);
    picture.insert(picture.end(), data, data + size);
    return picture;
}

}  // namespace
}  // namespace ovlet::picture

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ovlet::picture::CJPEGDecoder jpegDecoder;
    static ovlet::picture::CPictDecoder decoder(&jpegDecoder);
    if (size > (1u << 24)) {
        return 0;
    }
    std::vector<std::uint8_t> picture = ovlet::picture::WrapInPicture(data, size);
    ovlet::picture::fuzz::DecodeAllDepths(decoder, picture.data(), picture.size());
    return 0;
}
