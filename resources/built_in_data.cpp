#include "resources/built_in_data.h"

#include <cstddef>

namespace ovlet::resources {

extern const unsigned char kMakerSplashBytes[];
extern const std::size_t kMakerSplashBytesSize;

std::vector<std::uint8_t> MakerSplashJpeg() {
    return {kMakerSplashBytes, kMakerSplashBytes + kMakerSplashBytesSize};
}

}  // namespace ovlet::resources
