// What the maker's About dialog says.
#pragma once

#include "window/about_dialog.h"

namespace ovlet::maker {

extern const window::AboutForm kMakerAbout;

}  // namespace ovlet::maker
