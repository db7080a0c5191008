// What the bitmap and link buttons share: a hot state while the pointer is
// over the button, tested against a rectangle whose right and bottom edges
// count as inside, with a redraw at once on every change.
#pragma once

#include <cstdint>

#include "platform/owner_drawn.h"

namespace ovlet::controls {

class HotTrackingButton : public platform::OwnerDrawnControl {
public:
    bool IsHot() const { return hot != 0; }

    void MouseMove(platform::Point at) override;
    // The pointer left the window: the same as a move outside the rectangle.
    void MouseLeave() override;
    void FocusChanged(bool) override;

protected:
    // The rectangle the pointer is tested against (right and bottom inclusive).
    virtual platform::Rect HitRect() const = 0;

    std::int32_t hot = 0;

private:
    void SetHot(bool value);
};

}  // namespace ovlet::controls
