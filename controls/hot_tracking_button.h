// What the bitmap and link buttons share: a hot state while the pointer is
// over the button, tested against a rectangle whose right and bottom edges
// count as inside, with a redraw at once on every change.
#pragma once

#include <QAbstractButton>
#include <QRect>
#include <cstdint>

class HotTrackingButton : public QAbstractButton {
    Q_OBJECT
public:
    bool IsHot() const { return hot; }

protected:
    explicit HotTrackingButton(QWidget* parent = nullptr);

    // The rectangle the pointer is tested against.
    virtual QRect HitRect() const = 0;

    void mouseMoveEvent(QMouseEvent* event) override;
    // The pointer left the window: the same as a move outside the rectangle.
    void leaveEvent(QEvent* event) override;

    std::int32_t hot = 0;

private:
    void SetHot(bool value);
};
