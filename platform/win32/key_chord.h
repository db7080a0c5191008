// Keys written the portable way ("Ctrl+Shift+S", "F1", "Ctrl+PgDown") as the
// system's virtual-key code and modifiers. Plain C++: the codes are the
// system's published numbers, so the reading is tested on every build.
#pragma once

#include <optional>
#include <string>

namespace ovlet::platform::win32 {

struct KeyChord {
    unsigned key = 0;  // virtual-key code
    bool ctrl = false;
    bool shift = false;
    bool alt = false;

    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// Nothing for keys it does not know or an empty text; modifiers in any
// order, names of keys as the portable writing has them, letters in either case.
std::optional<KeyChord> ReadKeys(const std::string& keys);

}  // namespace ovlet::platform::win32
