// The opcode walk of CPictDecoder: the picture header, every opcode skipped
// by its length up to the first image, and JPEG data embedded in a picture.
// The images' pixel data is read in pict_pixels.cpp.
#include "picture/pict_decoder.h"

#include <array>
#include <cstring>

#include "picture/byte_reader.h"
#include "picture/jpeg_decoder.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

using io::ReadU16Be;
using io::ReadU32Be;
using io::ReadU8;
using io::Skip;

namespace {

// The application header that precedes every picture file.
constexpr std::int32_t kApplicationHeaderBytes = 512;
constexpr std::uint8_t kVersionOpcode = 0x11;

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

}  // namespace

CPictDecoder::CPictDecoder(CJPEGDecoder* jpeg) : jpegDecoder(jpeg) {}

void CPictDecoder::DecodeImage() {
    TraceMessage(2, "Decoding mac pict.\n");
    WalkPicture();
}

void CPictDecoder::WalkPicture() {
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
    WalkPicture();
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
    SkipClipRegion();
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

}  // namespace ovlet::picture
