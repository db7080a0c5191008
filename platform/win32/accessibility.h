// What assistive technology reads of a control beyond its own text: a name,
// a description and a role set on its window (dynamic annotation), so the
// system's accessibility layer reports them for it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/owner_drawn.h"

namespace ovlet::platform::win32 {

// Each gives false when the system offers no annotation (the control keeps
// what the system says of it on its own).
bool AnnotateName(HWND control, const std::string& name);
bool AnnotateDescription(HWND control, const std::string& description);
bool AnnotateRole(HWND control, AccessibleRole role);

// While held (holds nest), annotations wait, and are made when the last
// hold is released, on the windows still there: a dialog holds them until it
// is on screen, so that the accessibility layer is not started before.
void HoldAnnotations();
void ReleaseAnnotations();

// The name the accessibility layer reports for the window; empty when it
// cannot be asked.
std::string AccessibleNameOf(HWND control);

}  // namespace ovlet::platform::win32
