#include "controls/hover_button.h"

#include <QPainter>
#include <climits>
#include <span>

#include "picture/resource_registry.h"
#include "picture/win_bmp.h"
#include "platform/qt/painter_device.h"

namespace {

// A bitmap resource's size from its header alone (a packed DIB begins with a
// BITMAPINFOHEADER: its size, then the width and the height, a negative
// height meaning top-down lines): the buttons learn their sizes without
// making the pictures.
QSize BitmapResourceSize(std::uint16_t id) {
    const std::span<const std::uint8_t> dib = FindBitmapResource(id);
    if (dib.size() < 12) return {};
    const auto field = [&dib](std::size_t at) {
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(dib[at]) | static_cast<std::uint32_t>(dib[at + 1]) << 8 |
            static_cast<std::uint32_t>(dib[at + 2]) << 16 | static_cast<std::uint32_t>(dib[at + 3]) << 24);
    };
    const std::int32_t width = field(4);
    const std::int32_t height = field(8);
    if (width <= 0 || height == 0 || height == INT32_MIN) return {};
    return {width, height < 0 ? -height : height};
}

}  // namespace

CHoverButton::CHoverButton(QWidget* parent) : HotTrackingButton(parent) {}

void CHoverButton::SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hotId) {
    normalBitmap = normal & 0xFFFF;
    pressedBitmap = pressed & 0xFFFF;
    hotBitmap = hotId & 0xFFFF;
    // The bitmaps are drawn whole and unscaled: a button smaller than they are
    // grows to hold them, keeping its place.
    QSize needed(0, 0);
    for (std::uint32_t id : {normalBitmap, pressedBitmap, hotBitmap}) {
        if (id) needed = needed.expandedTo(BitmapResourceSize(static_cast<std::uint16_t>(id)));
    }
    resize(size().expandedTo(needed));
    // The client rectangle, right and bottom one past the last pixel, as the
    // hit test has always used it: the column and row just outside still count.
    hitRect = QRect(QPoint(0, 0), QPoint(width(), height()));
    setFocusPolicy(Qt::ClickFocus);
    update();
}

std::uint32_t CHoverButton::CurrentBitmap() const {
    if (isDown() && pressedBitmap) return pressedBitmap;
    return hot ? hotBitmap : normalBitmap;
}

void CHoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    CWinBmp bitmap;
    if (const std::uint32_t id = CurrentBitmap(); id && bitmap.LoadFromResource(static_cast<std::uint16_t>(id))) {
        // Unscaled and centred; a button that was made smaller afterwards cuts it.
        painter.setClipRect(rect());
        platform::PainterDevice device(painter);
        bitmap.Draw(&device, (width() - bitmap.GetWidth()) / 2, (height() - bitmap.GetHeight()) / 2);
    }
}
