#include "platform/qt/font_start.h"

#include <fontconfig/fontconfig.h>

namespace ovlet::platform {

FontSetUp::FontSetUp() {
    // FcInit loads the configuration and the caches and makes them the
    // current ones, which the toolkit's font database then takes as they are.
    reader = std::thread([] { FcInit(); });
}

FontSetUp::~FontSetUp() {
    Wait();
}

void FontSetUp::Wait() {
    if (reader.joinable()) reader.join();
}

}  // namespace ovlet::platform
