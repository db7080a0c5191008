#include "picture/bmp.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "picture/text_exception.h"

namespace ovlet::picture {

void CBmp::Create(std::int32_t newWidth, std::int32_t newHeight, std::uint16_t newBitsPerPixel, bool newHasAlpha) {
    CheckCreatable(newWidth, newHeight, newBitsPerPixel);
    ++createCount;
    if (openReplacements > 0 && !storageSetAside) {
        SetStorageAside();
        storageSetAside = true;
    } else {
        FreeStorage();
    }
    AllocStorage(newWidth, newHeight, newBitsPerPixel, newHasAlpha);
}

void CBmp::OpenReplacement() {
    ++openReplacements;
}

void CBmp::CloseReplacement(bool keepNew) {
    if (openReplacements == 0 || --openReplacements > 0) {
        return;
    }
    if (storageSetAside) {
        storageSetAside = false;
        keepNew ? DropStorageSetAside() : RestoreStorageSetAside();
    }
}

int CBmp::GetPaletteEntries() const {
    return bitsPerPixel <= 8 && palette ? 1 << bitsPerPixel : 0;
}

void CBmp::SetPalette(const RGBQuad* entries) {
    // The table of a 1- or 4-bit bitmap is smaller than 256 entries; copying
    // 256 there would run over the pixel lines.
    if (int count = GetPaletteEntries(); count > 0) {
        std::memcpy(palette, entries, static_cast<std::size_t>(count) * sizeof(RGBQuad));
    }
}

void CBmp::SetPalette(const std::uint32_t* entries) {
    static_assert(sizeof(std::uint32_t) == sizeof(RGBQuad));
    if (int count = GetPaletteEntries(); count > 0) {
        std::memcpy(palette, entries, static_cast<std::size_t>(count) * sizeof(RGBQuad));
    }
}

void CBmp::SetGreyPalette() {
    int count = GetPaletteEntries();
    if (count == 0) {
        return;
    }
    int step = 256 / count;
    for (int i = 0; i < count; ++i) {
        auto grey = static_cast<std::uint8_t>(i * step);
        palette[i] = RGBQuad{grey, grey, grey, 255};
    }
}

std::int64_t CBmp::LineBytesFor(std::int64_t lineWidth, int depth) {
    return ((lineWidth * depth + 31) / 32) * 4;
}

std::int64_t CBmp::StorageSizeFor(std::int64_t w, std::int64_t h, int depth) {
    std::int64_t tableBytes = depth <= 8 ? std::int64_t{4} << depth : 0;
    return std::int64_t{sizeof(BitmapInfoHeader)} + tableBytes + LineBytesFor(w, depth) * h;
}

bool CBmp::IsValidDepth(int depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

std::int64_t CBmp::MemoryFor(std::int64_t w, std::int64_t h, int depth) {
    return StorageSizeFor(w, h, depth) + h * std::int64_t{sizeof(std::uint8_t*)};
}

void CBmp::CheckCreatable(std::int64_t w, std::int64_t h, int depth) {
    if (w < 0 || h < 0) {
        RaiseDecoderError(DECERR_FORMAT, "Picture has a negative width or height.");
    }
    if (!IsValidDepth(depth)) {
        RaiseDecoderError(DECERR_FORMAT, "Illegal bitmap depth.");
    }
    // Both factors fit in 31 bits, so the products below cannot overflow.
    if (w * h > kMaxPixelCount || MemoryFor(w, h, depth) > kMaxBitmapBytes) {
        char text[128];
        std::snprintf(text, sizeof text, "Picture too large: %" PRId64 " x %" PRId64 " pixels.", w, h);
        RaiseDecoderError(DECERR_FORMAT, text);
    }
}

void CBmp::InitDimensions(std::int32_t newWidth, std::int32_t newHeight, std::uint16_t newBitsPerPixel,
                          bool newHasAlpha) {
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    hasAlpha = newHasAlpha;
    BuildLineTable();
    if (bitsPerPixel < 16) {
        SetGreyPalette();
    }
}

void CBmp::ClearDimensions() {
    width = 0;
    height = 0;
    bitsPerPixel = 0;
    hasAlpha = false;
    palette = nullptr;
    bits = nullptr;
    lineTable.clear();
    lineTable.shrink_to_fit();
}

}  // namespace ovlet::picture
