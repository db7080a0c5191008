// A program's start on the Qt face: the toolkit with the program's options,
// its look, the program's names and pictures on the desktop, and the
// desktop's fonts read while the rest starts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/qt/bitmap_resources.h"
#include "platform/qt/named_icons.h"

namespace ovlet::platform {

// What a program says of itself to the toolkit and the desktop.
struct ProgramLook {
    std::string applicationName;
    // The name of the program's launcher (its desktop file without the
    // ending), so that a desktop pairs the program's windows with it.
    std::string desktopFileName;
    // The widget style, the same on every desktop ("Fusion"); empty: the desktop's own.
    std::string style;
    // The icons dialogs show by name, and the name of the one the program's
    // windows take.
    std::vector<NamedIcon> icons;
    std::string windowIcon;
    // The program's bitmap resources.
    std::vector<BitmapFile> bitmaps;
};

// The toolkit running with the Qt face installed, for the object's life.
// The bytes of the icons and bitmaps stay where they are for that long.
class QtProgramStart {
public:
    // Hands `arguments` (the program's name first) to the toolkit and leaves
    // in them what it did not take as its own options.
    QtProgramStart(const ProgramLook& look, std::vector<std::string>& arguments);
    ~QtProgramStart();
    QtProgramStart(const QtProgramStart&) = delete;
    QtProgramStart& operator=(const QtProgramStart&) = delete;

private:
    struct Running;
    std::unique_ptr<Running> running;
};

}  // namespace ovlet::platform
