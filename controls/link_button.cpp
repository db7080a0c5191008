#include "controls/link_button.h"

#include <algorithm>

namespace ovlet::controls {
namespace {

constexpr platform::Colour kLinkColour{0, 0, 255};
constexpr platform::Colour kHotLinkColour{255, 0, 0};

}  // namespace

void CLinkButton::Attach(platform::ControlHost* controlHost) {
    HotTrackingButton::Attach(controlHost);
    SetLinkStyle(linkLook);
}

void CLinkButton::SetLinkStyle(int link) {
    linkLook = link ? 1 : 0;
    // A link-look line reads as a link, a plain-look one as text.
    host->SetCursor(linkLook ? platform::Cursor::Hand : platform::Cursor::Arrow);
    host->SetAccessibleRole(linkLook ? platform::AccessibleRole::Link : platform::AccessibleRole::StaticText);
    host->Redraw();
}

platform::Colour CLinkButton::TextColour() const {
    if (!linkLook) return host->System(platform::SystemColour::WindowText);
    return hot ? kHotLinkColour : kLinkColour;
}

std::string CLinkButton::ShownText() const {
    return host->Elided(host->Text(), host->Width(), Style());
}

void CLinkButton::Paint(platform::Canvas& canvas) {
    const int width = host->Width();
    const int height = host->Height();
    // The dialog's face colour, so the line sits on the window like text.
    canvas.FillRect({0, 0, width, height}, host->System(platform::SystemColour::Window));
    // One piece, from the top-left corner; a line too long for the button
    // ends in an ellipsis rather than in half a letter.
    const std::string shown = ShownText();
    canvas.Text({0, 0}, platform::TextAnchor::TopLeft, shown, TextColour(), Style());
    if (host->HasFocus()) {
        // Around the text drawn, one pixel beyond it, inside the button.
        const int frameRight = std::min(width - 1, host->TextWidth(shown, Style()) + 1);
        canvas.FrameRect({0, 0, frameRight + 1, height}, host->System(platform::SystemColour::WindowText), true);
    }
}

}  // namespace ovlet::controls
