// The platform's plain controls: edit fields that keep to a character filter
// and a typing limit, a multi-line edit that speaks CR LF, and a tab
// control whose pages are the dialog's own controls.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <utility>

class QTabBar;

namespace ovlet::platform {

// Decides whether typed or pasted text can be taken (for example whether
// every character fits a code page); what it refuses is not inserted.
using QtTextFilter = std::function<bool(const QString& text)>;

// The distinct characters of `text` that `filter` refuses, in order, each
// once, separated by spaces (a character outside the basic plane is one).
QString RefusedCharacters(QtTextFilter filter, const QString& text);

// One-line edit. The typing limit holds for the text that results from what
// the user types or pastes (what does not fit is cut, as far as it goes), not
// for text the program sets; text the filter refuses is refused with a beep.
class EditControl : public QLineEdit {
    Q_OBJECT
public:
    explicit EditControl(QWidget* parent = nullptr);
    void SetLimitText(int newLimit);  // 0: no limit
    int LimitText() const { return limit; }
    void SetTextFilter(QtTextFilter newFilter);  // null: every text
    bool Accepts(const QString& text) const;
    QString Refused(const QString& text) const { return RefusedCharacters(filter, text); }
    // The text, and the selection (start, length) or cursor (position, 0),
    // before the change now being checked.
    const QString& PreviousText() const { return previous; }
    std::pair<qsizetype, qsizetype> SelectionBefore() const { return selection; }
    // Sets the text as the program does: the typing limit does not apply.
    void SetWindowText(const QString& text);
    bool SettingWindowText() const { return settingText; }

signals:
    // Text of more than one character (a paste, a drop, an input method's)
    // was refused whole: `characters` are those the filter does not take.
    // A single typed character is refused with a beep instead.
    void TextRefused(const QString& characters);

private:
    int limit = 0;
    QtTextFilter filter = nullptr;
    QString previous;
    std::pair<qsizetype, qsizetype> selection{0, 0};
    bool settingText = false;
};

// Multi-line edit; its text is exchanged with CR LF line breaks. Enter
// belongs to it (a line break, or nothing while it is read-only).
class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineEdit(QWidget* parent = nullptr);
    QString WindowText() const;               // CR LF line breaks
    void SetWindowText(const QString& text);  // CR LF or LF line breaks
    bool SettingWindowText() const { return settingText; }
    void SetTextFilter(QtTextFilter newFilter);  // null: every text
    bool Accepts(const QString& text) const;

signals:
    // As EditControl::TextRefused.
    void TextRefused(const QString& characters);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    QtTextFilter filter = nullptr;
    bool settingText = false;
};

// A one-line static text that, when it does not fit, is drawn shortened with
// an ellipsis (at the end, or in the middle where the end matters, as in a
// file's path); its text and its name for assistive technology stay whole.
class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidingLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent = nullptr);
    void SetMode(Qt::TextElideMode elideMode);
    // Whether the text is drawn shortened at the label's present width.
    bool IsTextCut() const;
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode mode;
};

// A group box drawn the way the layouts expect: a thin frame with the title
// set into its top line.
class GroupFrame : public QWidget {
    Q_OBJECT
public:
    explicit GroupFrame(const QString& caption, QWidget* parent = nullptr);
    QString Title() const { return title; }
    void SetTitle(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title;
};

// A static icon: the window's icon, drawn whole and as large as its box allows.
class IconControl : public QWidget {
    Q_OBJECT
public:
    explicit IconControl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A tab control: the tabs along the top and a framed page area below, with
// the page's controls as siblings drawn above it.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);
    int InsertItem(int index, const QString& text);
    int GetCurSel() const;
    void SetCurSel(int index);
    int Count() const;
    QTabBar* Bar() const { return bar; }
    // The page area's top border line, in the control's coordinates.
    int PageTop() const;

signals:
    void SelectionChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* bar;
};

}  // namespace ovlet::platform
