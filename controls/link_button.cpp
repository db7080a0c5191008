#include "controls/link_button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QPainter>

namespace {

// A link-look line reads as a link, a plain-look one as text; both are named
// by their text exactly as drawn (no '&' taken as a mnemonic).
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(CLinkButton* button) : QAccessibleWidget(button, QAccessible::Link) {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    QAccessible::Role role() const override {
        return Button()->IsLinkStyle() ? QAccessible::Link : QAccessible::StaticText;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return Button()->accessibleName().isEmpty() ? Button()->text() : Button()->accessibleName();
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (Button()->IsLinkStyle()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && Button()->IsLinkStyle()) {
            Button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    CLinkButton* Button() const { return static_cast<CLinkButton*>(widget()); }
};

QAccessibleInterface* LinkFactory(const QString&, QObject* object) {
    if (auto* button = qobject_cast<CLinkButton*>(object)) return new LinkAccessible(button);
    return nullptr;
}

}  // namespace

CLinkButton::CLinkButton(QWidget* parent) : HotTrackingButton(parent) {
    static const bool kAccessible = (QAccessible::installFactory(LinkFactory), true);
    Q_UNUSED(kAccessible);
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

QString CLinkButton::ShownText() const {
    QFont font = this->font();
    if (linkLook) font.setUnderline(true);
    return QFontMetrics(font).elidedText(text(), Qt::ElideRight, width());
}

void CLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The dialog's face colour, so the line sits on the window like text.
    painter.fillRect(rect(), palette().window());
    QFont font = this->font();
    if (linkLook) font.setUnderline(true);
    painter.setFont(font);
    painter.setPen(TextColour());
    // One piece, from the top-left corner; a line too long for the button
    // ends in an ellipsis rather than in half a letter.
    const QString shown = ShownText();
    painter.drawText(QRect(0, 0, 32767, height() * 4), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    if (hasFocus()) {
        painter.setPen(QPen(palette().windowText().color(), 1, Qt::DotLine));
        const int w = std::min(width() - 1, painter.fontMetrics().horizontalAdvance(shown) + 1);
        painter.drawRect(QRect(0, 0, w, height() - 1));
    }
}
