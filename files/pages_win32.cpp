#include <windows.h>

#include <new>

#include "files/pages.h"

namespace ovlet::files {

std::uint8_t* MapPages(std::size_t size, std::size_t& mappedSize) {
    void* data = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!data) throw std::bad_alloc();
    mappedSize = size;
    return static_cast<std::uint8_t*>(data);
}

void UnmapPages(std::uint8_t* data, std::size_t /*mappedSize*/) {
    ::VirtualFree(data, 0, MEM_RELEASE);
}

}  // namespace ovlet::files
