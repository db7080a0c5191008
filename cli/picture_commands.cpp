#include "cli/picture_commands.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/tool_support.h"
#include "files/input_file.h"
#include "files/output_file.h"
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

// Writes the bitmap as a PAM file through the one writer ("-": standard output).
bool WritePam(const CWinBmp& bitmap, const std::string& path, std::string& error) {
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    files::OutputFile file(options);
    if (!file.Open(path)) {
        error = file.Error();
        return false;
    }
    auto [width, height] = bitmap.GetSize();
    const std::string header = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
                               "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    bool ok = file.Write(header.data(), header.size());
    std::string row(static_cast<std::size_t>(width) * 4, '\0');
    for (std::int32_t y = 0; y < height && ok; ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        auto* out = reinterpret_cast<std::uint8_t*>(row.data());
        for (std::int32_t x = 0; x < width; ++x) {
            PixelAt(bitmap, line, x, out + 4 * x);
        }
        ok = file.Write(row.data(), row.size());
    }
    if (ok && file.Commit()) return true;
    error = file.Error();
    return false;
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
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!files::ReadWholeFile(options.picture, {files::kMaxPictureBytes, false}, bytes, error)) {
        Report("decode", error);
        return kExitFile;
    }
    const auto size = static_cast<std::int32_t>(bytes.size());
    const PictureFormat format = CAnyPicDecoder::DetectFormat(bytes.data(), size);
    CWinBmp bitmap;
    CDataSource source;
    source.OpenData(options.picture.c_str(), bytes.data(), size);
    try {
        Decoder().DecodeSource(&source, &bitmap, options.depth);
    } catch (const CTextException& e) {
        source.Close();
        return ReportError(e);
    }
    source.Close();
    // The picture's bytes are no longer needed while the file is written.
    std::vector<std::uint8_t>().swap(bytes);
    if (!WritePam(bitmap, options.output, error)) {
        Report("decode", error);
        return kExitFile;
    }
    auto [width, height] = bitmap.GetSize();
    std::fprintf(options.output == "-" ? stderr : stdout, "%dx%d depth %d alpha %s format %s\n", width, height,
                 bitmap.GetBitsPerPixel(), bitmap.HasAlpha() ? "yes" : "no", PictureFormatName(format));
    return kExitOk;
}

CLI::App* DeclareInfo(CLI::App& tool, InfoOptions& options) {
    CLI::App* command = tool.add_subcommand("info", "Print a picture's format and size");
    command->add_option("PICTURE", options.picture, "The picture file")->required();
    return command;
}

int RunInfo(const InfoOptions& options) {
    files::InputFile file;
    if (!file.Open(options.picture, {files::kMaxPictureBytes, false})) {
        Report("info", file.Error());
        return kExitFile;
    }
    // The header is at the start: a first block usually holds it, and the
    // rest is read only when it does not (a JPEG with large metadata first).
    std::vector<std::uint8_t> bytes(1 << 16);
    std::size_t got = 0;
    bool ok = file.Read(bytes.data(), bytes.size(), got);
    bytes.resize(got);
    auto detect = [&](PictureFormat& format, PictureHeaderSize& size) {
        const auto count = static_cast<std::int32_t>(bytes.size());
        format = CAnyPicDecoder::DetectFormat(bytes.data(), count);
        return ReadHeaderSize(format, bytes.data(), count, &size);
    };
    PictureFormat format = PictureFormat::Unknown;
    PictureHeaderSize size{};
    bool known = ok && detect(format, size);
    if (ok && !known && got == (1u << 16)) {
        std::vector<std::uint8_t> rest(1 << 20);
        while (ok) {
            std::size_t more = 0;
            ok = file.Read(rest.data(), rest.size(), more);
            bytes.insert(bytes.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(more));
            if (more < rest.size()) break;
        }
        known = ok && detect(format, size);
    }
    if (!ok) {
        Report("info", file.Error());
        return kExitFile;
    }
    if (known) {
        std::printf("format %s size %lldx%lld\n", PictureFormatName(format), static_cast<long long>(size.width),
                    static_cast<long long>(size.height));
    } else {
        std::printf("format %s size unknown\n", PictureFormatName(format));
    }
    if (format == PictureFormat::Unknown) {
        Report("info", options.picture + " is not a picture of a known format");
        return kExitPicture;
    }
    return kExitOk;
}

}  // namespace ovlet_cli
