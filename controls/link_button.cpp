#include "controls/link_button.h"

#include <QMouseEvent>
#include <QPainter>

CLinkButton::CLinkButton(QWidget* parent) : QAbstractButton(parent)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void CLinkButton::SetLinkStyle(int link)
{
    linkLook = link ? 1 : 0;
    setCursor(linkLook ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

QColor CLinkButton::TextColour() const
{
    if (!linkLook) return palette().windowText().color();
    return hot ? QColor(255, 0, 0) : QColor(0, 0, 255);
}

void CLinkButton::mouseMoveEvent(QMouseEvent* event)
{
    // The rectangle is read at every move, so a resized button tests its new size.
    const QPoint p = event->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
    if (!inside && hot) {
        hot = 0;
        repaint();
    } else if (inside && !hot) {
        hot = 1;
        repaint();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CLinkButton::leaveEvent(QEvent* event)
{
    if (hot) {
        hot = 0;
        repaint();
    }
    QAbstractButton::leaveEvent(event);
}

void CLinkButton::paintEvent(QPaintEvent*)
{
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
