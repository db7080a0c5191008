#include "picture/resource_registry.h"

#include <utility>

namespace ovlet::picture {

namespace {

BitmapResourceLookup& Lookup() {
    static BitmapResourceLookup lookup;
    return lookup;
}

}  // namespace

void SetBitmapResourceLookup(BitmapResourceLookup lookup) {
    Lookup() = std::move(lookup);
}

std::span<const std::uint8_t> FindBitmapResource(std::uint16_t resourceId) {
    const BitmapResourceLookup& lookup = Lookup();
    if (!lookup) {
        return {};
    }
    return lookup(resourceId);
}

}  // namespace ovlet::picture
