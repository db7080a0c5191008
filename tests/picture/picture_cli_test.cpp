// ovlet decode and ovlet info as a script sees them: output line, PAM file,
// error line and exit code.
#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/picture/picture_test_support.h"
#include "tests/support/run_tool.h"

namespace ovlet::picture {
namespace {

// Runs ovlet with words a shell splits; `out` holds both output streams as
// they were written.
test_support::ToolResult Ovlet(const std::string& args) {
    return test_support::RunShell(std::string(OVLET_BIN) + " " + args + " 2>&1");
}

// A 3 x 2 palette PNG, row 0 indices 0 1 2, row 1 indices 2 1 0.
Bytes PalettePng() {
    test_support::PngPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.colourType = 3;
    picture.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    picture.rows = {{0, 1, 2}, {2, 1, 0}};
    return test_support::EncodePng(picture);
}

// A 2 x 1 RGBA PNG with alpha 10 and 200.
Bytes RgbaPng() {
    test_support::PngPicture picture;
    picture.width = 2;
    picture.height = 1;
    picture.colourType = 6;
    picture.rows = {{1, 2, 3, 10, 4, 5, 6, 200}};
    return test_support::EncodePng(picture);
}

std::string PamHeader(int width, int height) {
    return "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
           "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
}

struct DecodeCase {
    const char* name;
    Bytes picture;
    const char* depthArgs;
    const char* wantLine;
    std::string wantPam;
};

TEST(OvletDecode, WritesPamTopLineFirst) {
    std::string red = {'\xFF', 0, 0, '\xFF'}, green = {0, '\xFF', 0, '\xFF'}, blue = {0, 0, '\xFF', '\xFF'};
    const DecodeCase kCases[] = {
        {"palette at 8 bits expands through the colour table", PalettePng(), "--depth 0",
         "3x2 depth 8 alpha no format png\n", PamHeader(3, 2) + red + green + blue + blue + green + red},
        {"palette at 32 bits", PalettePng(), "", "3x2 depth 32 alpha no format png\n",
         PamHeader(3, 2) + red + green + blue + blue + green + red},
        {"alpha kept when meaningful", RgbaPng(), "--depth 32", "2x1 depth 32 alpha yes format png\n",
         PamHeader(2, 1) + std::string{1, 2, 3, 10, 4, 5, 6, static_cast<char>(200)}},
    };
    test_support::TempFolder folder;
    for (const DecodeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        test_support::WriteFileBytes(folder / "in.png", c.picture);
        test_support::ToolResult run =
            Ovlet("decode " + (folder / "in.png").string() + " " + (folder / "out.pam").string() + " " + c.depthArgs);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out, c.wantLine);
        Bytes pam = test_support::ReadFileBytes(folder / "out.pam");
        EXPECT_EQ(std::string(pam.begin(), pam.end()), c.wantPam);
    }
}

TEST(OvletDecode, FailuresAndUsage) {
    test_support::TempFolder folder;
    test_support::WriteFileBytes(folder / "zeros.bin", Bytes(600, 0));
    Bytes cut = PalettePng();
    cut.resize(cut.size() - 20);
    test_support::WriteFileBytes(folder / "cut.png", cut);
    std::string out = (folder / "out.pam").string();
    struct Case {
        const char* name;
        std::string args;
        int code;
        std::string output;
    };
    const Case kCases[] = {
        {"unknown type", "decode " + (folder / "zeros.bin").string() + " " + out, 4,
         "error 8: Decoder error: Unknown picture type (starts with 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00)\n"},
        {"cut PNG", "decode " + (folder / "cut.png").string() + " " + out, 4,
         "error 11: End of file reached while decoding.\n"},
        {"missing file", "decode " + (folder / "none.png").string() + " " + out, 2,
         "ovlet decode: cannot read " + (folder / "none.png").string() + ": no such file\n"},
        {"bad depth", "decode x.png y.pam --depth 16", 1,
         "ovlet decode: --depth: 16 not in {0,8,32}\nRun 'ovlet decode --help' for its usage.\n"},
        {"no output", "decode x.png", 1,
         "ovlet decode: name the PAM file to write\nUsage: ovlet decode PICTURE OUT.pam [--depth 0|8|32]\n"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        test_support::ToolResult run = Ovlet(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.out, c.output);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// Only the header is read, so the size is what a decode would give (for a
// PICT, its first image), and a file that holds no picture we can read fails
// like a decode of it.
TEST(OvletInfo, FormatAndHeaderSize) {
    test_support::TempFolder folder;
    test_support::WriteFileBytes(folder / "p.png", PalettePng());
    test_support::WriteFileBytes(folder / "tiff", {0x49, 0x49, 0x2A, 0x00, 8, 0, 0, 0});
    test_support::WriteFileBytes(folder / "empty", {});
    test_support::WriteFileBytes(folder / "zeros.bin", Bytes(600, 0));
    test_support::WriteFileBytes(folder / "cut.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0});
    // 128 KiB of metadata before the header: two full ICC segments.
    Bytes icc = test_support::EncodeJpeg(test_support::JpegKind::Grey, 5, 3, Bytes(15, 128));
    for (std::uint8_t part : std::initializer_list<std::uint8_t>{2, 1}) {
        Bytes segment = {0xFF, 0xE2, 0xFF, 0xFF, 'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, part, 2};
        segment.resize(2 + 0xFFFF);
        icc.insert(icc.begin() + 2, segment.begin(), segment.end());
    }
    test_support::WriteFileBytes(folder / "icc.jpg", icc);
    icc.resize(100000);
    test_support::WriteFileBytes(folder / "cut-icc.jpg", icc);
    struct Case {
        std::string path;
        int code;
        std::string output;
    };
    const Case kCases[] = {
        {(folder / "p.png").string(), 0, "format png size 3x2\n"},
        {CorpusPath("jpeg/pillow/junk_jpeg_header.jpg").string(), 0, "format jpeg size 1024x768\n"},
        {CorpusPath("bmp/g/rgb24.bmp").string(), 0, "format bmp size 127x64\n"},
        {CorpusPath("bmp/g/pal8topdown.bmp").string(), 0, "format bmp size 127x64\n"},
        {CorpusPath("tga/twelvemonkeys/CTC24.TGA").string(), 0, "format tga size 128x128\n"},
        // The picture frame says otherwise; the first image is what a decode gives.
        {CorpusPath("pict/twelvemonkeys/demo.pict").string(), 0, "format pict size 360x178\n"},
        {(folder / "tiff").string(), 4, "error 6: Decoder error: TIFF picture: a type this library does not decode\n"},
        {(folder / "zeros.bin").string(), 4,
         "error 8: Decoder error: Unknown picture type (starts with 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00)\n"},
        {(folder / "empty").string(), 4, "error 8: Decoder error: Unknown picture type (no bytes)\n"},
        {(folder / "cut.bmp").string(), 4, "error 11: End of file reached while decoding.\n"},
        {(folder / "icc.jpg").string(), 0, "format jpeg size 5x3\n"},
        {(folder / "cut-icc.jpg").string(), 4, "error 6: Decoder error: JPEG datastream contains no image\n"},
        // A file that cannot be read is the file's failure, not the picture's.
        {(folder / "none.png").string(), 2,
         "ovlet info: cannot read " + (folder / "none.png").string() + ": no such file\n"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        test_support::ToolResult run = Ovlet("info " + c.path);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.out, c.output);
    }
}

}  // namespace
}  // namespace ovlet::picture
