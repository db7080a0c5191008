// Files the programs carry inside themselves, for when the installed copy is
// missing: the maker's splash picture.
#pragma once

#include <cstdint>
#include <vector>

namespace ovlet::resources {

// The bytes of the splash picture (a JPEG file).
std::vector<std::uint8_t> MakerSplashJpeg();

}  // namespace ovlet::resources
