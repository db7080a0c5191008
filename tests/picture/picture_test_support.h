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

using Bytes = std::vector<std::uint8_t>;

// The picture library's names every picture test uses: its types, the
// errors of a file that cannot be read, and those of data that cannot be decoded.
using ovlet::picture::CPicDecoder;
using ovlet::picture::CTextException;
using ovlet::picture::CWinBmp;
using ovlet::picture::kEndOfDataText;

using ovlet::picture::DECERR_ACCESS;
using ovlet::picture::DECERR_FILE_NOT_FOUND;
using ovlet::picture::DECERR_PATH_NOT_FOUND;

using ovlet::picture::DECERR_END_OF_DATA;
using ovlet::picture::DECERR_FORMAT;
using ovlet::picture::DECERR_NO_MEMORY;
using ovlet::picture::DECERR_SIGNATURE;
using ovlet::picture::DECERR_UNKNOWN_TYPE;
using ovlet::picture::DECERR_UNSUPPORTED;

using test_support::EncodeJpeg;
using test_support::EncodePng;
using test_support::JpegKind;
using test_support::PngPicture;
using test_support::ReadFileBytes;
using test_support::TempFolder;
using test_support::WriteFileBytes;

// Decodes bytes from memory through the decoder.
void DecodeBytes(ovlet::picture::CPicDecoder& decoder, const Bytes& bytes, ovlet::picture::CWinBmp& bitmap, int depth);

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
    } catch (const ovlet::picture::CTextException& error) {
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
void ExpectRefusal(ovlet::picture::CPicDecoder& decoder, const Refusal& refusal, ovlet::picture::CWinBmp& bitmap);

// The pixel at (x, y), top line 0, of a 32-bit bitmap: blue, green, red, alpha.
struct Bgra {
    int blue, green, red, alpha;
};
Bgra PixelAt(const ovlet::picture::CWinBmp& bitmap, int x, int y);

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
