// A button that draws itself as one line of text: in its link look underlined
// and blue, red while the pointer is over it; in its plain look ordinary text.
#pragma once

#include <cstdint>
#include <string>

#include "controls/hot_tracking_button.h"

namespace ovlet::controls {

class CLinkButton : public HotTrackingButton {
public:
    // A new button has the link look: a hand over it, read as a link.
    void Attach(platform::ControlHost* controlHost) override;

    void SetLinkStyle(int link);
    bool IsLinkStyle() const { return linkLook != 0; }
    // The colour the text is drawn in now.
    platform::Colour TextColour() const;
    // The text as drawn: cut with an ellipsis where the button is too narrow.
    std::string ShownText() const;
    bool IsTextCut() const { return ShownText() != host->Text(); }

    void Paint(platform::Canvas& canvas) override;

protected:
    // Read at every move, so a resized button tests its new size.
    platform::Rect HitRect() const override { return {0, 0, host->Width(), host->Height()}; }

private:
    platform::TextStyle Style() const { return {.underline = IsLinkStyle()}; }

    std::int32_t linkLook = 1;
};

}  // namespace ovlet::controls
