// What the viewer's About dialog says.
#pragma once

#include "window/about_dialog.h"

namespace ovlet::viewer {

extern const window::AboutForm kViewerAbout;

}  // namespace ovlet::viewer
