// Dialog templates as data: the windows are built from them at run time, with
// positions in dialog units as the layouts were drawn.
#pragma once

#include <string>
#include <vector>

namespace ovlet::platform {

// The commands of a dialog's OK and cancel buttons (also Enter and Escape).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

enum class ControlKind {
    Static,         // one line or several lines of text
    Icon,           // static icon: the dialog's own window icon, drawn whole in its box
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
    bool startsHidden = false;  // made hidden; the dialog shows it when wanted
};

struct DialogTemplate {
    int id;
    std::string caption;                    // empty: a window without caption bar or border
    int width, height;                      // dialog units
    int pointSize;                          // of the dialog font
    std::vector<ControlTemplate> controls;  // template order, also the Tab order
    // The translation context of the caption and the controls' texts; null:
    // they are shown as written. The layout is measured with the texts as
    // written, so a translation never moves a control.
    const char* context = nullptr;
};

}  // namespace ovlet::platform
