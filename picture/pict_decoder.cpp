#include "picture/pict_decoder.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/byte_reader.h"
#include "picture/jpeg_decoder.h"
#include "picture/text_exception.h"

using picture_io::ReadU16Be;
using picture_io::ReadU32Be;
using picture_io::ReadU8;
using picture_io::Skip;

namespace {

// The application header that precedes every picture file.
constexpr std::int32_t kApplicationHeaderBytes = 512;
constexpr std::uint8_t kVersionOpcode = 0x11;
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

// Data lengths of the opcodes 0x00 to 0xA1: bytes to skip, kLengthWord for a
// 16-bit length word followed by that many bytes, or 0 for opcodes that have
// routines of their own.
constexpr int kLengthWord = -1;

struct OpcodeInfo {
    const char* name;
    int length;
};

constexpr int kOpcodeCount = 0xA2;

constexpr std::array<OpcodeInfo, kOpcodeCount> MakeOpcodeTable() {
    std::array<OpcodeInfo, kOpcodeCount> t{};
    const char* first[] = {"NOP",      "Clip",     "BkPat",      "TxFont",     "TxFace",  "TxMode",
                           "SpExtra",  "PnSize",   "PnMode",     "PnPat",      "FillPat", "OvSize",
                           "Origin",   "TxSize",   "FgColor",    "BkColor",    "TxRatio", "Version",
                           "BkPixPat", "PnPixPat", "FillPixPat", "PnLocHFrac", "ChExtra"};
    const int firstLength[] = {0, 0, 8, 2, 1, 2, 4, 4, 2, 8, 8, 4, 4, 2, 4, 4, 8, 1, 0, 0, 0, 2, 2};
    for (std::size_t i = 0; i <= 0x16; ++i) {
        t[i] = {first[i], firstLength[i]};
    }
    for (std::size_t i = 0x17; i <= 0x19; ++i) {
        t[i] = {"reserved", 0};
    }
    t[0x1A] = {"RGBFgCol", 6};
    t[0x1B] = {"RGBBkCol", 6};
    t[0x1C] = {"HiliteMode", 0};
    t[0x1D] = {"HiliteColor", 6};
    t[0x1E] = {"DefHilite", 0};
    t[0x1F] = {"OpColor", 6};
    t[0x20] = {"Line", 8};
    t[0x21] = {"LineFrom", 4};
    t[0x22] = {"ShortLine", 6};
    t[0x23] = {"ShortLineFrom", 2};
    for (std::size_t i = 0x24; i <= 0x27; ++i) {
        t[i] = {"reserved", kLengthWord};
    }
    t[0x28] = {"LongText", 0};
    t[0x29] = {"DHText", 0};
    t[0x2A] = {"DVText", 0};
    t[0x2B] = {"DHDVText", 0};
    for (std::size_t i = 0x2C; i <= 0x2F; ++i) {
        t[i] = {"reserved", kLengthWord};
    }
    // Eight-opcode families: five shape verbs and three reserved slots,
    // first with their own geometry, then the "same" form without it.
    struct Family {
        std::size_t base;
        const char* names[5];
        int length;
    };
    const Family families[] = {
        {0x30, {"frameRect", "paintRect", "eraseRect", "invertRect", "fillRect"}, 8},
        {0x38, {"frameSameRect", "paintSameRect", "eraseSameRect", "invertSameRect", "fillSameRect"}, 0},
        {0x40, {"frameRRect", "paintRRect", "eraseRRect", "invertRRect", "fillRRrect"}, 8},
        {0x48, {"frameSameRRect", "paintSameRRect", "eraseSameRRect", "invertSameRRect", "fillSameRRect"}, 0},
        {0x50, {"frameOval", "paintOval", "eraseOval", "invertOval", "fillOval"}, 8},
        {0x58, {"frameSameOval", "paintSameOval", "eraseSameOval", "invertSameOval", "fillSameOval"}, 0},
        {0x60, {"frameArc", "paintArc", "eraseArc", "invertArc", "fillArc"}, 12},
        {0x68, {"frameSameArc", "paintSameArc", "eraseSameArc", "invertSameArc", "fillSameArc"}, 4},
        {0x70, {"framePoly", "paintPoly", "erasePoly", "invertPoly", "fillPoly"}, 0},
        {0x78, {"frameSamePoly", "paintSamePoly", "eraseSamePoly", "invertSamePoly", "fillSamePoly"}, 0},
        {0x80, {"frameRgn", "paintRgn", "eraseRgn", "invertRgn", "fillRgn"}, 0},
        {0x88, {"frameSameRgn", "paintSameRgn", "eraseSameRgn", "invertSameRgn", "fillSameRgn"}, 0},
    };
    for (const Family& f : families) {
        for (std::size_t i = 0; i < 8; ++i) {
            t[f.base + i] = {i < 5 ? f.names[i] : "reserved", f.length};
        }
    }
    t[0x90] = {"BitsRect", 0};
    t[0x91] = {"BitsRgn", 0};
    for (std::size_t i = 0x92; i <= 0x97; ++i) {
        t[i] = {"reserved", kLengthWord};
    }
    t[0x98] = {"PackBitsRect", 0};
    t[0x99] = {"PackBitsRgn", 0};
    t[0x9A] = {"Opcode_9A", 0};
    for (std::size_t i = 0x9B; i <= 0x9F; ++i) {
        t[i] = {"reserved", kLengthWord};
    }
    t[0xA0] = {"ShortComment", 2};
    t[0xA1] = {"LongComment", 0};
    return t;
}

constexpr std::array<OpcodeInfo, kOpcodeCount> kOpcodeTable = MakeOpcodeTable();

#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void TraceFormat(int level, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TraceMessage(level, line);
}

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

CPictDecoder::CPictDecoder(CJPEGDecoder* jpeg) : jpegDecoder(jpeg) {}

void CPictDecoder::DecodeImage() {
    TraceMessage(2, "Decoding mac pict.\n");
    dataStart = source->GetSize() - source->GetBytesLeft();
    source->ReadBytes(kApplicationHeaderBytes);
    ReadPictHeader();
    InterpretOpcodes();
}

PictureHeader CPictDecoder::ReadImageHeader() {
    PictureHeader header{PictureFormat::MacPict};
    struct Reset {
        PictureHeader*& target;
        ~Reset() { target = nullptr; }
    } reset{headerOnly};
    headerOnly = &header;
    dataStart = source->GetSize() - source->GetBytesLeft();
    source->ReadBytes(kApplicationHeaderBytes);
    ReadPictHeader();
    InterpretOpcodes();
    return header;
}

bool CPictDecoder::RecordHeader(const Rect& bounds, int pixelSize) {
    if (!headerOnly) {
        return false;
    }
    headerOnly->width = bounds.Width();
    headerOnly->height = bounds.Height();
    headerOnly->bitsPerPixel = pixelSize;
    return true;
}

void CPictDecoder::ReadPictHeader() {
    source->ReadBytes(2);  // picture size, meaningless beyond 64 KiB
    ReadRect();            // picture frame; each image gives its own bounds
    std::uint8_t byte;
    do {
        byte = ReadU8(*source);
    } while (byte == 0);
    if (byte != kVersionOpcode) {
        RaiseDecoderError(DECERR_SIGNATURE, "Error decoding pict: Version number missing.");
    }
    byte = ReadU8(*source);
    if (byte == 1) {
        version = 1;
    } else if (byte == 2 && ReadU8(*source) == 0xFF) {
        version = 2;
    } else {
        RaiseDecoderError(DECERR_SIGNATURE, "Illegal version number.");
    }
    TraceFormat(2, "PICT version %d found.\n", version);
}

int CPictDecoder::ReadOpcode() {
    if (version == 1) {
        return ReadU8(*source);
    }
    std::int32_t offset = source->GetSize() - source->GetBytesLeft() - dataStart;
    if (offset % 2 != 0) {
        source->ReadBytes(1);
    }
    return ReadU16Be(*source);
}

void CPictDecoder::InterpretOpcodes() {
    for (;;) {
        int opcode = ReadOpcode();
        if (opcode == 0x00FF || opcode == 0xFFFF) {
            TraceMessage(2, "Opcode: End of pict.\n");
            RaiseDecoderError(DECERR_UNSUPPORTED, "PICT contained only vector data!\n");
        }
        if (opcode < kOpcodeCount) {
            const OpcodeInfo& info = kOpcodeTable[static_cast<std::size_t>(opcode)];
            if (std::strcmp(info.name, "reserved") == 0) {
                TraceFormat(2, "Opcode: reserved=0x%x\n", static_cast<unsigned>(opcode));
            } else {
                TraceFormat(2, "Opcode: %s\n", info.name);
            }
            switch (opcode) {
                case 0x01:
                    SkipClipRegion();
                    break;
                case 0x12:
                case 0x13:
                case 0x14:
                    pixPat();
                    break;
                case 0x28:
                case 0x29:
                case 0x2A:
                case 0x2B:
                    SkipText(opcode);
                    break;
                case 0x70:
                case 0x71:
                case 0x72:
                case 0x73:
                case 0x74:
                case 0x75:
                case 0x76:
                case 0x77:
                case 0x80:
                case 0x81:
                case 0x82:
                case 0x83:
                case 0x84:
                    SkipPolyOrRegion();
                    break;
                case 0x90:
                    ReadBitsOpcode(false, RowForm::Unpacked);
                    return;
                case 0x91:
                    ReadBitsOpcode(true, RowForm::Unpacked);
                    return;
                case 0x98:
                    ReadBitsOpcode(false, RowForm::Packed);
                    return;
                case 0x99:
                    ReadBitsOpcode(true, RowForm::Packed);
                    return;
                case 0x9A:
                    DoDirectBits(false);
                    return;
                case 0x9B:
                    DoDirectBits(true);
                    return;
                case 0xA1:
                    SkipLongComment();
                    break;
                default:
                    if (info.length == kLengthWord) {
                        Skip(*source, ReadU16Be(*source));
                    } else {
                        Skip(*source, info.length);
                    }
                    break;
            }
            continue;
        }
        if (opcode == 0x0C00) {
            TraceMessage(2, "Opcode: Header.\n");
            Skip(*source, 24);
            continue;
        }
        if (opcode == 0x8200) {
            TraceMessage(2, "Opcode: JPEG.\n");
            DecodeQuickTimeJpeg();
            return;
        }
        TraceFormat(2, "Opcode: reserved 0x%x.\n", static_cast<unsigned>(opcode));
        if (opcode <= 0x00AF) {
            Skip(*source, ReadU16Be(*source));
        } else if (opcode <= 0x00CF || (opcode >= 0x8000 && opcode <= 0x80FF)) {
            // no data
        } else if (opcode <= 0x00FE || opcode >= 0x8100) {
            Skip(*source, ReadU32Be(*source));
        } else {
            // 0x0100 to 0x7FFF: twice the high byte, plus one with bit 7 set.
            Skip(*source, (opcode >> 7) & 0xFF);
        }
    }
}

void CPictDecoder::SkipClipRegion() {
    // A region's size word counts itself.
    std::uint16_t size = ReadU16Be(*source);
    if (size < 2) {
        RaiseDecoderError(DECERR_FORMAT, "Error decoding pict: region size below 2.");
    }
    Skip(*source, size - 2);
}

void CPictDecoder::SkipPolyOrRegion() {
    TraceMessage(3, "Skipping polygon or region.\n");
    std::uint16_t size = ReadU16Be(*source);
    if (size < 2) {
        RaiseDecoderError(DECERR_FORMAT, "Error decoding pict: region size below 2.");
    }
    Skip(*source, size - 2);
}

void CPictDecoder::SkipText(int opcode) {
    // LongText has a 4-byte point before its text, DHText and DVText one
    // offset byte, DHDVText two; then a count byte and that many characters.
    static constexpr int kPositionBytes[] = {4, 1, 1, 2};
    Skip(*source, kPositionBytes[opcode - 0x28]);
    Skip(*source, ReadU8(*source));
}

void CPictDecoder::pixPat() {
    std::uint16_t type = ReadU16Be(*source);
    if (type == 1) {
        Skip(*source, 8);  // the one-bit pattern
        std::uint16_t rowBytes = ReadU16Be(*source);
        PixMap pixMap{};
        pixMap.bounds = ReadRect();
        ReadPixmap(pixMap);
        ReadColourTable();  // read to move past it; the pattern is not drawn
        SkipPixData(pixMap.bounds, rowBytes, pixMap.pixelSize);
    } else if (type == 2) {
        // The pattern and five bytes of its colour; a version 2 picture's
        // next opcode then starts after one byte of padding.
        Skip(*source, 13);
    } else {
        RaiseDecoderError(DECERR_FORMAT, "Unknown pattern type in pixPat.");
    }
}

void CPictDecoder::SkipLongComment() {
    Skip(*source, 2);  // kind
    Skip(*source, ReadU16Be(*source));
}

void CPictDecoder::ReadBitsOpcode(bool region, RowForm form) {
    std::uint16_t rowBytes = ReadU16Be(*source);
    if (rowBytes & kPixMapFlag) {
        DoPixmap(rowBytes, region, form);
    } else {
        DoBitmap(rowBytes, region, form);
    }
}

void CPictDecoder::DecodeQuickTimeJpeg() {
    std::uint32_t length = ReadU32Be(*source);
    int callerDepth = requestedDepth;
    ChooseDestDepth(32);
    for (std::uint32_t i = 0;; ++i) {
        if (i == length) {
            RaiseDecoderError(DECERR_UNSUPPORTED, "PICT file contains unrecognized quicktime data.\n");
        }
        // The look-ahead for the start-of-image marker stays inside the data.
        const std::uint8_t* p = source->GetReadPointer();
        if (source->GetBytesLeft() >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
            break;
        }
        source->ReadBytes(1);
    }
    if (!jpegDecoder) {
        RaiseDecoderError(DECERR_UNSUPPORTED, "Library not compiled for PICT/JPEG.");
    }
    if (headerOnly) {
        PictureHeader embedded = static_cast<CPicDecoder*>(jpegDecoder)->ReadHeader(source);
        embedded.format = PictureFormat::MacPict;
        *headerOnly = embedded;
        return;
    }
    // The caller's own request goes on, so a caller that asked for 32 bits
    // gets 32 bits also from a grey JPEG picture.
    static_cast<CPicDecoder*>(jpegDecoder)->DecodeSource(source, bitmap, callerDepth);
}

CPictDecoder::Rect CPictDecoder::ReadRect() {
    Rect rect{};
    rect.top = ReadU16Be(*source);
    rect.left = ReadU16Be(*source);
    rect.bottom = ReadU16Be(*source);
    rect.right = ReadU16Be(*source);
    return rect;
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
            picture_io::ThrowEndOfData();
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
        if (!picture_io::HasBytes(*source, layout.rowSize)) {
            picture_io::ThrowEndOfData();
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
