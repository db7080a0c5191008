#include "platform/qt/owner_drawn_widget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "picture/win_bmp.h"
#include "platform/qt/painter_device.h"

namespace ovlet::platform::qt {
namespace {

QColor ToQColor(Colour colour) {
    return {colour.red, colour.green, colour.blue};
}

QFont FontOf(const QWidget* widget, TextStyle style) {
    QFont font = widget->font();
    if (style.underline) font.setUnderline(true);
    return font;
}

// The control's drawing on the widget's painter.
class PainterCanvas : public Canvas {
public:
    PainterCanvas(QPainter& target, QWidget* owner) : painter(target), widget(owner) {}

    void FillRect(const Rect& area, Colour colour) override {
        painter.fillRect(QRect(area.x, area.y, area.width, area.height), ToQColor(colour));
    }

    void FrameRect(const Rect& area, Colour colour, bool dotted) override {
        painter.setPen(QPen(ToQColor(colour), 1, dotted ? Qt::DotLine : Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        // A pen's outline of (x, y, w, h) covers w + 1 by h + 1 pixels.
        painter.drawRect(area.x, area.y, area.width - 1, area.height - 1);
    }

    void Text(Point at, TextAnchor anchor, const std::string& utf8, Colour colour, TextStyle style) override {
        painter.setFont(FontOf(widget, style));
        painter.setPen(ToQColor(colour));
        const QString text = QString::fromStdString(utf8);
        if (anchor == TextAnchor::BaseLine) {
            painter.drawText(at.x, at.y, text);
            return;
        }
        painter.drawText(QRect(at.x, at.y, 32767, widget->height() * 4),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }

    void Bitmap(const picture::CWinBmp& bitmap, Point at) override {
        painter.save();
        painter.setClipRect(widget->rect());
        PainterDevice device(painter);
        bitmap.Draw(&device, at.x, at.y);
        painter.restore();
    }

    void ScreenBitmap(const picture::CWinBmp& bitmap, const Rect& target) override {
        if (bitmap.IsEmpty() || bitmap.GetHeight() <= 0 || target.width <= 0 || target.height <= 0) return;
        // The lines are stored bottom line first: the wrapped image is upside down.
        const QImage lines = WrapDibLines(bitmap.GetLineTable()[bitmap.GetHeight() - 1], bitmap.GetInfoHeader());
        if (lines.isNull()) return;
        QImage image = lines.mirrored(false, true);
        const qreal ratio = widget->devicePixelRatioF();
        image.setDevicePixelRatio(ratio);
        if (image.width() == std::lround(target.width * ratio) &&
            image.height() == std::lround(target.height * ratio)) {
            painter.drawImage(QPoint(target.x, target.y), image);
        } else {
            painter.drawImage(QRect(target.x, target.y, target.width, target.height), image);
        }
    }

private:
    QPainter& painter;
    QWidget* widget;
};

// A hosted button reads as the control says: a link (which a screen reader
// can press) or a line of text, named by its text exactly as drawn (no '&'
// taken as a mnemonic); a panel as a picture, named by what it shows. A
// hosted plain button is left to Qt's own button.
class HostedAccessible : public QAccessibleWidget {
public:
    HostedAccessible(QWidget* widget, AccessibleRole (*roleOfWidget)(const QWidget*))
        : QAccessibleWidget(widget, QAccessible::Link), roleOf(roleOfWidget) {
        if (qobject_cast<QAbstractButton*>(widget)) addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    QAccessible::Role role() const override {
        switch (roleOf(widget())) {
            case AccessibleRole::Link:
                return QAccessible::Link;
            case AccessibleRole::StaticText:
                return QAccessible::StaticText;
            case AccessibleRole::Graphic:
                return QAccessible::Graphic;
            case AccessibleRole::Button:
                break;
        }
        return QAccessible::Button;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget()); button && button->accessibleName().isEmpty()) {
                return button->text();
            }
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (IsLink()) names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && IsLink()) {
            static_cast<QAbstractButton*>(widget())->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    bool IsLink() const { return roleOf(widget()) == AccessibleRole::Link && qobject_cast<QAbstractButton*>(widget()); }

    AccessibleRole (*roleOf)(const QWidget*);
};

AccessibleRole RoleOf(const QWidget* widget) {
    if (auto* button = qobject_cast<const OwnerDrawnButton*>(widget)) return button->Role();
    if (auto* panel = qobject_cast<const OwnerDrawnPanel*>(widget)) return panel->Role();
    return AccessibleRole::Button;
}

QAccessibleInterface* HostedAccessibleFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!qobject_cast<OwnerDrawnButton*>(object) && !qobject_cast<OwnerDrawnPanel*>(object)) return nullptr;
    if (RoleOf(widget) == AccessibleRole::Button) return nullptr;
    return new HostedAccessible(widget, RoleOf);
}

void InstallAccessibleFactory() {
    static const bool kInstalled = (QAccessible::installFactory(HostedAccessibleFactory), true);
    Q_UNUSED(kInstalled);
}

}  // namespace

int WidgetHost::Width() const {
    return widget->width();
}

int WidgetHost::Height() const {
    return widget->height();
}

void WidgetHost::Resize(int width, int height) {
    widget->resize(width, height);
}

double WidgetHost::Scale() const {
    return widget->devicePixelRatioF();
}

Colour WidgetHost::System(SystemColour which) const {
    const QColor colour =
        which == SystemColour::WindowText ? widget->palette().windowText().color() : widget->palette().window().color();
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

void WidgetHost::Redraw() {
    widget->update();
}

void WidgetHost::RedrawNow() {
    widget->repaint();
}

void WidgetHost::SetCursor(Cursor cursor) {
    widget->setCursor(cursor == Cursor::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void WidgetHost::SetTabStop(bool tabStop) {
    widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool WidgetHost::HasFocus() const {
    return widget->hasFocus();
}

bool WidgetHost::IsDown() const {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    return button && button->isDown();
}

std::string WidgetHost::Text() const {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    return button ? button->text().toStdString() : std::string();
}

int WidgetHost::TextWidth(const std::string& utf8, TextStyle style) const {
    return QFontMetrics(FontOf(widget, style), widget).horizontalAdvance(QString::fromStdString(utf8));
}

std::string WidgetHost::Elided(const std::string& utf8, int width, TextStyle style) const {
    return QFontMetrics(FontOf(widget, style), widget)
        .elidedText(QString::fromStdString(utf8), Qt::ElideRight, width)
        .toStdString();
}

std::string WidgetHost::Translate(const char* context, const char* text) const {
    return QCoreApplication::translate(context, text).toStdString();
}

void WidgetHost::SetAccessibleName(const std::string& utf8) {
    widget->setAccessibleName(QString::fromStdString(utf8));
}

void WidgetHost::SetAccessibleRole(AccessibleRole newRole) {
    role = newRole;
}

OwnerDrawnButton::OwnerDrawnButton(std::unique_ptr<OwnerDrawnControl> hosted, QWidget* parent)
    : QAbstractButton(parent), host(this), control(std::move(hosted)) {
    InstallAccessibleFactory();
    // The pointer is followed while no button is held, for the hot look.
    setMouseTracking(true);
    control->Attach(&host);
}

OwnerDrawnButton::~OwnerDrawnButton() = default;

void OwnerDrawnButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PainterCanvas canvas(painter, this);
    control->Paint(canvas);
}

void OwnerDrawnButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    control->MouseMove({at.x(), at.y()});
    QAbstractButton::mouseMoveEvent(event);
}

void OwnerDrawnButton::leaveEvent(QEvent* event) {
    control->MouseLeave();
    QAbstractButton::leaveEvent(event);
}

void OwnerDrawnButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    control->FocusChanged(true);
}

void OwnerDrawnButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    control->FocusChanged(false);
}

OwnerDrawnPanel::OwnerDrawnPanel(std::unique_ptr<OwnerDrawnControl> hosted, QWidget* parent)
    : QWidget(parent), host(this), control(std::move(hosted)) {
    InstallAccessibleFactory();
    // The control paints every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
    control->Attach(&host);
}

OwnerDrawnPanel::~OwnerDrawnPanel() = default;

void OwnerDrawnPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PainterCanvas canvas(painter, this);
    control->Paint(canvas);
}

void OwnerDrawnPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    control->MouseMove({at.x(), at.y()});
    QWidget::mouseMoveEvent(event);
}

void OwnerDrawnPanel::leaveEvent(QEvent* event) {
    control->MouseLeave();
    QWidget::leaveEvent(event);
}

void OwnerDrawnPanel::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    control->FocusChanged(true);
}

void OwnerDrawnPanel::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    control->FocusChanged(false);
}

OwnerDrawnButton* MakeOwnerDrawnButton(std::unique_ptr<OwnerDrawnControl> control) {
    return new OwnerDrawnButton(std::move(control));
}

OwnerDrawnPanel* MakeOwnerDrawnPanel(std::unique_ptr<OwnerDrawnControl> control) {
    return new OwnerDrawnPanel(std::move(control));
}

OwnerDrawnControl* HostedControl(const QWidget* widget) {
    if (auto* button = qobject_cast<const OwnerDrawnButton*>(widget)) return &button->Control();
    if (auto* panel = qobject_cast<const OwnerDrawnPanel*>(widget)) return &panel->Control();
    return nullptr;
}

}  // namespace ovlet::platform::qt
