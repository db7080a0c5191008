// A button that draws itself as one line of text: in its link look underlined
// and blue, red while the pointer is over it; in its plain look ordinary text.
#pragma once

#include <QAbstractButton>
#include <cstdint>

class CLinkButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CLinkButton(QWidget* parent = nullptr);

    void SetLinkStyle(int link);
    bool IsLinkStyle() const { return linkLook; }
    bool IsHot() const { return hot; }
    // The colour the text is drawn in now.
    QColor TextColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::int32_t linkLook = 1;
    std::int32_t hot = 0;
};
