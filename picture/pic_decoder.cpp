#include "picture/pic_decoder.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "picture/text_exception.h"

namespace ovlet::picture {

namespace {

// Decoder lines are formatted into 256-character buffers.
constexpr std::size_t kLineBufferSize = 256;

}  // namespace

namespace {

// Opens the file as a source or raises the error of the failed opening.
void OpenOrRaise(CFileSource& fileSource, const char* path) {
    int status = fileSource.OpenFile(path);
    if (status != 0) {
        char line[kLineBufferSize];
        std::snprintf(line, sizeof line, "Opening %s failed", path);
        RaiseDecoderError(status, line);
    }
}

}  // namespace

void CPicDecoder::DecodeFile(const char* path, CBmp* target, int depth) {
    if (!path) {
        path = "";
    }
    char line[kLineBufferSize];
    std::snprintf(line, sizeof line, "--- Decoding file %s. ---\n", path);
    TraceMessage(1, line);

    // The source lives on this frame, so every way out, a thrown error
    // included, unmaps the view and closes the file.
    CFileSource fileSource;
    OpenOrRaise(fileSource, path);
    DecodeSource(&fileSource, target, depth);
    fileSource.Close();
}

PictureHeader CPicDecoder::ReadFileHeader(const char* path) {
    CFileSource fileSource;
    OpenOrRaise(fileSource, path ? path : "");
    return ReadHeader(&fileSource);
}

void CPicDecoder::DecodeMemory(const char* name, const std::uint8_t* data, std::int32_t size, CBmp* target, int depth) {
    char line[kLineBufferSize];
    std::snprintf(line, sizeof line, "--- Decoding %s. ---\n", name ? name : "");
    TraceMessage(1, line);
    CDataSource memory;
    memory.OpenData(name, data, size);
    DecodeSource(&memory, target, depth);
}

PictureHeader CPicDecoder::ReadMemoryHeader(const char* name, const std::uint8_t* data, std::int32_t size) {
    CDataSource memory;
    memory.OpenData(name, data, size);
    return ReadHeader(&memory);
}

PictureHeader CPicDecoder::ReadHeader(CDataSource* callerSource) {
    // The format's header step reads through a view of its own over the same
    // bytes, so the caller's read position stays where it was.
    CDataSource view;
    view.OpenData(callerSource->GetName(), callerSource->GetReadPointer(), callerSource->GetBytesLeft());
    source = &view;
    bitmap = nullptr;
    colourTable.reset();
    PictureHeader header = ReadImageHeader();
    source = nullptr;
    return header;
}

PictureHeader CPicDecoder::ReadImageHeader() {
    RaiseDecoderError(DECERR_UNSUPPORTED, "Library not compiled for this file type.");
}

void CPicDecoder::DecodeSource(CDataSource* newSource, CBmp* target, int depth) {
    source = newSource;
    bitmap = target;
    colourTable.reset();
    requestedDepth = (depth == 8 || depth == 32) ? depth : 0;
    // A half-made picture is never handed back: a failure leaves the bitmap
    // as it was before the decode.
    target->OpenReplacement();
    try {
        DecodeImage();
    } catch (...) {
        colourTable.reset();
        target->CloseReplacement(false);
        throw;
    }
    colourTable.reset();
    target->CloseReplacement(true);
}

void CPicDecoder::DecodeSourceReduced(CDataSource* newSource, CBmp* target, int depth, std::int32_t minWidth,
                                      std::int32_t minHeight) {
    struct Reset {
        CPicDecoder& decoder;
        ~Reset() { decoder.minOutputWidth = decoder.minOutputHeight = 0; }
    } reset{*this};
    minOutputWidth = minWidth > 0 ? minWidth : 0;
    minOutputHeight = minHeight > 0 ? minHeight : 0;
    DecodeSource(newSource, target, depth);
}

PictureHeader CPicDecoder::DecodeSourceToFit(CDataSource* newSource, CBmp* target, int depth, std::int32_t boxWidth,
                                             std::int32_t boxHeight) {
    PictureHeader header = ReadHeader(newSource);
    // The size the picture is shown at: shrunk by the smaller of the two
    // ratios, never enlarged, each side rounded up.
    double factor = 1.0;
    if (header.width > 0 && header.height > 0) {
        factor = std::min(
            {1.0, static_cast<double>(boxWidth) / header.width, static_cast<double>(boxHeight) / header.height});
    }
    factor = std::max(factor, 0.0);
    auto shown = [factor](std::int32_t side) {
        return static_cast<std::int32_t>(std::max(1.0, std::ceil(side * factor)));
    };
    DecodeSourceReduced(newSource, target, depth, shown(header.width), shown(header.height));
    return header;
}

PictureHeader CPicDecoder::DecodeFileToFit(const char* path, CBmp* target, int depth, std::int32_t boxWidth,
                                           std::int32_t boxHeight) {
    CFileSource fileSource;
    OpenOrRaise(fileSource, path ? path : "");
    return DecodeSourceToFit(&fileSource, target, depth, boxWidth, boxHeight);
}

void CPicDecoder::SetPictureLimits(std::int64_t pixels, std::int64_t bytes) {
    maxPixels = pixels < kMaxPixelCount ? pixels : kMaxPixelCount;
    maxBitmapBytes = bytes < kMaxBitmapBytes ? bytes : kMaxBitmapBytes;
}

void CPicDecoder::DecodeImage() {}

void CPicDecoder::ChooseDestDepth(int sourceDepth) {
    if (requestedDepth == 0) {
        requestedDepth = sourceDepth <= 8 ? 8 : 32;
    }
}

std::int64_t BitmapBytesFor(std::int64_t width, std::int64_t height, int bitsPerPixel) {
    return CBmp::MemoryFor(width, height, bitsPerPixel);
}

void CPicDecoder::CheckPictureSize(std::int64_t width, std::int64_t height, int bitsPerPixel,
                                   std::int64_t workBytes) const {
    if (width < 0 || height < 0) {
        RaiseDecoderError(DECERR_FORMAT, "Picture has a negative width or height.");
    }
    // Header fields are at most 32 bits wide, so the product fits in 64 bits.
    if (width * height > maxPixels || BitmapBytesFor(width, height, bitsPerPixel) + workBytes > maxBitmapBytes) {
        char text[128];
        std::snprintf(text, sizeof text, "Picture too large: %" PRId64 " x %" PRId64 " pixels.", width, height);
        RaiseDecoderError(DECERR_FORMAT, text);
    }
}

void CPicDecoder::RequireData(std::int64_t pixels, bool enoughData) const {
    if (pixels > kSmallPicturePixels && !enoughData) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
}

std::uint32_t* CPicDecoder::NewColourTable() {
    colourTable = std::make_unique<std::uint32_t[]>(kColourTableEntries);
    return colourTable.get();
}

namespace {

// Expands indices of `bitsPerIndex` bits, most significant first.
template <int bitsPerIndex>
void ExpandPackedIndices(const std::uint32_t* table, std::uint32_t* dest, const std::uint8_t* src, int count) {
    constexpr int perByte = 8 / bitsPerIndex;
    constexpr unsigned mask = (1u << bitsPerIndex) - 1;
    int wholeBytes = count / perByte;
    for (int i = 0; i < wholeBytes; ++i) {
        unsigned byte = src[i];
        for (int j = 0; j < perByte; ++j) {
            *dest++ = table[(byte >> (8 - bitsPerIndex * (j + 1))) & mask];
        }
    }
    if (int rest = count % perByte; rest > 0) {
        unsigned byte = src[wholeBytes];
        for (int j = 0; j < rest; ++j) {
            *dest++ = table[(byte >> (8 - bitsPerIndex * (j + 1))) & mask];
        }
    }
}

}  // namespace

void CPicDecoder::ExpandIndices(std::uint32_t* dest, const std::uint8_t* src, int count, int bitsPerIndex) const {
    const std::uint32_t* table = colourTable.get();
    switch (bitsPerIndex) {
        case 1:
            ExpandPackedIndices<1>(table, dest, src, count);
            break;
        case 2:
            ExpandPackedIndices<2>(table, dest, src, count);
            break;
        case 4:
            ExpandPackedIndices<4>(table, dest, src, count);
            break;
        default:
            ExpandPackedIndices<8>(table, dest, src, count);
            break;
    }
}

void CPicDecoder::IndexedRowToLine(std::uint8_t* line, const std::uint8_t* src, int count, int bitsPerIndex) const {
    if (bitmap->GetBitsPerPixel() == 32) {
        ExpandIndices(reinterpret_cast<std::uint32_t*>(line), src, count, bitsPerIndex);
    } else if (bitsPerIndex == 8) {
        std::memcpy(line, src, static_cast<std::size_t>(count));
    } else {
        const int perByte = 8 / bitsPerIndex;
        const unsigned mask = (1u << bitsPerIndex) - 1;
        for (int x = 0; x < count; ++x) {
            const int shift = 8 - bitsPerIndex * (x % perByte + 1);
            line[x] = static_cast<std::uint8_t>((unsigned{src[x / perByte]} >> shift) & mask);
        }
    }
}

}  // namespace ovlet::picture
