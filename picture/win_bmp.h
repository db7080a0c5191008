// CWinBmp keeps the whole picture as one packed DIB: the 40-byte header, the
// colour table (depths up to 8) and the pixel lines, bottom line first, each
// line padded to a multiple of 4 bytes, in a single heap block that a drawing
// device takes unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "picture/bmp.h"
#include "picture/draw_device.h"
#include "picture/pixel_memory.h"

namespace ovlet::picture {

// A rectangle in picture coordinates, top = 0 at the top line.
struct PictureRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

class CWinBmp : public CBmp {
public:
    // A new bitmap is 16 x 16 at 8 bits with the grey colour table.
    CWinBmp();
    ~CWinBmp() override;

    std::int32_t GetAllocatedSize() const override;
    std::int32_t GetLineBytes() const override;
    void AllocStorage(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool hasAlpha) override;
    void FreeStorage() override;
    void BuildLineTable() override;

    // Replaces the contents with the program's bitmap resource of that id.
    // Returns false and leaves the bitmap unchanged when there is no such
    // resource or its bytes are not a packed DIB this model can hold.
    virtual bool LoadFromResource(std::uint16_t resourceId);
    // Draw operations do nothing without a device or without storage.
    virtual void Draw(CDrawDevice* device, int x, int y, std::uint32_t rasterOp = SRCCOPY) const;
    virtual void DrawScaled(CDrawDevice* device, int x, int y, double factor, std::uint32_t rasterOp = SRCCOPY) const;
    virtual void DrawSection(CDrawDevice* device, int x, int y, const PictureRect& sourceRect) const;
    // Replaces the contents with a copy of the packed DIB that starts with
    // this header; the header's width, height and depth give its size. The
    // copied colour table is kept; the alpha flag is false.
    virtual void CreateFromPackedDib(const BitmapInfoHeader* header);
    // The same from bytes whose length is known: returns false, leaving the
    // bitmap unchanged, when they are not a bottom-up, uncompressed packed DIB
    // of a depth the model accepts or are shorter than the header says. A
    // shortened colour table (biClrUsed) is read and the rest filled with 0.
    bool CreateFromPackedDib(std::span<const std::uint8_t> packedDib);
    // A copy of the packed DIB, the form a clipboard takes for a DIB.
    virtual std::vector<std::uint8_t> CopyToGlobalMemory() const;
    virtual void LocatePaletteAndBits();

    // The packed DIB; null when the bitmap is empty.
    const BitmapInfoHeader* GetInfoHeader() const;
    std::size_t GetStorageSize() const;

protected:
    void SetStorageAside() override;
    void RestoreStorageSetAside() override;
    void DropStorageSetAside() override;

private:
    PixelBlock dib;
    // The storage a replacement set aside (see CBmp::OpenReplacement).
    struct Aside {
        PixelBlock dib;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::uint16_t bitsPerPixel = 0;
        bool hasAlpha = false;
        RGBQuad* palette = nullptr;
        std::uint8_t* bits = nullptr;
        std::vector<std::uint8_t*> lineTable;
    } aside;
};

}  // namespace ovlet::picture
