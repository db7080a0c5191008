#include "picture/any_pic_decoder.h"

#include <cstdio>
#include <string>

#include "picture/bmp_decoder.h"
#include "picture/jpeg_decoder.h"
#include "picture/pict_decoder.h"
#include "picture/png_decoder.h"
#include "picture/text_exception.h"
#include "picture/tga_decoder.h"

namespace ovlet::picture {

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::WindowsBitmap:
            return "bmp";
        case PictureFormat::MacPict:
            return "pict";
        case PictureFormat::Targa:
            return "tga";
        case PictureFormat::Tiff:
            return "tiff";
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Png:
            return "png";
        case PictureFormat::EpsTiff:
            return "eps";
        case PictureFormat::Unknown:
            break;
    }
    return "unknown";
}

namespace {

// How many of the first bytes a refusal of an unknown picture shows.
constexpr std::int32_t kShownFirstBytes = 8;

// "Unknown picture type (starts with 0x47 0x49 ...)": what a file that is no
// known picture holds, so that whoever reads the message can tell what it is.
std::string UnknownTypeText(const std::uint8_t* data, std::int32_t size) {
    if (!data || size <= 0) {
        return "Unknown picture type (no bytes)";
    }
    std::string text = "Unknown picture type (starts with";
    for (std::int32_t i = 0; i < size && i < kShownFirstBytes; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " 0x%02X", static_cast<unsigned>(data[i]));
        text += hex;
    }
    return text + ")";
}

// The name a message gives a format this library recognises but does not decode.
const char* RefusedFormatTitle(PictureFormat format) {
    switch (format) {
        case PictureFormat::Tiff:
            return "TIFF";
        case PictureFormat::EpsTiff:
            return "EPS";
        default:
            return "This";
    }
}

}  // namespace

CAnyPicDecoder::CAnyPicDecoder()
    : jpegDecoder(std::make_unique<CJPEGDecoder>()), pngDecoder(std::make_unique<CPNGDecoder>()) {
    bmpDecoder = std::make_unique<CBmpDecoder>();
    tgaDecoder = std::make_unique<CTGADecoder>();
    pictDecoder = std::make_unique<CPictDecoder>(jpegDecoder.get());
}

CAnyPicDecoder::~CAnyPicDecoder() {
    // The PICT decoder borrows the JPEG decoder, so it goes first.
    bmpDecoder.reset();
    pictDecoder.reset();
    tgaDecoder.reset();
    jpegDecoder.reset();
    pngDecoder.reset();
}

CPicDecoder* CAnyPicDecoder::DecoderFor(PictureFormat format) const {
    switch (format) {
        case PictureFormat::WindowsBitmap:
            return bmpDecoder.get();
        case PictureFormat::MacPict:
            return pictDecoder.get();
        case PictureFormat::Targa:
            return tgaDecoder.get();
        case PictureFormat::Jpeg:
            return jpegDecoder.get();
        case PictureFormat::Png:
            return pngDecoder.get();
        default:
            return nullptr;
    }
}

void CAnyPicDecoder::SetPictureLimits(std::int64_t pixels, std::int64_t bytes) {
    CPicDecoder::SetPictureLimits(pixels, bytes);
    for (auto format : {PictureFormat::WindowsBitmap, PictureFormat::MacPict, PictureFormat::Targa, PictureFormat::Jpeg,
                        PictureFormat::Png}) {
        if (CPicDecoder* decoder = DecoderFor(format)) {
            decoder->SetPictureLimits(pixels, bytes);
        }
    }
}

CPicDecoder& CAnyPicDecoder::DecoderForSource(CDataSource* newSource) const {
    // Detection looks at what lies ahead of the read position, which is the
    // whole file when the source was just opened.
    PictureFormat format = DetectFormat(newSource->GetReadPointer(), newSource->GetBytesLeft());
    static constexpr const char* kRecognized[] = {
        nullptr, "Windows bitmap recognized.\n", "Mac PICT recognized.\n", "TGA file recognized.\n",
        nullptr, "JPEG file recognized.\n",      "PNG file recognized.\n", nullptr,
    };
    if (format == PictureFormat::Unknown) {
        RaiseDecoderError(DECERR_UNKNOWN_TYPE,
                          UnknownTypeText(newSource->GetReadPointer(), newSource->GetBytesLeft()).c_str());
    }
    CPicDecoder* decoder = DecoderFor(format);
    if (!decoder) {
        const std::string text = std::string(RefusedFormatTitle(format)) + " picture: a type this library does not decode";
        RaiseDecoderError(DECERR_UNSUPPORTED, text.c_str());
    }
    TraceMessage(2, kRecognized[static_cast<int>(format)]);
    return *decoder;
}

void CAnyPicDecoder::DecodeSource(CDataSource* newSource, CBmp* target, int depth) {
    DecoderForSource(newSource).DecodeSource(newSource, target, depth);
}

void CAnyPicDecoder::DecodeSourceReduced(CDataSource* newSource, CBmp* target, int depth, std::int32_t minWidth,
                                         std::int32_t minHeight) {
    DecoderForSource(newSource).DecodeSourceReduced(newSource, target, depth, minWidth, minHeight);
}

PictureHeader CAnyPicDecoder::ReadHeader(CDataSource* newSource) {
    return DecoderForSource(newSource).ReadHeader(newSource);
}

PictureFormat CAnyPicDecoder::DetectFormat(const std::uint8_t* data, std::int32_t size) {
    auto at = [data, size](std::int32_t i) -> unsigned { return data && i < size ? data[i] : 0u; };
    auto startsWith = [&](std::int32_t offset, std::initializer_list<unsigned> bytes) {
        std::int32_t i = offset;
        for (unsigned b : bytes) {
            if (at(i++) != b) {
                return false;
            }
        }
        return true;
    };

    if (startsWith(0, {'B', 'M'})) {
        return PictureFormat::WindowsBitmap;
    }
    // Targa has no signature: the colour map type, image type, colour map
    // entry size and pixel depth of its 18-byte header must all be legal.
    {
        unsigned mapType = at(1), imageType = at(2), entrySize = at(7), depth = at(16);
        bool mapOk = mapType <= 1;
        bool typeOk = imageType <= 3 || (imageType >= 9 && imageType <= 11);
        bool entryOk = entrySize == 0 || entrySize == 8 || entrySize == 15 || entrySize == 16 || entrySize == 24 ||
                       entrySize == 32;
        bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
        if (mapOk && typeOk && entryOk && depthOk) {
            return PictureFormat::Targa;
        }
    }
    if (startsWith(0, {0x49, 0x49, 0x2A, 0x00}) || startsWith(0, {0x4D, 0x4D, 0x00, 0x2A})) {
        return PictureFormat::Tiff;
    }
    // PICT: a 512-byte application header, picture size and frame (10 bytes),
    // then the version opcode at 522.
    if (size > 540 && (startsWith(522, {0x00, 0x11, 0x02, 0xFF}) || startsWith(522, {0x00, 0x11, 0x01}) ||
                       startsWith(522, {0x11, 0x01, 0x01, 0x00}))) {
        return PictureFormat::MacPict;
    }
    if (startsWith(0, {0xFF, 0xD8, 0xFF})) {
        return PictureFormat::Jpeg;
    }
    if (startsWith(0, {0x89, 'P', 'N', 'G'})) {
        return PictureFormat::Png;
    }
    // EPS with a TIFF preview: the binary header, then a non-zero preview
    // offset and length at 20 and 24.
    if (startsWith(0, {0xC5, 0xD0, 0xD3, 0xC6}) || startsWith(0, {0xC6, 0xD3, 0xD0, 0xC5})) {
        auto readU32Le = [&](std::int32_t offset) {
            return at(offset) | (at(offset + 1) << 8) | (at(offset + 2) << 16) | (at(offset + 3) << 24);
        };
        if (readU32Le(20) != 0 && readU32Le(24) != 0) {
            return PictureFormat::EpsTiff;
        }
    }
    return PictureFormat::Unknown;
}

}  // namespace ovlet::picture
