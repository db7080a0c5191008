#include "picture/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/data_source.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet::picture {

// libpng reports errors through a callback that must not return. C++
// exceptions must not cross libpng's C frames, so the callback records the
// error and long-jumps to the setjmp of the wrapper that called libpng; the
// wrapper returns false and DecodeImage raises the error in C++ once libpng
// has been left. The wrappers hold no objects with destructors.

namespace {

// The largest chunk libpng may hold in memory; the chunks read (PLTE, tRNS)
// take at most 768 bytes.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;
// Deflate turns at most 258 bytes into two bits, so compressed image data
// expands at most 1032 times.
constexpr std::int64_t kMaxInflation = 1032;
// libpng clears its whole row buffers at the start of each of the seven
// passes of an interlaced picture, however few rows the pass has. A large
// interlaced picture must be at least this tall, or that clearing, not its
// pixels, would decide the time it takes.
constexpr std::int64_t kMinInterlacedHeight = 8;

// Bytes of image data (IDAT) the chunks from the signature on hold, as far
// as the data goes; reads nothing beyond size bytes.
std::int64_t ImageDataBytes(const std::uint8_t* data, std::int64_t size) {
    std::int64_t total = 0;
    std::int64_t pos = 8;  // after the signature
    while (pos + 8 <= size) {
        std::int64_t length =
            (std::int64_t{data[pos]} << 24) | (data[pos + 1] << 16) | (data[pos + 2] << 8) | data[pos + 3];
        const std::uint8_t* type = data + pos + 4;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            total += std::min(length, size - pos - 8);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        pos += 12 + length;
    }
    return total;
}

struct PngContext {
    CDataSource* source;
    int code;  // 0 until an error was recorded
    char message[256];
};

void ErrorCallback(png_structp png, png_const_charp message) {
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    // An end of data found by the read callback keeps its own code and text.
    if (context->code == 0) {
        context->code = DECERR_FORMAT;
        std::snprintf(context->message, sizeof context->message, "%s", message);
    }
    png_longjmp(png, 1);
}

// libpng warnings never stop a decode and are not traced.
void WarningCallback(png_structp, png_const_charp) {}

void ReadCallback(png_structp png, png_bytep destination, png_size_t count) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    CDataSource* source = context->source;
    if (count > static_cast<png_size_t>(source->GetBytesLeft())) {
        context->code = DECERR_END_OF_DATA;
        png_error(png, "read past the end of the data");
    }
    std::memcpy(destination, source->ReadBytes(static_cast<std::int32_t>(count)), count);
}

struct PngHeader {
    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colourType;
    int interlaceType;
};

bool ReadHeader(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colourType,
                 &header->interlaceType, nullptr, nullptr);
    return true;
}

struct PngTransforms {
    bool greyToRgb;
    bool expand;
    bool bgrAndFiller;  // 32-bit output
    bool filler;        // 32-bit output without alpha
    bool strip16;
    bool packing;
};

bool ApplyTransforms(png_structp png, png_infop info, const PngTransforms* transforms, png_size_t* rowBytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    if (transforms->greyToRgb) {
        png_set_gray_to_rgb(png);
    }
    if (transforms->expand) {
        png_set_expand(png);
    }
    if (transforms->bgrAndFiller) {
        png_set_bgr(png);
        if (transforms->filler) {
            png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        }
    }
    if (transforms->strip16) {
        png_set_strip_16(png);
    }
    if (transforms->packing) {
        png_set_packing(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool ReadRows(png_structp png, png_infop info, png_bytepp lines) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, lines);
    png_read_end(png, info);
    return true;
}

// Owns libpng's read and info structures for one picture.
class PngReadGuard {
public:
    explicit PngReadGuard(PngContext* context)
        : png(png_create_read_struct(PNG_LIBPNG_VER_STRING, context, ErrorCallback, WarningCallback)),
          info(png ? png_create_info_struct(png) : nullptr) {}
    ~PngReadGuard() {
        if (png) {
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        }
    }
    PngReadGuard(const PngReadGuard&) = delete;
    PngReadGuard& operator=(const PngReadGuard&) = delete;

    png_structp png;
    png_infop info;
};

[[noreturn]] void RaiseRecorded(const PngContext& context) {
    if (context.code == DECERR_END_OF_DATA) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
    RaiseDecoderError(DECERR_FORMAT, context.message);
}

}  // namespace

namespace {

// Sets up libpng over the context's source and reads the picture's header.
PngHeader StartPicture(const PngReadGuard& guard, PngContext& context) {
    if (!guard.png || !guard.info) {
        RaiseDecoderError(DECERR_NO_MEMORY, "Out of memory for the PNG decoder.");
    }
    png_set_read_fn(guard.png, &context, ReadCallback);
    // libpng's own default caps a side at a million pixels; the picture
    // limits of the decoder decide instead.
    png_set_user_limits(guard.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    // Only the chunks a bitmap needs are read (IHDR, PLTE, tRNS, IDAT, IEND);
    // text, profiles and the rest are skipped unread, so a compressed text
    // chunk cannot inflate into hundreds of megabytes.
    png_set_keep_unknown_chunks(guard.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(guard.png, kMaxChunkBytes);
    PngHeader header{};
    if (!ReadHeader(guard.png, guard.info, &header)) {
        RaiseRecorded(context);
    }
    return header;
}

}  // namespace

PictureHeader CPNGDecoder::ReadImageHeader() {
    PngContext context{source, 0, ""};
    PngReadGuard guard(&context);
    PngHeader header = StartPicture(guard, context);
    int bits = header.bitDepth * png_get_channels(guard.png, guard.info);
    // libpng holds both sides below 2^31.
    return {PictureFormat::Png, static_cast<std::int32_t>(header.width), static_cast<std::int32_t>(header.height),
            bits};
}

void CPNGDecoder::DecodeImage() {
    const std::uint8_t* data = source->GetReadPointer();
    std::int64_t size = source->GetBytesLeft();
    PngContext context{source, 0, ""};
    PngReadGuard guard(&context);
    PngHeader header = StartPicture(guard, context);
    png_structp png = guard.png;
    png_infop info = guard.info;

    PngTransforms transforms{};
    int depth = 32;
    bool alpha = false;
    switch (header.colourType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            if (requestedDepth == 32) {
                transforms.greyToRgb = header.colourType == PNG_COLOR_TYPE_GRAY;
                transforms.expand = true;
            } else {
                ChooseDestDepth(8);
                depth = 8;
            }
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            transforms.greyToRgb = true;
            transforms.expand = true;
            alpha = true;
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            alpha = true;
            break;
        default:  // PNG_COLOR_TYPE_RGB
            break;
    }
    if (depth == 32) {
        ChooseDestDepth(32);
        transforms.bgrAndFiller = true;
        transforms.filler = !alpha;
    }
    transforms.strip16 = header.bitDepth == 16;
    transforms.packing = header.bitDepth < 8;

    // Before anything is allocated: the bitmap and libpng's two row buffers,
    // whose pixels take up to 8 bytes (16-bit samples, four channels), must
    // fit the limits, and the image data must be able to inflate into every
    // row of stored samples.
    std::int64_t width = header.width;
    std::int64_t height = header.height;
    std::int64_t rowBufferBytes = width * (header.bitDepth == 16 ? 8 : 4) + 64;
    CheckPictureSize(width, height, depth, 2 * rowBufferBytes);
    std::int64_t storedRowBytes = width * header.bitDepth * png_get_channels(png, info) / 8;
    RequireData(width * height, ImageDataBytes(data, size) * kMaxInflation >= height * storedRowBytes);
    if (header.interlaceType != PNG_INTERLACE_NONE && width * height > kSmallPicturePixels &&
        height < kMinInterlacedHeight) {
        RaiseDecoderError(DECERR_FORMAT, "Interlaced PNG picture too wide for its height.");
    }
    png_size_t rowBytes = 0;
    if (!ApplyTransforms(png, info, &transforms, &rowBytes)) {
        RaiseRecorded(context);
    }
    // libpng writes rowBytes into each line: it must be exactly the pixels
    // of one line, or a row would run over the line's end.
    png_size_t pixelBytes = png_size_t{header.width} * static_cast<png_size_t>(depth / 8);
    if (rowBytes != pixelBytes) {
        RaiseDecoderError(DECERR_FORMAT, "PNG rows do not match the bitmap lines.");
    }

    bitmap->Create(static_cast<std::int32_t>(header.width), static_cast<std::int32_t>(header.height),
                   static_cast<std::uint16_t>(depth), alpha);
    if (depth == 8) {
        RGBQuad* table = bitmap->GetPalette();
        if (header.colourType == PNG_COLOR_TYPE_GRAY) {
            int entries = header.bitDepth == 16 ? 256 : 1 << header.bitDepth;
            for (int i = 0; i < entries; ++i) {
                auto grey = static_cast<std::uint8_t>(i * 255 / (entries - 1));
                table[i] = RGBQuad{grey, grey, grey, 255};
            }
        }
        png_colorp plte = nullptr;
        int plteEntries = 0;
        if (png_get_PLTE(png, info, &plte, &plteEntries) != 0 && plte) {
            for (int i = 0; i < plteEntries && i < kColourTableEntries; ++i) {
                table[i] = RGBQuad{plte[i].blue, plte[i].green, plte[i].red, 255};
            }
        }
    }

    if (!ReadRows(png, info, bitmap->GetLineTable())) {
        RaiseRecorded(context);
    }
}

namespace {

// The transforms that bring any PNG to 32-bit blue, green, red, alpha rows,
// without libpng's interlace handling (which needs the whole picture).
bool ApplyReducedTransforms(png_structp png, png_infop info, png_size_t* rowBytes) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_strip_16(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Reads the next `count` rows of the current pass into `row`, calling
// `keep(index)` after each; false after a libpng error.
template <typename Keep>
bool ReadRowsOneByOne(png_structp png, png_bytep row, png_uint_32 count, Keep& keep) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    for (png_uint_32 i = 0; i < count; ++i) {
        png_read_row(png, row, nullptr);
        keep(i);
    }
    return true;
}

}  // namespace

bool DecodePngReduced(const std::uint8_t* data, std::int32_t size, std::int32_t maxSide, CWinBmp& bitmap) {
    if (maxSide < 1 || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        return false;
    }
    CDataSource memory;
    memory.OpenData("", data, size);
    PngContext context{&memory, 0, ""};
    PngReadGuard guard(&context);
    const PngHeader header = StartPicture(guard, context);
    const std::int64_t width = header.width;
    const std::int64_t height = header.height;
    const std::int64_t step = (std::max(width, height) + maxSide - 1) / maxSide;
    const bool interlaced = header.interlaceType != PNG_INTERLACE_NONE;
    // Small enough to decode whole; a one-row interlaced picture has no last pass.
    if (step < 2 || (interlaced && height < 2)) {
        return false;
    }
    // As for a whole decode: a large picture must come with data that could
    // describe it, so inflating it takes time in proportion to the file.
    const std::int64_t storedRowBytes = width * header.bitDepth * png_get_channels(guard.png, guard.info) / 8;
    if (width * height > CPicDecoder::kSmallPicturePixels &&
        ImageDataBytes(data, size) * kMaxInflation < height * storedRowBytes) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
    png_size_t rowBytes = 0;
    if (!ApplyReducedTransforms(guard.png, guard.info, &rowBytes)) {
        RaiseRecorded(context);
    }
    if (rowBytes != static_cast<png_size_t>(width) * 4) {
        RaiseDecoderError(DECERR_FORMAT, "PNG rows do not match the bitmap lines.");
    }
    const png_byte colourType = png_get_color_type(guard.png, guard.info);
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || header.colourType == PNG_COLOR_TYPE_GRAY_ALPHA ||
                       header.colourType == PNG_COLOR_TYPE_RGB_ALPHA ||
                       png_get_valid(guard.png, guard.info, PNG_INFO_tRNS) != 0;
    // An interlaced picture is sampled from its last pass: rows 1, 3, 5, ...
    const std::int64_t sampledRows = interlaced ? height / 2 : height;
    const std::int64_t rowStep = interlaced ? std::max<std::int64_t>(1, step / 2) : step;
    const auto outWidth = static_cast<std::int32_t>((width + step - 1) / step);
    const auto outHeight = static_cast<std::int32_t>((sampledRows + rowStep - 1) / rowStep);
    bitmap.Create(outWidth, outHeight, 32, alpha);
    std::uint8_t** lines = bitmap.GetLineTable();

    std::vector<png_byte> row(rowBytes);
    auto discard = [](png_uint_32) {};
    if (interlaced) {
        // Passes 1 to 6 are inflated and let go; each is at most as wide as the picture.
        for (int pass = 0; pass < 6; ++pass) {
            // Adam7: where each pass starts and how far its pixels are apart.
            static constexpr std::int64_t kStart[2][6] = {{0, 4, 0, 2, 0, 1}, {0, 0, 4, 0, 2, 0}};
            static constexpr std::int64_t kApart[2][6] = {{8, 8, 4, 4, 2, 2}, {8, 8, 8, 4, 4, 2}};
            auto count = [](std::int64_t length, std::int64_t start, std::int64_t apart) {
                return length > start ? (length - start + apart - 1) / apart : 0;
            };
            const std::int64_t columns = count(width, kStart[0][pass], kApart[0][pass]);
            const auto rows =
                static_cast<png_uint_32>(columns == 0 ? 0 : count(height, kStart[1][pass], kApart[1][pass]));
            if (!ReadRowsOneByOne(guard.png, row.data(), rows, discard)) {
                RaiseRecorded(context);
            }
        }
    }
    auto keep = [&](png_uint_32 index) {
        if (index % rowStep != 0) {
            return;
        }
        const auto y = static_cast<std::int32_t>(index / rowStep);
        if (y >= outHeight) {
            return;
        }
        auto* out = reinterpret_cast<std::uint32_t*>(lines[y]);
        const auto* in = reinterpret_cast<const std::uint32_t*>(row.data());
        for (std::int32_t x = 0; x < outWidth; ++x) {
            std::memcpy(out + x, in + static_cast<std::int64_t>(x) * step, 4);
        }
    };
    if (!ReadRowsOneByOne(guard.png, row.data(), static_cast<png_uint_32>(sampledRows), keep)) {
        RaiseRecorded(context);
    }
    return true;
}

}  // namespace ovlet::picture
