// Large blocks of memory straight from the system, for bitmaps. On Linux a
// block is aligned to 2 MiB and, up to 256 MiB, backed with huge pages where
// the kernel has them and made present at once: a 48 MB picture then costs
// two dozen page faults instead of twelve thousand.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ovlet::files {

// A block of at least `size` bytes; `mappedSize` receives what UnmapPages
// needs back. Throws std::bad_alloc.
std::uint8_t* MapPages(std::size_t size, std::size_t& mappedSize);
void UnmapPages(std::uint8_t* data, std::size_t mappedSize);

}  // namespace ovlet::files
