#include "picture/pixel_memory.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "files/pages.h"

PixelBlock::PixelBlock(std::size_t size) {
    if (size < kMappedMinimum) {
        data = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
        if (!data) {
            throw std::bad_alloc();
        }
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

void PixelBlock::reset() {
    if (data && mappedSize > 0) {
        files::UnmapPages(data, mappedSize);
    } else {
        std::free(data);
    }
    data = nullptr;
    mappedSize = 0;
}
