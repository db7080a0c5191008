#include "cli/picture_commands.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/pixel_rows.h"
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

bool WritePam(const CWinBmp& bitmap, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        return false;
    }
    auto [width, height] = bitmap.GetSize();
    std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    // Lines are converted a batch at a time and written with one call each.
    const std::size_t lineBytes = static_cast<std::size_t>(width) * 4;
    const std::int32_t batch =
        lineBytes == 0 ? 1 : static_cast<std::int32_t>(std::max<std::size_t>(1, (std::size_t{1} << 20) / lineBytes));
    std::vector<std::uint8_t> rows(lineBytes * static_cast<std::size_t>(batch));
    bool ok = true;
    for (std::int32_t y = 0; y < height && ok; y += batch) {
        std::int32_t count = std::min(batch, height - y);
        for (std::int32_t i = 0; i < count; ++i) {
            picture_rows::LineToRgba(bitmap, y + i, rows.data() + lineBytes * static_cast<std::size_t>(i));
        }
        std::size_t bytes = lineBytes * static_cast<std::size_t>(count);
        ok = std::fwrite(rows.data(), 1, bytes, file) == bytes;
    }
    return std::fclose(file) == 0 && ok;
}

PictureFormat DetectFileFormat(CFileSource& source) {
    return CAnyPicDecoder::DetectFormat(source.GetReadPointer(), source.GetBytesLeft());
}

}  // namespace

int RunDecodeCommand(int argc, char** argv) {
    const char* picturePath = nullptr;
    const char* outPath = nullptr;
    int depth = 32;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--depth" && i + 1 < argc) {
            std::string_view value = argv[++i];
            if (value == "0" || value == "8" || value == "32") {
                depth = std::stoi(std::string(value));
                continue;
            }
            std::fprintf(stderr, "ovlet decode: --depth takes 0, 8 or 32\n");
            return ovlet_cli::kExitUsage;
        }
        if (!picturePath) {
            picturePath = argv[i];
        } else if (!outPath) {
            outPath = argv[i];
        } else {
            picturePath = nullptr;
            break;
        }
    }
    if (!picturePath || !outPath) {
        std::fprintf(stderr, "usage: ovlet decode PICTURE OUT.pam [--depth 0|8|32]\n");
        return ovlet_cli::kExitUsage;
    }

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
        return ovlet_cli::kExitFile;
    }
    auto [width, height] = bitmap.GetSize();
    std::printf("%dx%d depth %d alpha %s format %s\n", width, height, bitmap.GetBitsPerPixel(),
                bitmap.HasAlpha() ? "yes" : "no", PictureFormatName(format));
    return ovlet_cli::kExitOk;
}

int RunInfoCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ovlet info PICTURE\n");
        return ovlet_cli::kExitUsage;
    }
    // Only the header is read: the size of a picture of any size is told at once.
    PictureHeader header;
    try {
        header = Decoder().ReadFileHeader(argv[1]);
    } catch (const CTextException& error) {
        return ReportError(error);
    }
    std::printf("format %s size %dx%d\n", PictureFormatName(header.format), header.width, header.height);
    return ovlet_cli::kExitOk;
}
