#include "controls/link_button.h"

#include <QPainter>

CLinkButton::CLinkButton(QWidget* parent) : HotTrackingButton(parent) {
    setCursor(Qt::PointingHandCursor);
}

void CLinkButton::SetLinkStyle(int link) {
    linkLook = link ? 1 : 0;
    setCursor(linkLook ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

QColor CLinkButton::TextColour() const {
    if (!linkLook) return palette().windowText().color();
    return hot ? QColor(255, 0, 0) : QColor(0, 0, 255);
}

void CLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The dialog's face colour, so the line sits on the window like text.
    painter.fillRect(rect(), palette().window());
    QFont font = this->font();
    if (linkLook) font.setUnderline(true);
    painter.setFont(font);
    painter.setPen(TextColour());
    // One piece, from the top-left corner, cut only by the button's edges.
    painter.drawText(QRect(0, 0, 32767, height() * 4), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
    if (hasFocus()) {
        painter.setPen(QPen(palette().windowText().color(), 1, Qt::DotLine));
        const int w = std::min(width() - 1, painter.fontMetrics().horizontalAdvance(text()) + 1);
        painter.drawRect(QRect(0, 0, w, height() - 1));
    }
}
