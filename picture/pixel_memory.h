// Storage blocks for bitmaps. A large block comes straight from the kernel,
// aligned to 2 MiB and, up to 256 MiB, backed with huge pages where the
// kernel has them and made present at once: a 48 MB picture then costs two
// dozen page faults instead of twelve thousand. Small blocks come from the
// heap.
#pragma once

#include <cstddef>
#include <cstdint>

class PixelBlock {
public:
    PixelBlock() = default;
    // A block of size bytes, not cleared. Throws std::bad_alloc.
    explicit PixelBlock(std::size_t size);
    ~PixelBlock();
    PixelBlock(PixelBlock&& other) noexcept;
    PixelBlock& operator=(PixelBlock&& other) noexcept;
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    std::uint8_t* get() const { return data; }
    explicit operator bool() const { return data != nullptr; }
    void reset();

    // Blocks of at least this many bytes are mapped rather than taken from
    // the heap.
    static constexpr std::size_t kMappedMinimum = std::size_t{4} << 20;

private:
    std::uint8_t* data = nullptr;
    std::size_t mappedSize = 0;  // 0 for a heap block
};
