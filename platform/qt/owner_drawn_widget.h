// The Qt face of the owner-drawn controls: widgets that host a control of
// platform/owner_drawn.h, paint it through a canvas over QPainter and pass it
// the pointer and the focus. A button keeps what QAbstractButton does (press,
// release, keys, shortcut, clicked()); a panel is a plain widget.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <memory>

#include "platform/owner_drawn.h"

namespace ovlet::platform::qt {

// What a hosting widget does for its control (ControlHost over a QWidget).
class WidgetHost : public ControlHost {
public:
    explicit WidgetHost(QWidget* hostWidget) : widget(hostWidget) {}

    int Width() const override;
    int Height() const override;
    void Resize(int width, int height) override;
    double Scale() const override;
    Colour System(SystemColour which) const override;
    void Redraw() override;
    void RedrawNow() override;
    void SetCursor(Cursor cursor) override;
    void SetTabStop(bool tabStop) override;
    bool HasFocus() const override;
    bool IsDown() const override;
    std::string Text() const override;
    int TextWidth(const std::string& utf8, TextStyle style) const override;
    std::string Elided(const std::string& utf8, int width, TextStyle style) const override;
    std::string Translate(const char* context, const char* text) const override;
    void SetAccessibleName(const std::string& utf8) override;
    void SetAccessibleRole(AccessibleRole role) override;

    AccessibleRole Role() const { return role; }

private:
    QWidget* widget;
    AccessibleRole role = AccessibleRole::Button;
};

class OwnerDrawnButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit OwnerDrawnButton(std::unique_ptr<OwnerDrawnControl> control, QWidget* parent = nullptr);
    ~OwnerDrawnButton() override;

    OwnerDrawnControl& Control() const { return *control; }
    AccessibleRole Role() const { return host.Role(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    WidgetHost host;
    std::unique_ptr<OwnerDrawnControl> control;
};

class OwnerDrawnPanel : public QWidget {
    Q_OBJECT
public:
    explicit OwnerDrawnPanel(std::unique_ptr<OwnerDrawnControl> control, QWidget* parent = nullptr);
    ~OwnerDrawnPanel() override;

    OwnerDrawnControl& Control() const { return *control; }
    AccessibleRole Role() const { return host.Role(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    WidgetHost host;
    std::unique_ptr<OwnerDrawnControl> control;
};

// A control that is clicked (a button) or only shown (a panel), in a widget
// of its own; the control is attached before these return.
OwnerDrawnButton* MakeOwnerDrawnButton(std::unique_ptr<OwnerDrawnControl> control);
OwnerDrawnPanel* MakeOwnerDrawnPanel(std::unique_ptr<OwnerDrawnControl> control);

// The control a widget hosts; null for any other widget.
OwnerDrawnControl* HostedControl(const QWidget* widget);
template <class T>
T* Hosted(const QWidget* widget) {
    return dynamic_cast<T*>(HostedControl(widget));
}

}  // namespace ovlet::platform::qt
