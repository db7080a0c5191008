// The program's own bitmap resources, looked up by their 16-bit identifier.
// The program registers one lookup function at start; the picture library
// asks it for the bytes of a bitmap resource (a packed DIB: header, colour
// table, lines), as a bitmap resource is stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace ovlet::picture {

using BitmapResourceLookup = std::function<std::span<const std::uint8_t>(std::uint16_t resourceId)>;

// Replaces the lookup; an empty function removes it.
void SetBitmapResourceLookup(BitmapResourceLookup lookup);

// The bytes of the resource, or an empty span when there is no such resource
// or no lookup is registered. The bytes live as long as the program.
std::span<const std::uint8_t> FindBitmapResource(std::uint16_t resourceId);

}  // namespace ovlet::picture
