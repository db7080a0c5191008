// Dialog templates as data: the windows are built from them at run time, with
// positions in dialog units as the layouts were drawn.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class ControlKind {
    Static,         // one line or several lines of text
    Icon,           // static icon (the text names nothing; the icon is the program's)
    Edit,           // one-line edit with border and horizontal scrolling
    MultiLineEdit,  // several lines, vertical scrolling, Enter makes a line break
    PushButton,
    DefaultPushButton,
    OwnerDrawButton,  // a button that draws itself (bitmap or link buttons)
    GroupBox,
    TabControl,
    PicturePanel,  // a static the owning window takes over to draw a picture
};

struct ControlTemplate {
    int id;  // -1 for controls without an id
    ControlKind kind;
    std::string text;
    int x, y, width, height;  // dialog units
    bool tabStop = false;
};

struct DialogTemplate {
    int id;
    std::string caption;                    // empty: a window without caption bar or border
    int width, height;                      // dialog units
    int pointSize;                          // of the dialog font
    std::vector<ControlTemplate> controls;  // template order, also the Tab order
};

// The program's dialog templates; null for an unknown id.
const DialogTemplate* FindDialogTemplate(int id);

// The program's string table; empty for an unknown id.
std::string LoadResourceString(int id);

}  // namespace platform
