// CPicDecoder: the base of every picture decoder. It fixes the decoding
// sequence (open the input, decode into a caller-owned bitmap, release
// everything whether or not the decode succeeded) and offers the helpers the
// format decoders share.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/bmp.h"
#include "picture/data_source.h"

namespace ovlet::picture {

// The formats the library tells apart by their first bytes.
enum class PictureFormat : int {
    Unknown = 0,
    WindowsBitmap = 1,
    MacPict = 2,
    Targa = 3,
    Tiff = 4,
    Jpeg = 5,
    Png = 6,
    EpsTiff = 7,
};

// A short lower-case name: "unknown", "bmp", "pict", "tga", "tiff", "jpeg",
// "png", "eps".
const char* PictureFormatName(PictureFormat format);

// What a picture's header says, read without decoding its pixels.
struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    // The size a full decode of the picture gives.
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Bits of one stored pixel, all its samples together (24 for an 8-bit
    // RGB picture, 1 for a bilevel one).
    int bitsPerPixel = 0;
};

class CPicDecoder {
public:
    CPicDecoder() = default;
    CPicDecoder(const CPicDecoder&) = delete;
    CPicDecoder& operator=(const CPicDecoder&) = delete;
    virtual ~CPicDecoder() = default;

    // Decodes the named file into the bitmap. requestedDepth is 0 (the
    // decoder chooses), 8 or 32; any other value counts as 0. Failures are
    // thrown as CTextException; a failed decode leaves the bitmap as it was.
    virtual void DecodeFile(const char* path, CBmp* bitmap, int requestedDepth);
    // The same from an opened source, starting at its read position.
    virtual void DecodeSource(CDataSource* source, CBmp* bitmap, int requestedDepth);
    // The same from size bytes in memory; `name` names them in error texts.
    void DecodeMemory(const char* name, const std::uint8_t* data, std::int32_t size, CBmp* bitmap, int requestedDepth);

    // Decodes no more pixels than a picture shown at least minWidth x
    // minHeight pixels large needs: a decoder that can shrink a picture while
    // decoding it (JPEG, by 1/2, 1/4 or 1/8) delivers the smallest such
    // picture that is still at least that large both ways; the others deliver
    // the whole picture. Everything else is as DecodeSource.
    virtual void DecodeSourceReduced(CDataSource* source, CBmp* bitmap, int requestedDepth, std::int32_t minWidth,
                                     std::int32_t minHeight);

    // Decodes a picture that is to be shown shrunk to fit a box of boxWidth
    // x boxHeight pixels (never enlarged): reads its header, then decodes it
    // with DecodeSourceReduced no larger than the shrunk picture needs.
    // Returns the header, which tells the picture's own size.
    PictureHeader DecodeSourceToFit(CDataSource* source, CBmp* bitmap, int requestedDepth, std::int32_t boxWidth,
                                    std::int32_t boxHeight);
    PictureHeader DecodeFileToFit(const char* path, CBmp* bitmap, int requestedDepth, std::int32_t boxWidth,
                                  std::int32_t boxHeight);

    // Reads the header of the picture at the source's read position, and
    // only as much of the data after it as the format needs to find the
    // image's size; the source's read position does not move. A header that
    // cannot be read fails as a decode would.
    virtual PictureHeader ReadHeader(CDataSource* source);
    // The same for a file.
    PictureHeader ReadFileHeader(const char* path);
    // The same for size bytes in memory.
    PictureHeader ReadMemoryHeader(const char* name, const std::uint8_t* data, std::int32_t size);

    // Limits a picture's size below the bitmap's own (kMaxPixelCount,
    // kMaxBitmapBytes); a larger picture fails with DECERR_FORMAT before
    // anything is allocated for it.
    virtual void SetPictureLimits(std::int64_t maxPixels, std::int64_t maxBitmapBytes);

    // The number of entries of every colour table a decoder allocates, so an
    // 8-bit index never leaves it.
    static constexpr int kColourTableEntries = 256;
    // A picture of more pixels than this must come with data that could
    // describe it, or it fails at once with DECERR_END_OF_DATA (see
    // RequireData); a smaller one is decoded even from a few bytes, which
    // costs at most 16 MiB and a few milliseconds.
    static constexpr std::int64_t kSmallPicturePixels = std::int64_t{1} << 22;

protected:
    // The work of one format; does nothing here.
    virtual void DecodeImage();
    // The header step of one format, reading from `source`; here it refuses
    // with DECERR_UNSUPPORTED.
    virtual PictureHeader ReadImageHeader();

    // With no requested depth, asks for 8 bits when the picture has 8 or
    // fewer, else 32. An explicit request stays.
    void ChooseDestDepth(int sourceDepth);
    // Raises DECERR_FORMAT when a picture of this size and output depth
    // exceeds the limits; call it with the header's values before allocating.
    // workBytes is what the decoder itself needs beside the bitmap for it
    // (a library's buffers); it counts against the same memory limit.
    void CheckPictureSize(std::int64_t width, std::int64_t height, int bitsPerPixel, std::int64_t workBytes = 0) const;
    // Raises DECERR_END_OF_DATA when a picture of more than
    // kSmallPicturePixels pixels comes without enough data to describe it.
    void RequireData(std::int64_t pixels, bool enoughData) const;
    // Allocates the working colour table (kColourTableEntries entries, all 0).
    std::uint32_t* NewColourTable();

    // Writes count 32-bit values colourTable[index], the indices of
    // `bitsPerIndex` (1, 2, 4 or 8) bits packed most significant bits first.
    // A pixel count that is not a multiple of the pixels per byte takes the
    // rest from the top bits of one more byte.
    void ExpandIndices(std::uint32_t* dest, const std::uint8_t* src, int count, int bitsPerIndex) const;
    // Writes a stored row of count packed indices into a line of the bitmap:
    // their colours when the bitmap has 32 bits, else the indices themselves,
    // a byte each.
    void IndexedRowToLine(std::uint8_t* line, const std::uint8_t* src, int count, int bitsPerIndex) const;

    CDataSource* source = nullptr;
    CBmp* bitmap = nullptr;
    std::unique_ptr<std::uint32_t[]> colourTable;
    int requestedDepth = 0;
    // The smallest picture DecodeSourceReduced asks for; 0 x 0 outside it.
    std::int32_t minOutputWidth = 0;
    std::int32_t minOutputHeight = 0;
    std::int64_t maxPixels = kMaxPixelCount;
    std::int64_t maxBitmapBytes = kMaxBitmapBytes;
};

// Bytes of the bitmap storage for a picture, as CheckPictureSize counts them.
std::int64_t BitmapBytesFor(std::int64_t width, std::int64_t height, int bitsPerPixel);

}  // namespace ovlet::picture
