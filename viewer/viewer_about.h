// What the viewer's About dialog says.
#pragma once

#include "window/about_dialog.h"

extern const AboutForm kViewerAbout;
