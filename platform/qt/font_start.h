// The desktop's fonts made ready while a program starts.
#pragma once

#include <thread>

namespace ovlet::platform {

// Reads the desktop's font configuration and font lists on a thread of its
// own, from construction on: the first window needs them for its first
// text, and reading them (some ten configuration files and the font caches)
// would otherwise wait until the window is laid out, while the rest of the
// start-up (the display connection, the toolkit's plugins) waits on other
// things. Wait() before the toolkit first asks for a font; the destructor
// waits too.
class FontSetUp {
public:
    FontSetUp();
    ~FontSetUp();
    FontSetUp(const FontSetUp&) = delete;
    FontSetUp& operator=(const FontSetUp&) = delete;

    void Wait();

private:
    std::thread reader;
};

}  // namespace ovlet::platform
