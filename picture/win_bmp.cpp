#include "picture/win_bmp.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "picture/resource_registry.h"

namespace ovlet::picture {

CWinBmp::CWinBmp() {
    AllocStorage(16, 16, 8, false);
}

CWinBmp::~CWinBmp() {
    FreeStorage();
}

std::int32_t CWinBmp::GetAllocatedSize() const {
    return static_cast<std::int32_t>(GetStorageSize() + sizeof(CWinBmp));
}

std::int32_t CWinBmp::GetLineBytes() const {
    return static_cast<std::int32_t>(LineBytesFor(width, bitsPerPixel));
}

std::size_t CWinBmp::GetStorageSize() const {
    const BitmapInfoHeader* header = GetInfoHeader();
    if (!header) {
        return 0;
    }
    return static_cast<std::size_t>(StorageSizeFor(header->biWidth, header->biHeight, header->biBitCount));
}

const BitmapInfoHeader* CWinBmp::GetInfoHeader() const {
    return reinterpret_cast<const BitmapInfoHeader*>(dib.get());
}

void CWinBmp::AllocStorage(std::int32_t newWidth, std::int32_t newHeight, std::uint16_t newBitsPerPixel,
                           bool newHasAlpha) {
    CheckCreatable(newWidth, newHeight, newBitsPerPixel);
    auto size = static_cast<std::size_t>(StorageSizeFor(newWidth, newHeight, newBitsPerPixel));
    // Pixel bytes stay uninitialised: every decoder writes all of them, and
    // clearing a large picture would cost as much as decoding it.
    dib = PixelBlock(size);
    BitmapInfoHeader header{};
    header.biSize = sizeof(BitmapInfoHeader);
    header.biWidth = newWidth;
    header.biHeight = newHeight;
    header.biPlanes = 1;
    header.biBitCount = newBitsPerPixel;
    header.biCompression = BI_RGB;
    std::memcpy(dib.get(), &header, sizeof header);
    LocatePaletteAndBits();
    InitDimensions(newWidth, newHeight, newBitsPerPixel, newHasAlpha);
}

void CWinBmp::FreeStorage() {
    dib.reset();
    ClearDimensions();
}

void CWinBmp::SetStorageAside() {
    aside.dib = std::move(dib);
    aside.width = width;
    aside.height = height;
    aside.bitsPerPixel = bitsPerPixel;
    aside.hasAlpha = hasAlpha;
    aside.palette = palette;
    aside.bits = bits;
    aside.lineTable = std::move(lineTable);
    ClearDimensions();
}

void CWinBmp::RestoreStorageSetAside() {
    FreeStorage();
    dib = std::move(aside.dib);
    width = aside.width;
    height = aside.height;
    bitsPerPixel = aside.bitsPerPixel;
    hasAlpha = aside.hasAlpha;
    palette = aside.palette;
    bits = aside.bits;
    lineTable = std::move(aside.lineTable);
    aside = Aside{};
}

void CWinBmp::DropStorageSetAside() {
    aside = Aside{};
}

void CWinBmp::LocatePaletteAndBits() {
    if (!dib) {
        palette = nullptr;
        bits = nullptr;
        return;
    }
    int depth = GetInfoHeader()->biBitCount;
    std::uint8_t* afterHeader = dib.get() + sizeof(BitmapInfoHeader);
    if (depth <= 8) {
        palette = reinterpret_cast<RGBQuad*>(afterHeader);
        bits = afterHeader + (std::size_t{4} << depth);
    } else {
        palette = nullptr;
        bits = afterHeader;
    }
}

void CWinBmp::BuildLineTable() {
    lineTable.resize(static_cast<std::size_t>(height));
    auto lineBytes = static_cast<std::size_t>(GetLineBytes());
    for (std::size_t i = 0; i < lineTable.size(); ++i) {
        lineTable[i] = bits + (lineTable.size() - 1 - i) * lineBytes;
    }
}

bool CWinBmp::LoadFromResource(std::uint16_t resourceId) {
    std::span<const std::uint8_t> bytes = FindBitmapResource(resourceId);
    return !bytes.empty() && CreateFromPackedDib(bytes);
}

void CWinBmp::Draw(CDrawDevice* device, int x, int y, std::uint32_t rasterOp) const {
    if (!device || !dib) {
        return;
    }
    device->StretchDIBits(x, y, width, height, 0, 0, width, height, bits, GetInfoHeader(), DIB_RGB_COLORS, rasterOp);
}

void CWinBmp::DrawScaled(CDrawDevice* device, int x, int y, double factor, std::uint32_t rasterOp) const {
    if (!device || !dib) {
        return;
    }
    double destWidth = width * factor;
    double destHeight = height * factor;
    // Converting a value outside int's range is undefined; such a factor
    // (or NaN) draws nothing.
    constexpr double kIntMax = std::numeric_limits<int>::max();
    if (!(destWidth >= 0 && destWidth <= kIntMax && destHeight >= 0 && destHeight <= kIntMax)) {
        return;
    }
    device->StretchDIBits(x, y, static_cast<int>(destWidth), static_cast<int>(destHeight), 0, 0, width, height, bits,
                          GetInfoHeader(), DIB_RGB_COLORS, rasterOp);
}

void CWinBmp::DrawSection(CDrawDevice* device, int x, int y, const PictureRect& sourceRect) const {
    if (!device || !dib) {
        return;
    }
    device->SetDIBitsToDevice(x, y, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
                              sourceRect.left, height - sourceRect.bottom, 0, height, bits, GetInfoHeader(),
                              DIB_RGB_COLORS);
}

void CWinBmp::CreateFromPackedDib(const BitmapInfoHeader* header) {
    BitmapInfoHeader copy;
    std::memcpy(&copy, header, sizeof copy);
    CheckCreatable(copy.biWidth, copy.biHeight, copy.biBitCount);
    auto size = static_cast<std::size_t>(StorageSizeFor(copy.biWidth, copy.biHeight, copy.biBitCount));
    PixelBlock block(size);
    std::memcpy(block.get(), header, size);
    FreeStorage();
    dib = std::move(block);
    LocatePaletteAndBits();
    width = copy.biWidth;
    height = copy.biHeight;
    bitsPerPixel = copy.biBitCount;
    hasAlpha = false;
    BuildLineTable();
}

bool CWinBmp::CreateFromPackedDib(std::span<const std::uint8_t> packedDib) {
    BitmapInfoHeader header;
    if (packedDib.size() < sizeof header) {
        return false;
    }
    std::memcpy(&header, packedDib.data(), sizeof header);
    int depth = header.biBitCount;
    if (header.biSize != sizeof header || header.biCompression != BI_RGB || header.biWidth < 0 || header.biHeight < 0 ||
        !IsValidDepth(depth)) {
        return false;
    }
    std::int64_t fullEntries = depth <= 8 ? std::int64_t{1} << depth : 0;
    std::int64_t storedEntries = header.biClrUsed != 0 ? header.biClrUsed : fullEntries;
    if (depth <= 8 && storedEntries > fullEntries) {
        return false;
    }
    std::int64_t pixelBytes = LineBytesFor(header.biWidth, depth) * header.biHeight;
    std::int64_t available =
        static_cast<std::int64_t>(packedDib.size()) - std::int64_t{sizeof header} - storedEntries * 4;
    if (available < pixelBytes || std::int64_t{header.biWidth} * header.biHeight > kMaxPixelCount ||
        MemoryFor(header.biWidth, header.biHeight, depth) > kMaxBitmapBytes) {
        return false;
    }
    auto size = static_cast<std::size_t>(StorageSizeFor(header.biWidth, header.biHeight, depth));
    PixelBlock block(size);
    header.biClrUsed = 0;
    header.biSizeImage = 0;
    std::memcpy(block.get(), &header, sizeof header);
    std::uint8_t* table = block.get() + sizeof header;
    const std::uint8_t* source = packedDib.data() + sizeof header;
    auto fullTableBytes = static_cast<std::size_t>(fullEntries * 4);
    auto storedTableBytes = static_cast<std::size_t>(storedEntries * 4);
    if (depth <= 8) {
        std::memset(table, 0, fullTableBytes);
        std::memcpy(table, source, storedTableBytes);
    }
    std::memcpy(table + fullTableBytes, source + storedTableBytes, static_cast<std::size_t>(pixelBytes));
    FreeStorage();
    dib = std::move(block);
    LocatePaletteAndBits();
    width = header.biWidth;
    height = header.biHeight;
    bitsPerPixel = static_cast<std::uint16_t>(depth);
    hasAlpha = false;
    BuildLineTable();
    return true;
}

std::vector<std::uint8_t> CWinBmp::CopyToGlobalMemory() const {
    if (!dib) {
        return {};
    }
    return std::vector<std::uint8_t>(dib.get(), dib.get() + GetStorageSize());
}

}  // namespace ovlet::picture
