#include "controls/hot_tracking_button.h"

#include <QMouseEvent>

HotTrackingButton::HotTrackingButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
}

void HotTrackingButton::SetHot(bool value) {
    if (value == static_cast<bool>(hot)) return;
    hot = value ? 1 : 0;
    repaint();
}

void HotTrackingButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const QRect r = HitRect();
    SetHot(p.x() >= r.left() && p.x() <= r.right() && p.y() >= r.top() && p.y() <= r.bottom());
    QAbstractButton::mouseMoveEvent(event);
}

void HotTrackingButton::leaveEvent(QEvent* event) {
    SetHot(false);
    QAbstractButton::leaveEvent(event);
}
