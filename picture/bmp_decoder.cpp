#include "picture/bmp_decoder.h"

#include <algorithm>
#include <cstring>

#include "picture/byte_reader.h"
#include "picture/pixel_rows.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

using io::MemoryCursor;
using io::ReadU16Le;
using io::ReadU32Le;

namespace {

constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM"
constexpr std::uint32_t kInfoHeaderSize = 40;    // BITMAPINFOHEADER
// Header bytes before the colour table: 14 of file header, 40 of info header,
// and two more that the extent check forgives, so a file up to two bytes
// shorter than its bfSize still decodes.
constexpr std::int64_t kExtentSlack = 56;
// The most pixels one run-length code (two bytes) stands for.
constexpr std::int64_t kMaxRunPixels = 255;

// Bytes of one stored row, padded to a multiple of 4.
std::int64_t StoredRowBytes(std::int64_t width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

// Writes the indices of a run or an absolute run into a line, dropping those
// past its end. At 32 bits a line holds colour-table values, at 8 the index.
class RleLineWriter {
public:
    RleLineWriter(const std::uint32_t* colourTable, bool writeColours, std::int32_t lineWidth)
        : table(colourTable), toColour(writeColours), width(lineWidth) {}

    void Start(std::uint8_t* newLine) {
        line = newLine;
        x = 0;
    }
    void Fill(unsigned index, std::int64_t count) {
        std::int64_t n = std::min<std::int64_t>(count, width - x);
        if (n <= 0) {
            return;
        }
        if (toColour) {
            auto* dest = reinterpret_cast<std::uint32_t*>(line) + x;
            std::fill(dest, dest + n, table[index]);
        } else {
            std::memset(line + x, static_cast<int>(index), static_cast<std::size_t>(n));
        }
        x += static_cast<std::int32_t>(n);
    }
    // count pixels alternately of the indices first and second, first first.
    void FillPair(unsigned first, unsigned second, std::int64_t count) {
        if (first == second) {
            Fill(first, count);
            return;
        }
        for (std::int64_t i = 0; i < count && x < width; ++i) {
            Put(i % 2 == 0 ? first : second);
        }
    }
    void Put(unsigned index) {
        if (x < width) {
            if (toColour) {
                reinterpret_cast<std::uint32_t*>(line)[x] = table[index];
            } else {
                line[x] = static_cast<std::uint8_t>(index);
            }
            ++x;
        }
    }

private:
    const std::uint32_t* table;
    bool toColour;
    std::int32_t width;
    std::uint8_t* line = nullptr;
    std::int32_t x = 0;
};

}  // namespace

void CBmpDecoder::DecodeImage() {
    InfoHeader header = ReadBmpHeaders();

    ChooseDestDepth(header.biBitCount);
    // Pictures deeper than 8 bits have no colour table to give an 8-bit
    // bitmap, so they always come out at 32 bits.
    int depth = header.biBitCount > 8 ? 32 : requestedDepth;
    // A picture without pixels still gets one line pointer per line, so a
    // width of 0 counts as 1 here: 0 x 2^31 would pass a pixel count.
    CheckPictureSize(std::max(width, 1), std::max(height, 1), depth);
    bool compressed = header.biCompression != 0;
    bool runLength = compressed && (header.biBitCount == 4 || header.biBitCount == 8);
    // A short file claiming many rows fails here, before its bitmap is
    // allocated. Uncompressed rows must all be there; run-length data puts
    // at most 255 pixels into each two-byte code (an early end of the bitmap
    // leaves the rest black, which only a small picture may rely on).
    std::int64_t pixels = std::int64_t{width} * height;
    if (runLength) {
        RequireData(pixels, source->GetBytesLeft() * kMaxRunPixels >= pixels * 2);
    } else {
        CheckRowsPresent(header.biBitCount == 32 ? std::int64_t{4} * width : StoredRowBytes(width, header.biBitCount));
    }
    bitmap->Create(width, height, static_cast<std::uint16_t>(depth), false);
    if (depth == 8) {
        bitmap->SetPalette(colourTable.get());
    }

    switch (header.biBitCount) {
        case 1:
            DecodeIndexed(1);
            break;
        case 4:
        case 8:
            compressed ? DecodeRunLength(header.biBitCount) : DecodeIndexed(header.biBitCount);
            break;
        case 24:
            Decode24Bpp();
            break;
        case 32:
            Decode32Bpp();
            break;
        default:
            RaiseDecoderError(DECERR_FORMAT, "Decoding bmp: Illegal bpp value.");
    }
    TraceMessage(3, "Decoding finished.\n");
}

PictureHeader CBmpDecoder::ReadImageHeader() {
    InfoHeader header = ReadInfoHeader();
    return {PictureFormat::WindowsBitmap, width, height, header.biBitCount};
}

CBmpDecoder::InfoHeader CBmpDecoder::ReadInfoHeader() {
    std::uint16_t bfType = ReadU16Le(*source);
    bfSize = ReadU32Le(*source);
    source->ReadBytes(2 + 2 + 4);  // reserved fields and bfOffBits
    if (bfType != kBmpSignature) {
        RaiseDecoderError(DECERR_SIGNATURE, "Bitmap decoder: This isn't a bitmap.");
    }
    TraceMessage(2, "Bitmap file signature found\n");

    InfoHeader header{};
    header.biSize = ReadU32Le(*source);
    header.biWidth = static_cast<std::int32_t>(ReadU32Le(*source));
    header.biHeight = static_cast<std::int32_t>(ReadU32Le(*source));
    header.biPlanes = ReadU16Le(*source);
    header.biBitCount = ReadU16Le(*source);
    header.biCompression = ReadU32Le(*source);
    header.biSizeImage = ReadU32Le(*source);
    header.biXPelsPerMeter = static_cast<std::int32_t>(ReadU32Le(*source));
    header.biYPelsPerMeter = static_cast<std::int32_t>(ReadU32Le(*source));
    header.biClrUsed = ReadU32Le(*source);
    header.biClrImportant = ReadU32Le(*source);
    if (header.biSize != kInfoHeaderSize) {
        RaiseDecoderError(DECERR_FORMAT, "Bitmap decoder: BITMAPINFOHEADER has wrong size.");
    }
    TraceMessage(2, "Bitmap header is ok.\n");
    int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        RaiseDecoderError(DECERR_FORMAT, "Decoding bmp: Illegal bpp value.");
    }

    // A negative height marks rows stored top line first. The most negative
    // value has no positive counterpart and is refused with the other sizes
    // a bitmap cannot have.
    width = header.biWidth;
    topDown = header.biHeight < 0;
    std::int64_t rows = topDown ? -std::int64_t{header.biHeight} : header.biHeight;
    if (width < 0 || rows > INT32_MAX) {
        RaiseDecoderError(DECERR_FORMAT, "Picture has a negative width or height.");
    }
    height = static_cast<std::int32_t>(rows);
    if (topDown && header.biCompression != 0 && (bits == 4 || bits == 8)) {
        // Run-length data has no top-down form; its end-of-line codes only
        // make sense climbing from the bottom line.
        RaiseDecoderError(DECERR_FORMAT, "Bitmap decoder: compressed bitmap stored top-down.");
    }
    return header;
}

CBmpDecoder::InfoHeader CBmpDecoder::ReadBmpHeaders() {
    InfoHeader header = ReadInfoHeader();
    std::int64_t paletteBytes = header.biBitCount <= 8 ? ReadBmpPalette(header) : 0;

    // bfSize is unsigned in the file; taken as such, a size of several GiB
    // fails here instead of passing as a negative amount.
    std::int64_t extent = std::int64_t{bfSize} - paletteBytes - kExtentSlack;
    if (extent > 0 && !io::HasBytes(*source, extent)) {
        io::ThrowEndOfData();
    }
    return header;
}

std::int64_t CBmpDecoder::ReadBmpPalette(const InfoHeader& header) {
    TraceMessage(3, "Reading palette.\n");
    std::int64_t count = header.biClrUsed != 0 ? std::int64_t{header.biClrUsed} : std::int64_t{1} << header.biBitCount;
    std::int64_t bytes = count * 4;
    if (!io::HasBytes(*source, bytes)) {
        io::ThrowEndOfData();
    }
    const std::uint8_t* entries = source->ReadBytes(static_cast<std::int32_t>(bytes));
    // Entries past the 256 an 8-bit index can reach are read and dropped.
    std::uint32_t* table = NewColourTable();
    std::int64_t kept = std::min<std::int64_t>(count, kColourTableEntries);
    for (std::int64_t i = 0; i < kept; ++i) {
        const std::uint8_t* e = entries + 4 * i;
        table[i] = MakePixel(e[2], e[1], e[0]);
    }
    return bytes;
}

std::uint8_t* CBmpDecoder::RowLine(std::int32_t row) const {
    return bitmap->GetLineTable()[topDown ? row : height - 1 - row];
}

void CBmpDecoder::CheckRowsPresent(std::int64_t rowBytes) const {
    if (!io::HasBytes(*source, rowBytes * height)) {
        io::ThrowEndOfData();
    }
}

void CBmpDecoder::DecodeIndexed(int bitsPerPixel) {
    static constexpr const char* kTrace[] = {
        nullptr,
        "Decoding 1 bit per pixel bitmap.\n",
        "Decoding uncompressed 4 bit per pixel bitmap.\n",
        "Decoding uncompressed 8 bit per pixel bitmap.\n",
    };
    TraceMessage(2, kTrace[bitsPerPixel == 1 ? 1 : bitsPerPixel == 4 ? 2 : 3]);
    std::int64_t rowBytes = StoredRowBytes(width, bitsPerPixel);
    CheckRowsPresent(rowBytes);
    const std::uint8_t* row = source->GetReadPointer();
    for (std::int32_t r = 0; r < height; ++r, row += rowBytes) {
        IndexedRowToLine(RowLine(r), row, width, bitsPerPixel);
    }
}

void CBmpDecoder::Decode24Bpp() {
    TraceMessage(2, "Decoding 24 bit per pixel bitmap.\n");
    std::int64_t rowBytes = StoredRowBytes(width, 24);
    CheckRowsPresent(rowBytes);
    const std::uint8_t* row = source->GetReadPointer();
    for (std::int32_t r = 0; r < height; ++r, row += rowBytes) {
        rows::ExpandBgrToBgra(row, RowLine(r), width);
    }
    rows::FinishRows();
}

void CBmpDecoder::Decode32Bpp() {
    TraceMessage(2, "Decoding 32 bit per pixel bitmap.\n");
    std::int64_t rowBytes = std::int64_t{4} * width;
    CheckRowsPresent(rowBytes);
    const std::uint8_t* row = source->GetReadPointer();
    for (std::int32_t r = 0; r < height; ++r, row += rowBytes) {
        std::memcpy(RowLine(r), row, static_cast<std::size_t>(rowBytes));
    }
}

namespace {

// Escape codes after a zero count byte in run-length data.
constexpr std::uint8_t kRleEndOfLine = 0;
constexpr std::uint8_t kRleEndOfBitmap = 1;
constexpr std::uint8_t kRleDelta = 2;

// Clears every line, so pixels the run-length data never reaches (after an
// early end of line or of bitmap) come out as index 0, or black at 32 bits.
void ClearLines(CBmp& bitmap) {
    std::int64_t lineBytes = bitmap.GetLineBytes();
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        std::memset(bitmap.GetLineTable()[y], 0, static_cast<std::size_t>(lineBytes));
    }
}

}  // namespace

void CBmpDecoder::DecodeRunLength(int bitsPerPixel) {
    TraceMessage(2, bitsPerPixel == 8 ? "Decoding RLE8-compressed bitmap.\n" : "Decoding RLE4-compressed bitmap.\n");
    ClearLines(*bitmap);
    RleLineWriter writer(colourTable.get(), bitmap->GetBitsPerPixel() == 32, width);
    MemoryCursor in(*source);
    bool nibbles = bitsPerPixel == 4;
    bool endOfBitmap = false;
    for (std::int32_t r = 0; r < height && !endOfBitmap; ++r) {
        writer.Start(RowLine(r));
        for (;;) {
            const std::uint8_t* code = in.Take(2);
            unsigned n = code[0], c = code[1];
            if (n > 0) {
                // n pixels of one index, or of two nibbles taken in turn.
                if (nibbles) {
                    writer.FillPair(c >> 4, c & 0x0F, n);
                } else {
                    writer.Fill(c, n);
                }
            } else if (c == kRleEndOfLine) {
                break;
            } else if (c == kRleEndOfBitmap) {
                endOfBitmap = true;
                break;
            } else if (c == kRleDelta) {
                RaiseDecoderError(DECERR_UNSUPPORTED, "Encountered delta escape.");
            } else {
                // c indices, or c nibbles in (c + 1) / 2 bytes, padded to an
                // even byte count.
                unsigned bytes = nibbles ? (c + 1) / 2 : c;
                const std::uint8_t* run = in.Take(bytes + (bytes & 1));
                for (unsigned i = 0; i < c; ++i) {
                    writer.Put(!nibbles ? run[i] : i % 2 == 0 ? run[i / 2] >> 4 : run[i / 2] & 0x0Fu);
                }
            }
        }
    }
    in.Commit(*source);
}

}  // namespace ovlet::picture
