// Helpers of the picture tests: pictures made in memory with known pixels,
// decoding from memory, and the corpus manifest.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "picture/pic_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);

// A folder removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

// How a test JPEG stores its pixels.
enum class JpegKind { YCbCr, Grey, Rgb, CmykAdobe, YcckAdobe };

// Encodes width x height pixels. `pixels` holds 3 bytes (red, green, blue)
// per pixel for YCbCr and Rgb, 1 for Grey, and 4 ink bytes (cyan, magenta,
// yellow, black; 255 = full ink) for the CMYK kinds, which are stored the
// Adobe way, inverted. Sampling is 1x1 so flat colours survive exactly
// enough for a small tolerance.
Bytes EncodeJpeg(JpegKind kind, int width, int height, const Bytes& pixels, int quality = 95, bool progressive = false);

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = 2;  // PNG colour type
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> palette;       // 3 bytes per entry, red, green, blue
    std::vector<std::uint8_t> transparency;  // tRNS bytes, if any
    std::vector<Bytes> rows;                 // packed rows as the PNG format stores them
};
Bytes EncodePng(const PngPicture& picture);

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
