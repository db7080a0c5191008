// Storage blocks for bitmaps and for the bytes of large picture files. A
// large block comes straight from the system (files/pages.h); small blocks
// come from the heap.
//
// A fresh large block costs a page fault for every page the decoder first
// writes: on Linux a few hundred, where the kernel backs the block with huge
// pages, but on Windows one for every 4 KiB, about 12,000 for a 12-megapixel
// picture, which took longer than decoding it. So a large block that is
// freed is kept as a spare, its pages still present, and the next large
// block of about its size is that spare: a program that decodes one picture
// after another pays the faults once. ReleaseSpares gives the spares back
// where a program is done with pictures for a while.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ovlet::picture {

class PixelBlock {
public:
    PixelBlock() = default;
    // A block of size bytes, not cleared (a spare holds what its last owner
    // left in it). Blocks of mappedFrom bytes and more come from the system
    // or the spares. Throws std::bad_alloc.
    explicit PixelBlock(std::size_t size, std::size_t mappedFrom = kMappedMinimum);
    ~PixelBlock();
    PixelBlock(PixelBlock&& other) noexcept;
    PixelBlock& operator=(PixelBlock&& other) noexcept;
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    std::uint8_t* get() const { return data; }
    explicit operator bool() const { return data != nullptr; }
    // Frees the block; one from the system becomes a spare where the spares
    // have room for it.
    void reset() noexcept;

    // Gives every spare back to the system. Safe from any thread.
    static void ReleaseSpares() noexcept;
    // How many spares are kept and their bytes, for tests and measurements.
    static std::size_t SpareCount() noexcept;
    static std::size_t SpareBytes() noexcept;

    // Bitmaps of at least this many bytes are mapped rather than taken from
    // the heap.
    static constexpr std::size_t kMappedMinimum = std::size_t{4} << 20;

private:
    std::uint8_t* data = nullptr;
    std::size_t mappedSize = 0;  // 0 for a heap block
};

namespace pixel_memory {

// A block from the system: where it starts and what UnmapPages needs back.
struct Mapped {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// At most four spares of at most 128 MiB together: enough for a picture,
// its file's bytes and the copies a window makes of it, and no more than a
// program can hold unasked.
inline constexpr std::size_t kMaxSpares = 4;
inline constexpr std::size_t kMaxSpareBytes = std::size_t{128} << 20;

// Blocks UnmapPages must give back: at most every spare.
struct Surplus {
    std::array<Mapped, kMaxSpares> blocks{};
    std::size_t count = 0;
};

// The spares and their rules, without the system and without a lock: the
// one list of the process is PixelBlock's, behind a mutex.
class SpareBlocks {
public:
    // The smallest spare of at least `size` bytes and at most twice that,
    // taken off the list; an empty Mapped when none fits. A spare much
    // larger than the request would hold memory the new owner never uses.
    Mapped Take(std::size_t size) noexcept;
    // Keeps `block` as the newest spare. Returns what must go back to the
    // system: the oldest spares where the count or the bytes would pass
    // their limit, or the block itself when it alone is larger than
    // kMaxSpareBytes.
    Surplus Keep(Mapped block) noexcept;
    // Empties the list; returns every spare.
    Surplus TakeAll() noexcept;

    std::size_t Count() const noexcept { return count; }
    std::size_t Bytes() const noexcept { return bytes; }

private:
    void Remove(std::size_t index) noexcept;

    std::array<Mapped, kMaxSpares> spares{};  // oldest first
    std::size_t count = 0;
    std::size_t bytes = 0;
};

}  // namespace pixel_memory

}  // namespace ovlet::picture
