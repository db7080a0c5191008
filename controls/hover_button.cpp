#include "controls/hover_button.h"

#include <algorithm>
#include <climits>
#include <span>
#include <utility>

#include "picture/resource_registry.h"
#include "picture/win_bmp.h"

namespace ovlet::controls {
namespace {

// A bitmap resource's size from its header alone (a packed DIB begins with a
// BITMAPINFOHEADER: its size, then the width and the height, a negative
// height meaning top-down lines): the buttons learn their sizes without
// making the pictures. (0, 0) for a missing or malformed resource.
std::pair<int, int> BitmapResourceSize(std::uint16_t id) {
    const std::span<const std::uint8_t> dib = picture::FindBitmapResource(id);
    if (dib.size() < 12) return {0, 0};
    const auto field = [&dib](std::size_t at) {
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(dib[at]) | static_cast<std::uint32_t>(dib[at + 1]) << 8 |
            static_cast<std::uint32_t>(dib[at + 2]) << 16 | static_cast<std::uint32_t>(dib[at + 3]) << 24);
    };
    const std::int32_t width = field(4);
    const std::int32_t height = field(8);
    if (width <= 0 || height == 0 || height == INT32_MIN) return {0, 0};
    return {width, height < 0 ? -height : height};
}

}  // namespace

void CHoverButton::SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hotId) {
    normalBitmap = normal & 0xFFFF;
    pressedBitmap = pressed & 0xFFFF;
    hotBitmap = hotId & 0xFFFF;
    // The bitmaps are drawn whole and unscaled: a button smaller than they are
    // grows to hold them, keeping its place.
    int width = host->Width();
    int height = host->Height();
    for (std::uint32_t id : {normalBitmap, pressedBitmap, hotBitmap}) {
        if (!id) continue;
        const auto [w, h] = BitmapResourceSize(static_cast<std::uint16_t>(id));
        width = std::max(width, w);
        height = std::max(height, h);
    }
    if (width != host->Width() || height != host->Height()) host->Resize(width, height);
    // The client rectangle, right and bottom one past the last pixel, as the
    // hit test has always used it: the column and row just outside still count.
    hitRect = {0, 0, host->Width(), host->Height()};
    host->SetTabStop(false);
    host->Redraw();
}

std::uint32_t CHoverButton::CurrentBitmap() const {
    if (host->IsDown() && pressedBitmap) return pressedBitmap;
    return hot ? hotBitmap : normalBitmap;
}

void CHoverButton::Paint(platform::Canvas& canvas) {
    const int width = host->Width();
    const int height = host->Height();
    canvas.FillRect({0, 0, width, height}, host->System(platform::SystemColour::Window));
    picture::CWinBmp bitmap;
    if (const std::uint32_t id = CurrentBitmap(); id && bitmap.LoadFromResource(static_cast<std::uint16_t>(id))) {
        // Unscaled and centred; a button that was made smaller afterwards cuts it.
        canvas.Bitmap(bitmap, {(width - bitmap.GetWidth()) / 2, (height - bitmap.GetHeight()) / 2});
    }
}

}  // namespace ovlet::controls
