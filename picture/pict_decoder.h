// CPictDecoder: the first raster image of a QuickDraw picture (versions 1
// and 2). The decoder walks the opcode stream, skipping every drawing, text,
// pattern and comment opcode by its data length, decodes the first bit map,
// pixel map or embedded JPEG picture it meets, and stops there. The opcode
// walk is in pict_decoder.cpp, the pixel data in pict_pixels.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/pic_decoder.h"

namespace ovlet::picture {

class CJPEGDecoder;

class CPictDecoder : public CPicDecoder {
public:
    // jpegDecoder takes over JPEG data embedded in a picture; it is not
    // owned and may be null, in which case such pictures are refused.
    explicit CPictDecoder(CJPEGDecoder* jpegDecoder = nullptr);

protected:
    void DecodeImage() override;
    PictureHeader ReadImageHeader() override;

private:
    struct Rect {
        std::uint16_t top, left, bottom, right;
        std::uint16_t Width() const { return static_cast<std::uint16_t>(right - left); }
        std::uint16_t Height() const { return static_cast<std::uint16_t>(bottom - top); }
    };
    struct PixMap {
        Rect bounds;
        std::uint16_t version;
        std::uint16_t packType;
        std::uint32_t packSize;
        std::uint32_t hRes;
        std::uint32_t vRes;
        std::uint16_t pixelType;
        std::uint16_t pixelSize;
        std::uint16_t cmpCount;
        std::uint16_t cmpSize;
        std::uint32_t planeBytes;
        std::uint32_t pmTable;
        std::uint32_t pmReserved;
    };
    // How the rows of an image are stored.
    enum class RowForm {
        Packed,    // PackBits rows with a byte count, unless the row is under 8 bytes
        Unpacked,  // every row as it stands (BitsRect, BitsRgn)
    };

    // Header and opcode stream (pict_decoder.cpp).
    // From the application header to the first image, which it decodes
    // (or, with headerOnly, measures).
    void WalkPicture();
    void ReadPictHeader();
    int ReadOpcode();
    void InterpretOpcodes();
    void SkipClipRegion();
    void SkipPolyOrRegion();
    void SkipText(int opcode);
    void pixPat();
    void SkipLongComment();
    void DecodeQuickTimeJpeg();
    Rect ReadRect();

    // Pixel data (pict_pixels.cpp).
    void ReadBitsOpcode(bool region, RowForm form);
    void TraceRect(const char* label, const Rect& rect) const;
    void ReadPixmap(PixMap& pixMap);
    // Returns a new 256-entry table; entries past 256 are read and dropped.
    std::unique_ptr<std::uint32_t[]> ReadColourTable();
    void SkipPixData(const Rect& bounds, std::uint16_t rowBytes, int pixelSize);
    void DoBitmap(std::uint16_t rowBytes, bool region, RowForm form);
    void DoPixmap(std::uint16_t rowBytes, bool region, RowForm form);
    void DoDirectBits(bool region);
    // How the rows of one image are stored.
    struct RowLayout {
        std::int64_t width = 0;
        std::int64_t height = 0;
        int pixelSize = 0;
        int planes = 0;            // of 32-bit rows: 3 (red, green, blue) or 4 (alpha first)
        std::int64_t needed = 0;   // bytes of a row that its pixels take
        std::int64_t rowSize = 0;  // bytes of a stored row
        bool packed = false;       // PackBits rows, each after its byte count
        bool longCount = false;    // the byte count takes two bytes, not one
        int unit = 1;              // PackBits unit: two bytes for 16-bit pixels
    };
    // rowSize is the stored row length, 0 meaning one derived from the width.
    RowLayout MakeRowLayout(const Rect& bounds, std::int64_t rowSize, int pixelSize, int cmpCount, RowForm form) const;
    // Before the bitmap is made: fails with end of data when the rest of the
    // data cannot hold the rows (for packed rows of a large picture, when it
    // could not even unpack into them).
    void CheckRowData(const RowLayout& layout) const;
    void CreatePictBitmap(const PixMap& pixMap, const RowLayout& layout);
    // Reads one stored row into scratch (at most capacity bytes); returns
    // the bytes it made.
    std::int64_t ReadRow(const RowLayout& layout, std::uint8_t* scratch, std::int64_t capacity);
    // Turns one row of stored pixels into a bitmap line.
    void ConvertRow(const RowLayout& layout, const std::uint8_t* row, std::uint8_t* line) const;
    // Decodes every row of an image into the bitmap.
    void UnpackRows(const RowLayout& layout);

    // Set while only the header is read: the opcode walk then stops at the
    // first image and records its size here instead of decoding it.
    PictureHeader* headerOnly = nullptr;
    // Records an image's size and depth when only the header is read.
    bool RecordHeader(const Rect& bounds, int pixelSize);

    CJPEGDecoder* jpegDecoder;
    int version = 0;
    // Offset of the picture's first byte in the source; version 2 opcodes
    // start at even offsets from it.
    std::int32_t dataStart = 0;
};

}  // namespace ovlet::picture
