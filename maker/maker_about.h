// What the maker's About dialog says.
#pragma once

#include "window/about_dialog.h"

extern const AboutForm kMakerAbout;
