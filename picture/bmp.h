// CBmp: the bitmap every decoder writes into. It knows its size, depth,
// colour table, alpha flag and a table of line pointers whose entry 0 is the
// top line of the picture, whatever order the lines have in storage.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "picture/draw_device.h"

namespace ovlet::picture {

// Largest picture any bitmap accepts: 2^28 pixels and 1 GiB of storage. A
// header asking for more is refused before anything is allocated.
inline constexpr std::int64_t kMaxPixelCount = std::int64_t{1} << 28;
inline constexpr std::int64_t kMaxBitmapBytes = std::int64_t{1} << 30;

// A 32-bit pixel value as stored in memory: blue, green, red, alpha. The
// colour tables of the decoders hold such values.
constexpr std::uint32_t MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha = 255) {
    return std::uint32_t{blue} | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16) |
           (std::uint32_t{alpha} << 24);
}

class CBmp {
public:
    CBmp() = default;
    CBmp(const CBmp&) = delete;
    CBmp& operator=(const CBmp&) = delete;
    virtual ~CBmp() = default;

    // Replaces the storage with a new picture of the given size. Pixel values
    // are undefined; a colour table starts as the grey ramp. Refuses negative
    // sizes, depths the model does not know and pictures above the limits
    // with DECERR_FORMAT before allocating. Out of memory throws std::bad_alloc
    // and leaves the bitmap empty.
    virtual void Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool hasAlpha);
    virtual std::int32_t GetAllocatedSize() const = 0;
    virtual std::int32_t GetLineBytes() const = 0;
    virtual void AllocStorage(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool hasAlpha) = 0;
    // Releases the storage; the bitmap is then empty (0 x 0, no lines).
    virtual void FreeStorage() = 0;
    virtual void BuildLineTable() = 0;

    std::pair<std::int32_t, std::int32_t> GetSize() const { return {width, height}; }
    std::int32_t GetWidth() const { return width; }
    std::int32_t GetHeight() const { return height; }
    std::uint16_t GetBitsPerPixel() const { return bitsPerPixel; }
    bool HasAlpha() const { return hasAlpha; }
    bool IsEmpty() const { return bits == nullptr; }

    std::uint8_t** GetLineTable() { return lineTable.data(); }
    const std::uint8_t* const* GetLineTable() const { return lineTable.data(); }
    RGBQuad* GetPalette() { return palette; }
    const RGBQuad* GetPalette() const { return palette; }
    // Number of colour-table entries: 2^depth up to 8 bits, else 0.
    int GetPaletteEntries() const;

    // Copies the colour table from 256 entries (or fewer when the depth has
    // fewer); does nothing on a bitmap without a colour table.
    void SetPalette(const RGBQuad* entries);
    // The same from 32-bit pixel values (blue, green, red, alpha in memory).
    void SetPalette(const std::uint32_t* entries);
    void SetGreyPalette();

    // Counts every Create, so a caller can tell whether storage was replaced.
    std::uint64_t GetCreateCount() const { return createCount; }

    // A decode that may fail half-way opens a replacement: while one is
    // open, the first Create sets the storage it replaces aside instead of
    // freeing it, and closing the replacement either drops what was set aside
    // (the new picture stays) or brings it back (the bitmap is exactly as it
    // was before). Replacements nest; only the outermost one decides.
    void OpenReplacement();
    void CloseReplacement(bool keepNew);

    // DIB line length for a width and depth, and the packed-DIB size.
    static std::int64_t LineBytesFor(std::int64_t width, int bitsPerPixel);
    static std::int64_t StorageSizeFor(std::int64_t width, std::int64_t height, int bitsPerPixel);
    // Everything a bitmap of that size takes: its storage and its line table
    // (one pointer a line), which a tall, narrow picture makes the larger part.
    static std::int64_t MemoryFor(std::int64_t width, std::int64_t height, int bitsPerPixel);
    static bool IsValidDepth(int bitsPerPixel);
    // Raises DECERR_FORMAT when the picture may not be created.
    static void CheckCreatable(std::int64_t width, std::int64_t height, int bitsPerPixel);

protected:
    // Moves the storage and its dimensions aside, leaving the bitmap empty.
    virtual void SetStorageAside() = 0;
    // Frees the current storage and brings back what was set aside.
    virtual void RestoreStorageSetAside() = 0;
    // Frees what was set aside.
    virtual void DropStorageSetAside() = 0;

    void InitDimensions(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool hasAlpha);
    void ClearDimensions();

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    RGBQuad* palette = nullptr;
    std::uint8_t* bits = nullptr;
    bool hasAlpha = false;
    std::vector<std::uint8_t*> lineTable;

private:
    std::uint64_t createCount = 0;
    int openReplacements = 0;
    bool storageSetAside = false;
};

}  // namespace ovlet::picture
