#include "controls/hot_tracking_button.h"

namespace ovlet::controls {

void HotTrackingButton::SetHot(bool value) {
    if (value == IsHot()) return;
    hot = value ? 1 : 0;
    // The look follows the pointer without waiting for the next paint.
    host->RedrawNow();
}

void HotTrackingButton::MouseMove(platform::Point at) {
    const platform::Rect r = HitRect();
    SetHot(at.x >= r.x && at.x <= r.Right() && at.y >= r.y && at.y <= r.Bottom());
}

void HotTrackingButton::MouseLeave() {
    SetHot(false);
}

void HotTrackingButton::FocusChanged(bool) {
    host->Redraw();
}

}  // namespace ovlet::controls
