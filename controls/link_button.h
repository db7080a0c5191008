// A button that draws itself as one line of text: in its link look underlined
// and blue, red while the pointer is over it; in its plain look ordinary text.
#pragma once

#include <cstdint>

#include "controls/hot_tracking_button.h"

class CLinkButton : public HotTrackingButton {
    Q_OBJECT
public:
    explicit CLinkButton(QWidget* parent = nullptr);

    void SetLinkStyle(int link);
    bool IsLinkStyle() const { return linkLook; }
    // The colour the text is drawn in now.
    QColor TextColour() const;
    // The text as drawn: cut with an ellipsis where the button is too narrow.
    QString ShownText() const;
    bool IsTextCut() const { return ShownText() != text(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Read at every move, so a resized button tests its new size.
    QRect HitRect() const override { return QRect(QPoint(0, 0), QPoint(width(), height())); }

private:
    std::int32_t linkLook = 1;
};
