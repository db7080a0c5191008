#include "picture/tga_decoder.h"

#include <algorithm>
#include <cstring>

#include "picture/byte_reader.h"
#include "picture/pixel_rows.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

using io::MemoryCursor;

namespace {

// ImageDescriptor bit 5: the first stored row is the top line.
constexpr std::uint8_t kTopOrigin = 0x20;
// A packet header with the top bit set is a run of (h & 0x7F) + 1 copies.
constexpr std::uint8_t kRunPacket = 0x80;

bool IsGreyType(int imageType) {
    return imageType == 3 || imageType == 11;
}

int BytesPerValue(int bits) {
    return (bits + 7) / 8;
}

// One stored value of 15, 16, 24 or 32 bits as a 32-bit pixel. 15- and
// 16-bit values are 5-5-5 with the low three bits of each channel 0; the top
// bit of a 16-bit value is its attribute (alpha) bit.
inline std::uint32_t DirectPixel(const std::uint8_t* p, int bits) {
    switch (bits) {
        case 15:
        case 16: {
            unsigned w = p[0] | (unsigned{p[1]} << 8);
            auto blue = static_cast<std::uint8_t>((w & 0x1F) << 3);
            auto green = static_cast<std::uint8_t>(((w >> 5) & 0x1F) << 3);
            auto red = static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3);
            std::uint8_t alpha = bits == 15     ? std::uint8_t{0xFF}
                                 : (w & 0x8000) ? std::uint8_t{0x80}
                                                : std::uint8_t{0x00};
            return MakePixel(red, green, blue, alpha);
        }
        case 24:
            return MakePixel(p[2], p[1], p[0]);
        default:
            return MakePixel(p[2], p[1], p[0], p[3]);
    }
}

// Turns count stored values into 32-bit pixels. 8-bit values go through the
// colour table.
void ConvertValues(std::uint32_t* dest, const std::uint8_t* src, std::int64_t count, int bits,
                   const std::uint32_t* table) {
    switch (bits) {
        case 8:
            for (std::int64_t i = 0; i < count; ++i) {
                dest[i] = table[src[i]];
            }
            break;
        case 24:
            rows::ExpandBgrToBgra(src, reinterpret_cast<std::uint8_t*>(dest), count);
            break;
        case 32:
            std::memcpy(dest, src, static_cast<std::size_t>(count) * 4);
            break;
        default:
            for (std::int64_t i = 0; i < count; ++i, src += 2) {
                dest[i] = DirectPixel(src, bits);
            }
            break;
    }
}

}  // namespace

PictureHeader CTGADecoder::ReadImageHeader() {
    TgaHeader header = ReadTgaHeader();
    return {PictureFormat::Targa, header.Width, header.Height, header.PixelDepth};
}

void CTGADecoder::DecodeImage() {
    TraceMessage(2, "Decoding TGA.\n");
    TgaHeader header = ReadTgaHeader();

    int bits = header.PixelDepth;
    ChooseDestDepth(bits);
    // An 8-bit bitmap can only hold indices, so deeper pictures always come
    // out at 32 bits.
    int depth = bits > 8 ? 32 : requestedDepth;
    // Zero counts as 1, so a picture of no pixels cannot ask for a huge line table.
    CheckPictureSize(std::max<int>(header.Width, 1), std::max<int>(header.Height, 1), depth);
    // Fail before allocating the bitmap when the pixels cannot all be there:
    // uncompressed they take their full size, run-length encoded at least a
    // packet header and a value for every 128 pixels.
    std::int64_t pixels = std::int64_t{header.Width} * header.Height;
    std::int64_t leastBytes = header.ImageType >= 1 && header.ImageType <= 3 ? pixels * BytesPerValue(bits)
                              : header.ImageType >= 9 && header.ImageType <= 11
                                  ? (pixels + 127) / 128 * (1 + BytesPerValue(bits))
                                  : 0;
    if (!io::HasBytes(*source, leastBytes)) {
        io::ThrowEndOfData();
    }
    bitmap->Create(header.Width, header.Height, static_cast<std::uint16_t>(depth), bits == 16 || bits == 32);

    if (header.ColorMapType != 0) {
        ReadTgaPalette(header.CmapStart, header.CmapLength, header.CmapEntrySize);
    }
    ReadTgaImage(header);
}

CTGADecoder::TgaHeader CTGADecoder::ReadTgaHeader() {
    const std::uint8_t* p = source->ReadBytes(18);
    auto u16 = [p](int offset) { return static_cast<std::uint16_t>(p[offset] | (p[offset + 1] << 8)); };
    TgaHeader header{};
    header.IdLength = p[0];
    header.ColorMapType = p[1];
    header.ImageType = p[2];
    header.CmapStart = u16(3);
    header.CmapLength = u16(5);
    header.CmapEntrySize = p[7];
    header.XOrigin = u16(8);
    header.YOrigin = u16(10);
    header.Width = u16(12);
    header.Height = u16(14);
    header.PixelDepth = p[16];
    header.ImageDescriptor = p[17];
    source->ReadBytes(header.IdLength);
    int bits = header.PixelDepth;
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) {
        RaiseDecoderError(DECERR_FORMAT, "Unknown TGA pixel depth.");
    }
    int type = header.ImageType;
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) {
        RaiseDecoderError(DECERR_FORMAT, "Unknown TGA image type.");
    }
    return header;
}

void CTGADecoder::ReadTgaPalette(int first, int count, int bitsPerEntry) {
    if (bitsPerEntry != 15 && bitsPerEntry != 16 && bitsPerEntry != 24 && bitsPerEntry != 32) {
        RaiseDecoderError(DECERR_FORMAT, "Unknown TGA colour map entry size.");
    }
    std::int64_t entryBytes = BytesPerValue(bitsPerEntry);
    const std::uint8_t* entries = source->ReadBytes(static_cast<std::int32_t>(entryBytes * count));
    // Unfilled entries stay 0: black, so a stray index shows as black.
    // Entries past the 256 an index can reach are read and dropped.
    std::uint32_t* table = NewColourTable();
    for (int i = 0; i < count && first + i < kColourTableEntries; ++i) {
        table[first + i] = DirectPixel(entries + entryBytes * i, bitsPerEntry);
    }
    if (bitmap->GetBitsPerPixel() == 8) {
        bitmap->SetPalette(table);
    }
}

void CTGADecoder::MakeGreyColourTable() {
    std::uint32_t* table = NewColourTable();
    for (int i = 0; i < kColourTableEntries; ++i) {
        auto grey = static_cast<std::uint8_t>(i);
        table[i] = MakePixel(grey, grey, grey);
    }
}

void CTGADecoder::ReadTgaImage(const TgaHeader& header) {
    // Grey pictures use the grey ramp whatever colour map they carry, and so
    // does an 8-bit picture that has no colour map at all.
    if (IsGreyType(header.ImageType) || !colourTable) {
        MakeGreyColourTable();
        if (IsGreyType(header.ImageType) && bitmap->GetBitsPerPixel() == 8) {
            bitmap->SetGreyPalette();
        }
    }
    switch (header.ImageType) {
        case 1:
        case 2:
        case 3:
            ReadUncompressed(header);
            break;
        case 9:
        case 10:
        case 11:
            ReadRunLength(header);
            break;
        default:
            RaiseDecoderError(DECERR_FORMAT, "Unknown TGA image type.");
    }
}

std::uint8_t* CTGADecoder::TargetLine(const TgaHeader& header, int row) const {
    bool topFirst = (header.ImageDescriptor & kTopOrigin) != 0;
    return bitmap->GetLineTable()[topFirst ? row : header.Height - 1 - row];
}

void CTGADecoder::ReadUncompressed(const TgaHeader& header) {
    int bits = header.PixelDepth;
    bool toColour = bitmap->GetBitsPerPixel() == 32;
    std::int64_t rowBytes = std::int64_t{header.Width} * BytesPerValue(bits);
    if (!io::HasBytes(*source, rowBytes * header.Height)) {
        io::ThrowEndOfData();
    }
    for (int r = 0; r < header.Height; ++r) {
        const std::uint8_t* row = source->ReadBytes(static_cast<std::int32_t>(rowBytes));
        std::uint8_t* line = TargetLine(header, r);
        if (toColour) {
            ConvertValues(reinterpret_cast<std::uint32_t*>(line), row, header.Width, bits, colourTable.get());
        } else {
            std::memcpy(line, row, static_cast<std::size_t>(header.Width));
        }
    }
    rows::FinishRows();
}

void CTGADecoder::ReadRunLength(const TgaHeader& header) {
    int bits = header.PixelDepth;
    int valueBytes = BytesPerValue(bits);
    bool toColour = bitmap->GetBitsPerPixel() == 32;
    const std::uint32_t* table = colourTable.get();
    MemoryCursor in(*source);
    // A packet may run on from the end of one row into the next: what is
    // left of it is carried over.
    int left = 0;
    bool run = false;
    std::uint32_t runPixel = 0;
    std::uint8_t runIndex = 0;
    for (int r = 0; r < header.Height; ++r) {
        std::uint8_t* line = TargetLine(header, r);
        int x = 0;
        while (x < header.Width) {
            if (left == 0) {
                std::uint8_t h = in.TakeU8();
                run = (h & kRunPacket) != 0;
                left = (h & 0x7F) + 1;
                if (run) {
                    const std::uint8_t* value = in.Take(valueBytes);
                    runIndex = value[0];
                    if (toColour) {
                        ConvertValues(&runPixel, value, 1, bits, table);
                    }
                }
            }
            int n = std::min(left, header.Width - x);
            if (run) {
                if (toColour) {
                    auto* dest = reinterpret_cast<std::uint32_t*>(line) + x;
                    std::fill(dest, dest + n, runPixel);
                } else {
                    std::memset(line + x, runIndex, static_cast<std::size_t>(n));
                }
            } else {
                const std::uint8_t* values = in.Take(std::int64_t{n} * valueBytes);
                if (toColour) {
                    ConvertValues(reinterpret_cast<std::uint32_t*>(line) + x, values, n, bits, table);
                } else {
                    for (int i = 0; i < n; ++i) {
                        line[x + i] = values[std::int64_t{i} * valueBytes];
                    }
                }
            }
            x += n;
            left -= n;
        }
    }
    rows::FinishRows();
    in.Commit(*source);
}

}  // namespace ovlet::picture
