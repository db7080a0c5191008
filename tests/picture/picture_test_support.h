// Helpers of the picture tests: pictures made in memory with known pixels
// (tests/support), decoding from memory, and the corpus manifest.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/pic_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"
#include "tests/support/picture_encoders.h"
#include "tests/support/test_files.h"
#include "tests/support/test_names.h"

namespace ovlet::picture {

using Bytes = std::vector<std::uint8_t>;

// Decodes bytes from memory through the decoder.
void DecodeBytes(CPicDecoder& decoder, const Bytes& bytes, CWinBmp& bitmap, int depth);

// Runs f and returns the code and text of the CTextException it throws, or
// code 0 when it returns normally.
struct Failure {
    int code = 0;
    std::string text;
};
template <typename F>
Failure CatchFailure(F&& f) {
    try {
        f();
    } catch (const CTextException& error) {
        return {error.GetCode(), error.GetText()};
    }
    return {};
}

// A picture a decoder must refuse: the code, and the text where the case
// pins it (null: any text).
struct Refusal {
    const char* name;
    Bytes data;
    int code;
    const char* text;
};
// Decodes the refusal's data into `bitmap` at 32 bits, expecting the
// refusal's code and text.
void ExpectRefusal(CPicDecoder& decoder, const Refusal& refusal, CWinBmp& bitmap);

// The pixel at (x, y), top line 0, of a 32-bit bitmap: blue, green, red, alpha.
struct Bgra {
    int blue, green, red, alpha;
};
Bgra PixelAt(const CWinBmp& bitmap, int x, int y);

// One line of the corpus manifest.
struct ManifestEntry {
    std::string path;
    std::string format;
    std::string expected;  // ok, bad, either, unsupported
    long width = -1;       // -1 when the manifest gives none
    long height = -1;
    std::string notes;
};
std::vector<ManifestEntry> ReadManifest();
std::filesystem::path CorpusPath(const std::string& relative);

}  // namespace ovlet::picture
