#include "cli/picture_commands.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/picture_info.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace {

// The decoder serves the whole program, as in the card programs.
CAnyPicDecoder& Decoder() {
    static CAnyPicDecoder decoder;
    return decoder;
}

// Prints "error CODE: TEXT" with the text's own line ends dropped.
int ReportError(const CTextException& error) {
    std::string text = error.GetText();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    std::fprintf(stderr, "error %d: %s\n", error.GetCode(), text.c_str());
    return ovlet_cli::kExitPicture;
}

// One pixel as red, green, blue, alpha, whatever the bitmap's depth.
void PixelAt(const CWinBmp& bitmap, const std::uint8_t* line, std::int32_t x, std::uint8_t* rgba) {
    const RGBQuad* palette = bitmap.GetPalette();
    auto fromPalette = [&](unsigned index) {
        const RGBQuad& entry = palette[index];
        rgba[0] = entry.red;
        rgba[1] = entry.green;
        rgba[2] = entry.blue;
        rgba[3] = 255;
    };
    switch (bitmap.GetBitsPerPixel()) {
        case 1:
            fromPalette((line[x / 8] >> (7 - x % 8)) & 1);
            break;
        case 4:
            fromPalette((line[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
            break;
        case 8:
            fromPalette(line[x]);
            break;
        case 16: {
            unsigned w = line[2 * x] | (line[2 * x + 1] << 8);
            rgba[0] = static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3);
            rgba[1] = static_cast<std::uint8_t>(((w >> 5) & 0x1F) << 3);
            rgba[2] = static_cast<std::uint8_t>((w & 0x1F) << 3);
            rgba[3] = 255;
            break;
        }
        case 24:
            rgba[0] = line[3 * x + 2];
            rgba[1] = line[3 * x + 1];
            rgba[2] = line[3 * x];
            rgba[3] = 255;
            break;
        default:
            rgba[0] = line[4 * x + 2];
            rgba[1] = line[4 * x + 1];
            rgba[2] = line[4 * x];
            rgba[3] = bitmap.HasAlpha() ? line[4 * x + 3] : 255;
            break;
    }
}

bool WritePam(const CWinBmp& bitmap, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        return false;
    }
    auto [width, height] = bitmap.GetSize();
    std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    std::string row(static_cast<std::size_t>(width) * 4, '\0');
    bool ok = true;
    for (std::int32_t y = 0; y < height && ok; ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        auto* out = reinterpret_cast<std::uint8_t*>(row.data());
        for (std::int32_t x = 0; x < width; ++x) {
            PixelAt(bitmap, line, x, out + 4 * x);
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return std::fclose(file) == 0 && ok;
}

PictureFormat DetectFileFormat(CFileSource& source) {
    return CAnyPicDecoder::DetectFormat(source.GetReadPointer(), source.GetBytesLeft());
}

}  // namespace

namespace ovlet_cli {

CLI::App* DeclareDecode(CLI::App& tool, DecodeOptions& options) {
    CLI::App* command = tool.add_subcommand("decode", "Decode any supported picture into a PAM file");
    command->add_option("--depth", options.depth, "Bits per pixel of the decode: 0 (the picture's own), 8 or 32")
        ->check(CLI::IsMember({0, 8, 32}));
    command->add_option("PICTURE", options.picture, "The picture file")->required();
    command->add_option("OUT.pam", options.output, "The PAM file to write");
    command->add_option("-o,--output", options.output, "The PAM file to write (instead of OUT.pam)")
        ->type_name("OUT.pam");
    return command;
}

int RunDecode(const DecodeOptions& options) {
    if (options.output.empty()) {
        std::fprintf(
            stderr, "ovlet decode: name the PAM file to write\nUsage: ovlet decode PICTURE OUT.pam [--depth 0|8|32]\n");
        return kExitUsage;
    }
    const char* picturePath = options.picture.c_str();
    const char* outPath = options.output.c_str();
    const int depth = options.depth;
    CWinBmp bitmap;
    PictureFormat format = PictureFormat::Unknown;
    try {
        CFileSource probe;
        if (probe.OpenFile(picturePath) == 0) {
            format = DetectFileFormat(probe);
        }
        Decoder().DecodeFile(picturePath, &bitmap, depth);
    } catch (const CTextException& error) {
        return ReportError(error);
    }
    if (!WritePam(bitmap, outPath)) {
        std::fprintf(stderr, "ovlet decode: cannot write %s\n", outPath);
        return kExitFile;
    }
    auto [width, height] = bitmap.GetSize();
    std::printf("%dx%d depth %d alpha %s format %s\n", width, height, bitmap.GetBitsPerPixel(),
                bitmap.HasAlpha() ? "yes" : "no", PictureFormatName(format));
    return kExitOk;
}

CLI::App* DeclareInfo(CLI::App& tool, InfoOptions& options) {
    CLI::App* command = tool.add_subcommand("info", "Print a picture's format and size");
    command->add_option("PICTURE", options.picture, "The picture file")->required();
    return command;
}

int RunInfo(const InfoOptions& options) {
    const char* path = options.picture.c_str();
    CFileSource source;
    int status = source.OpenFile(path);
    if (status != 0) {
        std::string text = "Decoder error: Opening " + std::string(path) + " failed";
        return ReportError(CTextException(status, text.c_str()));
    }
    PictureFormat format = DetectFileFormat(source);
    PictureHeaderSize size{};
    if (ReadHeaderSize(format, source.GetReadPointer(), source.GetBytesLeft(), &size)) {
        std::printf("format %s size %lldx%lld\n", PictureFormatName(format), static_cast<long long>(size.width),
                    static_cast<long long>(size.height));
    } else {
        std::printf("format %s size unknown\n", PictureFormatName(format));
    }
    return kExitOk;
}

}  // namespace ovlet_cli
