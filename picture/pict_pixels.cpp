// The pixel data of CPictDecoder's images: bit maps, pixel maps and direct
// pixels, their colour tables and their rows, packed or not.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/byte_reader.h"
#include "picture/pict_decoder.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

using io::ReadU16Be;
using io::ReadU32Be;
using io::ReadU8;
using io::Skip;

namespace {

// rowBytes bit 15 marks a pixel map; bit 14 is reserved beside it.
constexpr std::uint16_t kPixMapFlag = 0x8000;
constexpr std::uint16_t kRowBytesFlags = 0xC000;
// ctFlags bit 15: entries are stored in order, their value words ignored.
constexpr std::uint16_t kDeviceColourTable = 0x8000;
// Rows longer than this carry a 16-bit byte count, shorter ones an 8-bit one.
constexpr std::int64_t kShortCountLimit = 250;
// Rows shorter than this are stored without packing.
constexpr std::int64_t kMinPackedRow = 8;
// PackBits makes at most this many bytes of each byte it reads: a repeat of
// 128 two-byte units from a flag and one unit.
constexpr std::int64_t kMaxPackBitsExpansion = 86;

// Expands one PackBits row of `packed` bytes into dest, writing at most
// capacity bytes (the rest of a longer run is dropped) and reading no more
// than the row's bytes. A unit is one byte, or two for 16-bit pixels.
// Returns the number of bytes written.
std::int64_t UnpackBitsRow(const std::uint8_t* packed, std::int64_t size, std::uint8_t* dest, std::int64_t capacity,
                           int unit) {
    std::int64_t in = 0, out = 0;
    while (in < size && out < capacity) {
        unsigned flag = packed[in++];
        if (flag < 128) {
            std::int64_t n = std::min<std::int64_t>((flag + 1) * std::int64_t{unit}, size - in);
            std::int64_t kept = std::min(n, capacity - out);
            std::memcpy(dest + out, packed + in, static_cast<std::size_t>(kept));
            in += n;
            out += kept;
        } else if (flag > 128) {
            if (size - in < unit) {
                break;
            }
            std::int64_t copies = 257 - flag;
            if (unit == 1) {
                std::int64_t kept = std::min(copies, capacity - out);
                std::memset(dest + out, packed[in], static_cast<std::size_t>(kept));
                out += kept;
            } else {
                for (std::int64_t c = 0; c < copies && out < capacity; ++c) {
                    std::int64_t kept = std::min<std::int64_t>(unit, capacity - out);
                    std::memcpy(dest + out, packed + in, static_cast<std::size_t>(kept));
                    out += kept;
                }
            }
            in += unit;
        }
        // Flag 128 is a no-op.
    }
    return out;
}

bool IsLegalPixelSize(int pixelSize) {
    return pixelSize == 1 || pixelSize == 2 || pixelSize == 4 || pixelSize == 8 || pixelSize == 16 || pixelSize == 32;
}

}  // namespace

void CPictDecoder::ReadBitsOpcode(bool region, RowForm form) {
    std::uint16_t rowBytes = ReadU16Be(*source);
    if (rowBytes & kPixMapFlag) {
        DoPixmap(rowBytes, region, form);
    } else {
        DoBitmap(rowBytes, region, form);
    }
}

void CPictDecoder::TraceRect(const char* label, const Rect& rect) const {
    TraceFormat(2, "%s (%d,%d) (%d,%d).\n", label, rect.left, rect.top, rect.right, rect.bottom);
}

void CPictDecoder::ReadPixmap(PixMap& pixMap) {
    pixMap.version = ReadU16Be(*source);
    pixMap.packType = ReadU16Be(*source);
    pixMap.packSize = ReadU32Be(*source);
    pixMap.hRes = ReadU32Be(*source);
    pixMap.vRes = ReadU32Be(*source);
    pixMap.pixelType = ReadU16Be(*source);
    pixMap.pixelSize = ReadU16Be(*source);
    pixMap.cmpCount = ReadU16Be(*source);
    pixMap.cmpSize = ReadU16Be(*source);
    pixMap.planeBytes = ReadU32Be(*source);
    pixMap.pmTable = ReadU32Be(*source);
    pixMap.pmReserved = ReadU32Be(*source);

    TraceMessage(2, "PixMap header info:\n");
    TraceRect("  Bounds:", pixMap.bounds);
    TraceFormat(2, "  version: 0x%x\n", pixMap.version);
    TraceFormat(2, "  packType: %d\n", pixMap.packType);
    TraceFormat(2, "  packSize: %ld\n", static_cast<long>(pixMap.packSize));
    TraceFormat(2, "  pixelSize: %d\n", pixMap.pixelSize);
    TraceFormat(2, "  cmpCount: %d\n", pixMap.cmpCount);
    TraceFormat(2, "  cmpSize: %d.\n", pixMap.cmpSize);
    TraceFormat(2, "  planeBytes: %ld.\n", static_cast<long>(pixMap.planeBytes));
}

std::unique_ptr<std::uint32_t[]> CPictDecoder::ReadColourTable() {
    TraceMessage(3, "Getting color table info.\n");
    Skip(*source, 4);  // seed
    std::uint16_t flags = ReadU16Be(*source);
    int count = ReadU16Be(*source) + 1;
    TraceFormat(2, "Palette Size:  %d\n", count);
    TraceMessage(3, "Reading Palette.\n");
    auto table = std::make_unique<std::uint32_t[]>(kColourTableEntries);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* e = source->ReadBytes(8);  // value, red, green, blue
        int index = (flags & kDeviceColourTable) ? i : (e[0] << 8 | e[1]);
        if (index >= count) {
            RaiseDecoderError(DECERR_FORMAT, "pixel value greater than colour table size.");
        }
        // Only the high byte of each 16-bit component is kept; entries that
        // an 8-bit index cannot reach are dropped.
        if (index < kColourTableEntries) {
            table[static_cast<std::size_t>(index)] = MakePixel(e[2], e[4], e[6]);
        }
    }
    return table;
}

void CPictDecoder::SkipPixData(const Rect& bounds, std::uint16_t rowBytes, int pixelSize) {
    std::int64_t rowSize = pixelSize <= 8 ? (rowBytes & ~kPixMapFlag) : rowBytes;
    if (rowSize == 0) {
        rowSize = pixelSize == 16 ? 2 * std::int64_t{bounds.Width()} : bounds.Width();
    }
    if (rowSize < kMinPackedRow) {
        Skip(*source, rowSize * bounds.Height());
        return;
    }
    for (int r = 0; r < bounds.Height(); ++r) {
        Skip(*source, rowSize > kShortCountLimit ? ReadU16Be(*source) : ReadU8(*source));
    }
}

void CPictDecoder::DoBitmap(std::uint16_t rowBytes, bool region, RowForm form) {
    TraceMessage(2, "Reading version 1 bitmap.\n");
    Rect bounds = ReadRect();
    TraceRect("  Bounds", bounds);
    if (RecordHeader(bounds, 1)) {
        return;
    }
    ReadRect();  // source rectangle
    ReadRect();  // destination rectangle

    std::uint32_t* table = NewColourTable();
    table[0] = MakePixel(255, 255, 255);  // a clear bit is white
    table[1] = MakePixel(0, 0, 0);        // a set bit is black
    ChooseDestDepth(1);
    RowLayout layout = MakeRowLayout(bounds, rowBytes & ~kPixMapFlag, 1, 0, form);
    CheckPictureSize(std::max<int>(bounds.Width(), 1), std::max<int>(bounds.Height(), 1), requestedDepth);
    CheckRowData(layout);
    bitmap->Create(bounds.Width(), bounds.Height(), static_cast<std::uint16_t>(requestedDepth), false);
    if (requestedDepth == 8) {
        bitmap->SetPalette(table);
    }

    Skip(*source, 2);  // transfer mode
    if (region) {
        SkipPolyOrRegion();
    }
    UnpackRows(layout);
    colourTable.reset();
}

void CPictDecoder::DoPixmap(std::uint16_t rowBytes, bool region, RowForm form) {
    PixMap pixMap{};
    pixMap.bounds = ReadRect();
    ReadPixmap(pixMap);
    if (RecordHeader(pixMap.bounds, pixMap.pixelSize)) {
        return;
    }
    ChooseDestDepth(pixMap.pixelSize);
    std::int64_t rowSize = pixMap.pixelSize <= 8 ? (rowBytes & ~kPixMapFlag) : rowBytes;
    RowLayout layout = MakeRowLayout(pixMap.bounds, rowSize, pixMap.pixelSize, pixMap.cmpCount, form);
    CreatePictBitmap(pixMap, layout);

    colourTable = ReadColourTable();
    if (bitmap->GetBitsPerPixel() == 8) {
        bitmap->SetPalette(colourTable.get());
    }
    ReadRect();        // source rectangle
    ReadRect();        // destination rectangle
    Skip(*source, 2);  // transfer mode
    if (region) {
        SkipPolyOrRegion();
    }
    UnpackRows(layout);
}

void CPictDecoder::DoDirectBits(bool region) {
    Skip(*source, 4);  // base address
    // The stored rowBytes, without its flag bits, decides between 8- and
    // 16-bit row counts as it does for the indexed maps.
    std::int64_t rowSize = ReadU16Be(*source) & ~kRowBytesFlags;
    PixMap pixMap{};
    pixMap.bounds = ReadRect();
    ReadPixmap(pixMap);
    if (RecordHeader(pixMap.bounds, pixMap.pixelSize)) {
        return;
    }
    ReadRect();        // source rectangle
    ReadRect();        // destination rectangle
    Skip(*source, 2);  // transfer mode
    if (region) {
        SkipPolyOrRegion();
    }
    ChooseDestDepth(pixMap.pixelSize);
    RowLayout layout = MakeRowLayout(pixMap.bounds, rowSize, pixMap.pixelSize, pixMap.cmpCount, RowForm::Packed);
    CreatePictBitmap(pixMap, layout);
    if (pixMap.pixelSize <= 8 && IsLegalPixelSize(pixMap.pixelSize)) {
        // A direct map of indices has no colour table: it is shown in grey.
        std::uint32_t* table = NewColourTable();
        int levels = (1 << pixMap.pixelSize) - 1;
        for (int i = 0; i <= levels; ++i) {
            auto grey = static_cast<std::uint8_t>(i * 255 / levels);
            table[i] = MakePixel(grey, grey, grey);
        }
        if (bitmap->GetBitsPerPixel() == 8) {
            bitmap->SetPalette(table);
        }
    }
    UnpackRows(layout);
}

void CPictDecoder::CreatePictBitmap(const PixMap& pixMap, const RowLayout& layout) {
    // 32-bit pixels have no 8-bit form, so they come out at 32 bits whatever
    // depth was asked for.
    int depth = requestedDepth == 32 || pixMap.pixelSize == 32 ? 32 : 8;
    bool alpha = depth == 32 && pixMap.cmpCount == 4;
    // Zero counts as 1, so a picture of no pixels cannot ask for a huge line table.
    CheckPictureSize(std::max<int>(pixMap.bounds.Width(), 1), std::max<int>(pixMap.bounds.Height(), 1), depth);
    CheckRowData(layout);
    bitmap->Create(pixMap.bounds.Width(), pixMap.bounds.Height(), static_cast<std::uint16_t>(depth), alpha);
}

CPictDecoder::RowLayout CPictDecoder::MakeRowLayout(const Rect& bounds, std::int64_t rowSize, int pixelSize,
                                                    int cmpCount, RowForm form) const {
    RowLayout layout;
    layout.width = bounds.Width();
    layout.height = bounds.Height();
    layout.pixelSize = pixelSize;
    // 32-bit rows hold three planes (red, green, blue) or four (alpha first).
    layout.planes = cmpCount == 3 ? 3 : 4;
    layout.needed = pixelSize == 32 ? layout.planes * layout.width : (layout.width * pixelSize + 7) / 8;
    if (rowSize == 0) {
        rowSize = pixelSize == 32 ? cmpCount * layout.width : pixelSize == 16 ? 2 * layout.width : layout.width;
    }
    layout.rowSize = rowSize;
    layout.packed = form == RowForm::Packed && (rowSize >= kMinPackedRow || pixelSize == 32);
    layout.longCount = rowSize > kShortCountLimit;
    layout.unit = pixelSize == 16 ? 2 : 1;
    return layout;
}

void CPictDecoder::CheckRowData(const RowLayout& layout) const {
    std::int64_t left = source->GetBytesLeft();
    if (!layout.packed) {
        if (layout.rowSize * layout.height > left) {
            io::ThrowEndOfData();
        }
        return;
    }
    // Every packed row has its byte count, and PackBits makes at most
    // kMaxPackBitsExpansion bytes of each byte it reads.
    std::int64_t counts = layout.height * (layout.longCount ? 2 : 1);
    RequireData(layout.width * layout.height,
                counts <= left && layout.needed * layout.height <= kMaxPackBitsExpansion * left);
}

std::int64_t CPictDecoder::ReadRow(const RowLayout& layout, std::uint8_t* scratch, std::int64_t capacity) {
    if (!layout.packed) {
        if (!io::HasBytes(*source, layout.rowSize)) {
            io::ThrowEndOfData();
        }
        const std::uint8_t* data = source->ReadBytes(static_cast<std::int32_t>(layout.rowSize));
        std::memcpy(scratch, data, static_cast<std::size_t>(layout.rowSize));
        return layout.rowSize;
    }
    std::int32_t count = layout.longCount ? ReadU16Be(*source) : ReadU8(*source);
    const std::uint8_t* data = source->ReadBytes(count);
    return UnpackBitsRow(data, count, scratch, capacity, layout.unit);
}

void CPictDecoder::ConvertRow(const RowLayout& layout, const std::uint8_t* s, std::uint8_t* line) const {
    std::int64_t width = layout.width;
    int pixelSize = layout.pixelSize;
    auto* dest = reinterpret_cast<std::uint32_t*>(line);
    if (pixelSize == 32) {
        if (layout.planes == 3) {
            const std::uint8_t *red = s, *green = s + width, *blue = s + 2 * width;
            for (std::int64_t x = 0; x < width; ++x) {
                dest[x] = MakePixel(red[x], green[x], blue[x]);
            }
        } else {
            const std::uint8_t *alpha = s, *red = s + width, *green = s + 2 * width, *blue = s + 3 * width;
            for (std::int64_t x = 0; x < width; ++x) {
                dest[x] = MakePixel(red[x], green[x], blue[x], alpha[x]);
            }
        }
    } else if (pixelSize == 16) {
        for (std::int64_t x = 0; x < width; ++x) {
            unsigned w = (unsigned{s[2 * x]} << 8) | s[2 * x + 1];
            dest[x] = MakePixel(static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3),
                                static_cast<std::uint8_t>(((w >> 5) & 0x1F) << 3),
                                static_cast<std::uint8_t>((w & 0x1F) << 3));
        }
    } else {
        IndexedRowToLine(line, s, static_cast<int>(width), pixelSize);
    }
}

void CPictDecoder::UnpackRows(const RowLayout& layout) {
    if (!IsLegalPixelSize(layout.pixelSize)) {
        char text[64];
        std::snprintf(text, sizeof text, "Illegal bpp value in unpackbits: %d\n", layout.pixelSize);
        RaiseDecoderError(DECERR_FORMAT, text);
    }
    if (bitmap->GetBitsPerPixel() != 32 && layout.pixelSize == 16) {
        RaiseDecoderError(DECERR_FORMAT, "Bad bits per pixel in expandBuf8.");
    }
    // The scratch row holds a whole stored row and every byte the pixels
    // need; bytes a short row leaves unwritten read as 0.
    std::int64_t capacity = std::max(layout.rowSize, layout.needed);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(capacity) + 1);
    for (std::int64_t r = 0; r < layout.height; ++r) {
        std::int64_t produced = ReadRow(layout, scratch.data(), capacity);
        if (produced < layout.needed) {
            std::memset(scratch.data() + produced, 0, static_cast<std::size_t>(layout.needed - produced));
        }
        ConvertRow(layout, scratch.data(), bitmap->GetLineTable()[r]);
    }
}

}  // namespace ovlet::picture
