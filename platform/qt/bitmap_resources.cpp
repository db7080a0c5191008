#include "platform/qt/bitmap_resources.h"

#include <map>
#include <memory>

#include "picture/resource_registry.h"

namespace ovlet::platform {
namespace {

constexpr std::size_t kBmpFileHeaderSize = 14;  // "BM", file size, two reserved words, pixel offset

// The packed DIB of a BMP file: the file without its file header (nothing for
// what is not a BMP file).
std::span<const std::uint8_t> PackedDib(std::span<const std::uint8_t> file) {
    if (file.size() <= kBmpFileHeaderSize || file[0] != 'B' || file[1] != 'M') return {};
    return file.subspan(kBmpFileHeaderSize);
}

}  // namespace

void InstallBitmapResources(const std::vector<BitmapFile>& bitmaps) {
    if (bitmaps.empty()) {
        picture::SetBitmapResourceLookup(nullptr);
        return;
    }
    // Kept alive by the lookup, which lives as long as the bitmaps are installed.
    auto dibs = std::make_shared<std::map<std::uint16_t, std::span<const std::uint8_t>>>();
    for (const BitmapFile& bitmap : bitmaps) (*dibs)[bitmap.id] = PackedDib(bitmap.bytes);
    picture::SetBitmapResourceLookup([dibs](std::uint16_t id) -> std::span<const std::uint8_t> {
        const auto found = dibs->find(id);
        return found != dibs->end() ? found->second : std::span<const std::uint8_t>();
    });
}

}  // namespace ovlet::platform
