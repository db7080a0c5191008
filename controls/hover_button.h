// A toolbar button that shows bitmaps instead of text and changes its bitmap
// while the pointer is over it.
#pragma once

#include <cstdint>

#include "controls/hot_tracking_button.h"

namespace ovlet::controls {

class CHoverButton : public HotTrackingButton {
public:
    // Bitmap resource ids for the normal, pressed and hot looks. A button
    // smaller than its bitmaps grows to hold them (its top-left corner stays);
    // the hit rectangle is then taken and kept; the button leaves the Tab order.
    void SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hot);

    // The bitmap the button shows now.
    std::uint32_t CurrentBitmap() const;

    void Paint(platform::Canvas& canvas) override;

protected:
    // The client rectangle taken when the bitmaps were set.
    platform::Rect HitRect() const override { return hitRect; }

private:
    std::uint32_t hotBitmap = 0;
    std::uint32_t pressedBitmap = 0;
    std::uint32_t normalBitmap = 0;
    platform::Rect hitRect;
};

}  // namespace ovlet::controls
