#include "controls/hover_button.h"

#include <QPainter>

#include "picture/win_bmp.h"
#include "platform/painter_device.h"

CHoverButton::CHoverButton(QWidget* parent) : HotTrackingButton(parent) {}

void CHoverButton::SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hotId) {
    normalBitmap = normal & 0xFFFF;
    pressedBitmap = pressed & 0xFFFF;
    hotBitmap = hotId & 0xFFFF;
    // The bitmaps are drawn whole and unscaled: a button smaller than they are
    // grows to hold them, keeping its place.
    QSize needed(0, 0);
    for (std::uint32_t id : {normalBitmap, pressedBitmap, hotBitmap}) {
        CWinBmp bitmap;
        if (id && bitmap.LoadFromResource(static_cast<std::uint16_t>(id))) {
            needed = needed.expandedTo(QSize(bitmap.GetWidth(), bitmap.GetHeight()));
        }
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
