#include "picture/pixel_memory.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

#include "files/pages.h"

namespace ovlet::picture {

namespace pixel_memory {

Mapped SpareBlocks::Take(std::size_t size) noexcept {
    std::size_t best = count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t have = spares[i].size;
        // have / 2 <= size rather than have <= 2 * size: no overflow.
        if (have >= size && have / 2 <= size && (best == count || have < spares[best].size)) {
            best = i;
        }
    }
    if (best == count) {
        return {};
    }
    const Mapped found = spares[best];
    Remove(best);
    return found;
}

Surplus SpareBlocks::Keep(Mapped block) noexcept {
    Surplus surplus;
    if (!block.data) {
        return surplus;
    }
    if (block.size > kMaxSpareBytes) {
        surplus.blocks[surplus.count++] = block;
        return surplus;
    }
    while (count > 0 && (count == kMaxSpares || bytes + block.size > kMaxSpareBytes)) {
        surplus.blocks[surplus.count++] = spares[0];
        Remove(0);
    }
    spares[count++] = block;
    bytes += block.size;
    return surplus;
}

Surplus SpareBlocks::TakeAll() noexcept {
    Surplus surplus;
    for (std::size_t i = 0; i < count; ++i) {
        surplus.blocks[surplus.count++] = spares[i];
        spares[i] = {};
    }
    count = 0;
    bytes = 0;
    return surplus;
}

void SpareBlocks::Remove(std::size_t index) noexcept {
    bytes -= spares[index].size;
    for (std::size_t i = index; i + 1 < count; ++i) {
        spares[i] = spares[i + 1];
    }
    spares[--count] = {};
}

}  // namespace pixel_memory

namespace {

using pixel_memory::Mapped;
using pixel_memory::Surplus;

// The process's spares. Decoders may run on several threads at once (a
// window decodes while a print job draws), so every touch holds the lock;
// the system calls are made outside it.
struct Spares {
    std::mutex lock;
    pixel_memory::SpareBlocks blocks;
};

Spares& TheSpares() {
    // Never destroyed: a bitmap in a static object may be freed after it.
    static Spares* spares = new Spares;
    return *spares;
}

void GiveBack(const Surplus& surplus) noexcept {
    for (std::size_t i = 0; i < surplus.count; ++i) {
        files::UnmapPages(surplus.blocks[i].data, surplus.blocks[i].size);
    }
}

}  // namespace

PixelBlock::PixelBlock(std::size_t size, std::size_t mappedFrom) {
    if (size < mappedFrom) {
        data = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
        if (!data) {
            throw std::bad_alloc();
        }
        return;
    }
    Spares& spares = TheSpares();
    Mapped spare;
    {
        std::lock_guard<std::mutex> hold(spares.lock);
        spare = spares.blocks.Take(size);
    }
    if (spare.data) {
        data = spare.data;
        mappedSize = spare.size;
        return;
    }
    data = files::MapPages(size, mappedSize);
}

PixelBlock::~PixelBlock() {
    reset();
}

PixelBlock::PixelBlock(PixelBlock&& other) noexcept
    : data(std::exchange(other.data, nullptr)), mappedSize(std::exchange(other.mappedSize, 0)) {}

PixelBlock& PixelBlock::operator=(PixelBlock&& other) noexcept {
    if (this != &other) {
        reset();
        data = std::exchange(other.data, nullptr);
        mappedSize = std::exchange(other.mappedSize, 0);
    }
    return *this;
}

void PixelBlock::reset() noexcept {
    if (data && mappedSize > 0) {
        Spares& spares = TheSpares();
        Surplus surplus;
        {
            std::lock_guard<std::mutex> hold(spares.lock);
            surplus = spares.blocks.Keep({data, mappedSize});
        }
        GiveBack(surplus);
    } else {
        std::free(data);
    }
    data = nullptr;
    mappedSize = 0;
}

void PixelBlock::ReleaseSpares() noexcept {
    Spares& spares = TheSpares();
    Surplus surplus;
    {
        std::lock_guard<std::mutex> hold(spares.lock);
        surplus = spares.blocks.TakeAll();
    }
    GiveBack(surplus);
}

std::size_t PixelBlock::SpareCount() noexcept {
    Spares& spares = TheSpares();
    std::lock_guard<std::mutex> hold(spares.lock);
    return spares.blocks.Count();
}

std::size_t PixelBlock::SpareBytes() noexcept {
    Spares& spares = TheSpares();
    std::lock_guard<std::mutex> hold(spares.lock);
    return spares.blocks.Bytes();
}

}  // namespace ovlet::picture
