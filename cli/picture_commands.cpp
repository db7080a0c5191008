#include "cli/picture_commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/tool_support.h"
#include "files/input_file.h"
#include "files/output_file.h"
#include "picture/any_pic_decoder.h"
#include "picture/decode_outcome.h"
#include "picture/pixel_rows.h"
#include "picture/win_bmp.h"
#include "resources/catalogue/catalogue.h"
#include "resources/catalogue/decoder_lines.h"

namespace ovlet::cli {
namespace {

// The decoder serves the whole program, as in the card programs.
picture::CAnyPicDecoder& Decoder() {
    static picture::CAnyPicDecoder decoder;
    return decoder;
}

// Prints "error CODE: TEXT" on one line.
int ReportError(const picture::DecodeError& error) {
    PrintError("error %d: %s\n", error.code, catalogue::TranslateDecoderLine(error.Describe()).c_str());
    return kExitPicture;
}

// Writes the bitmap as a PAM file through the one writer ("-": standard output).
files::Result<void> WritePam(const picture::CWinBmp& bitmap, const std::string& path) {
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    files::OutputFile file(options);
    if (!file.Open(path)) return file.Error();
    auto [width, height] = bitmap.GetSize();
    const std::string header = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
                               "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    bool ok = file.Write(header.data(), header.size());
    // Lines are converted a batch at a time and written with one call each.
    const std::size_t lineBytes = static_cast<std::size_t>(width) * 4;
    const std::int32_t batch =
        lineBytes == 0 ? 1 : static_cast<std::int32_t>(std::max<std::size_t>(1, (std::size_t{1} << 20) / lineBytes));
    std::vector<std::uint8_t> rows(lineBytes * static_cast<std::size_t>(batch));
    for (std::int32_t y = 0; y < height && ok; y += batch) {
        const std::int32_t count = std::min(batch, height - y);
        for (std::int32_t i = 0; i < count; ++i) {
            picture::rows::LineToRgba(bitmap, y + i, rows.data() + lineBytes * static_cast<std::size_t>(i));
        }
        ok = file.Write(rows.data(), lineBytes * static_cast<std::size_t>(count));
    }
    if (ok && file.Commit()) return {};
    return file.Error();
}

}  // namespace

CLI::App* DeclareDecode(CLI::App& tool, DecodeOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "decode", catalogue::TranslateLater("ovlet", "Decode any supported picture into a PAM file"));
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
    files::Result<std::vector<std::uint8_t>> read =
        files::ReadWholeFile(options.picture, {files::kMaxPictureBytes, false});
    if (!read) {
        Report("decode", read.Error().Describe());
        return kExitFile;
    }
    std::vector<std::uint8_t> bytes = std::move(read).Value();
    const auto size = static_cast<std::int32_t>(bytes.size());
    const picture::PictureFormat format = picture::CAnyPicDecoder::DetectFormat(bytes.data(), size);
    picture::CWinBmp bitmap;
    if (const picture::Result<void> decoded = picture::Decoding(
            [&] { Decoder().DecodeMemory(options.picture.c_str(), bytes.data(), size, &bitmap, options.depth); });
        !decoded) {
        return ReportError(decoded.Error());
    }
    // The picture's bytes are no longer needed while the file is written.
    std::vector<std::uint8_t>().swap(bytes);
    if (const files::Result<void> written = WritePam(bitmap, options.output); !written) {
        Report("decode", written.Error().Describe());
        return kExitFile;
    }
    auto [width, height] = bitmap.GetSize();
    std::fprintf(files::NamesStandardOutput(options.output, true) ? stderr : stdout,
                 "%dx%d depth %d alpha %s format %s\n", width, height, bitmap.GetBitsPerPixel(),
                 bitmap.HasAlpha() ? "yes" : "no", picture::PictureFormatName(format));
    return kExitOk;
}

CLI::App* DeclareInfo(CLI::App& tool, InfoOptions& options) {
    CLI::App* command =
        tool.add_subcommand("info", catalogue::TranslateLater("ovlet", "Print a picture's format and size"));
    command->add_option("PICTURE", options.picture, "The picture file")->required();
    return command;
}

int RunInfo(const InfoOptions& options) {
    files::InputFile file;
    if (!file.Open(options.picture, {files::kMaxPictureBytes, false})) {
        Report("info", file.Error().Describe());
        return kExitFile;
    }
    // Only the header is read, so the size of a picture of any size is told
    // at once. A first block usually holds it; when a picture of a known
    // format does not tell its size from it, a block sixteen times larger is
    // read, and so on to the whole file: metadata before the header (a JPEG
    // with two ICC segments has 128 KiB of it) can be any size, and a header
    // cut off shows as any error of the decoder, not only "end of data".
    constexpr std::size_t kFirstBlock = 1 << 16;
    std::vector<std::uint8_t> bytes;
    bool whole = false;
    picture::PictureHeader header;
    for (std::size_t want = kFirstBlock;; want = std::min<std::size_t>(want * 16, files::kMaxPictureBytes + 1)) {
        const std::size_t had = bytes.size();
        bytes.resize(want);
        std::size_t got = 0;
        if (!file.Read(bytes.data() + had, want - had, got)) {
            Report("info", file.Error().Describe());
            return kExitFile;
        }
        bytes.resize(had + got);
        whole = had + got < want;
        const auto size = static_cast<std::int32_t>(bytes.size());
        const picture::Result<picture::PictureHeader> read =
            picture::Decoding([&] { return Decoder().ReadMemoryHeader(options.picture.c_str(), bytes.data(), size); });
        if (read) {
            header = read.Value();
            break;
        }
        if (whole || picture::CAnyPicDecoder::DetectFormat(bytes.data(), size) == picture::PictureFormat::Unknown) {
            return ReportError(read.Error());
        }
    }
    Print("format %s size %dx%d\n", picture::PictureFormatName(header.format), header.width, header.height);
    return kExitOk;
}

}  // namespace ovlet::cli
