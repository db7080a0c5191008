#include "platform/qt/controls_basic.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTabBar>
#include <QTextDocument>
#include <QValidator>

#include "platform/qt/ui_services.h"

namespace ovlet::platform {
namespace {

// Keeps a one-line edit inside its typing limit and its character set. Text
// set by the program is not validated; an edit that does not make the text
// longer is always allowed, so an over-long text the program set can still be
// shortened. The limit holds for the text that results: what was typed or
// pasted over a selection replaces it as far as it fits, and only when none of
// it fits does the edit refuse and beep.
class LimitValidator : public QValidator {
public:
    explicit LimitValidator(EditControl* owner) : QValidator(owner), edit(owner) {}

    State validate(QString& input, int& pos) const override {
        if (edit->SettingWindowText()) return Acceptable;
        const QString& old = edit->PreviousText();
        if (!edit->Accepts(input)) {
            // Typed over the selection, one character makes the text one longer.
            const qsizetype inserted = input.size() - old.size() + edit->SelectionBefore().second;
            if (inserted > 1) {
                const QString refused = edit->Refused(input);
                QMetaObject::invokeMethod(
                    edit, [target = edit, refused] { emit target->TextRefused(refused); }, Qt::QueuedConnection);
            } else {
                Ui().Beep();
            }
            return Invalid;
        }
        const qsizetype limit = edit->LimitText();
        if (limit <= 0 || input.size() <= limit || input.size() <= old.size()) return Acceptable;
        // The change replaced the selection old[start, start + selected) by
        // input[start, pos). Where the selection before the change does not
        // explain the change (an undo, a drop), the text before the first
        // difference and after the cursor is taken as unchanged.
        qsizetype start = edit->SelectionBefore().first;
        const qsizetype selected = edit->SelectionBefore().second;
        if (start + input.size() - (old.size() - selected) != pos || start + selected > old.size() ||
            QStringView(input).left(start) != QStringView(old).left(start)) {
            const qsizetype common = std::min<qsizetype>(pos, old.size() - (input.size() - pos));
            for (start = 0; start < common && input[start] == old[start];) ++start;
        }
        const qsizetype inserted = pos - start;
        // An over-long text the program set may stay as long as it is.
        const qsizetype overflow = input.size() - std::max(limit, old.size());
        if (overflow >= inserted) {
            Ui().Beep();
            return Invalid;
        }
        input.remove(pos - overflow, overflow);
        pos -= static_cast<int>(overflow);
        return Acceptable;
    }

private:
    EditControl* edit;
};

// Tabs as high as the dialog font needs: the layouts place the pages' first
// controls and group boxes for tabs of that height, so taller tabs would cover
// them with the page's top border.
class CompactTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        size.setHeight(fontMetrics().height() + 7);
        return size;
    }
};

// A group box reads as a group named by its caption.
QAccessibleInterface* GroupAccessible(const QString&, QObject* object) {
    if (auto* frame = qobject_cast<GroupFrame*>(object)) return new QAccessibleWidget(frame, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

QString RefusedCharacters(QtTextFilter filter, const QString& text) {
    QStringList refused;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length - 1;
        if (filter && !filter(character) && !refused.contains(character)) refused << character;
    }
    return refused.join(QChar(' '));
}

EditControl::EditControl(QWidget* parent) : QLineEdit(parent) {
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { previous = text; });
    // Both signals come after a change has been validated, so during the check
    // the selection is still the one the change replaced.
    const auto remember = [this] {
        selection = hasSelectedText() ? std::pair<qsizetype, qsizetype>(selectionStart(), selectionLength())
                                      : std::pair<qsizetype, qsizetype>(cursorPosition(), 0);
    };
    connect(this, &QLineEdit::selectionChanged, this, remember);
    connect(this, &QLineEdit::cursorPositionChanged, this, remember);
}

void EditControl::SetWindowText(const QString& text) {
    settingText = true;
    setText(text);
    settingText = false;
}

void EditControl::SetLimitText(int newLimit) {
    limit = newLimit;
}

void EditControl::SetTextFilter(QtTextFilter newFilter) {
    filter = newFilter;
}

bool EditControl::Accepts(const QString& text) const {
    return !filter || filter(text);
}

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QString MultiLineEdit::WindowText() const {
    // The raw text keeps every character as typed (plain text would turn a
    // no-break space into a space); paragraph and line separators become line feeds.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QChar('\n')).replace(QChar::LineSeparator, QChar('\n'));
    text.replace(QChar('\n'), QStringLiteral("\r\n"));
    return text;
}

void MultiLineEdit::SetWindowText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    settingText = true;
    setPlainText(plain);
    settingText = false;
}

void MultiLineEdit::SetTextFilter(QtTextFilter newFilter) {
    filter = newFilter;
}

bool MultiLineEdit::Accepts(const QString& text) const {
    return !filter || filter(text);
}

bool MultiLineEdit::event(QEvent* event) {
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        // The frame marks the focus as a one-line edit's does: the style
        // draws no such mark around a scrolling text.
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Active, QPalette::Highlight));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    return handled;
}

void MultiLineEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    update();
}

void MultiLineEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    update();
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    // Tab and Shift+Tab leave the text (the dialog moves the focus before the
    // key gets here); where there is nowhere else to go they do nothing, and
    // never type a tab character. Ctrl+Tab belongs to the window.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && isReadOnly() && !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))) {
        // Enter belongs to the text: a read-only text takes it and does nothing
        // with it, so it never reaches the dialog as its OK.
        event->accept();
        return;
    }
    if (!isReadOnly() && !event->text().isEmpty() && event->text().at(0).isPrint() && !Accepts(event->text())) {
        Ui().Beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText() && !Accepts(source->text())) {
        emit TextRefused(RefusedCharacters(filter, source->text()));
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!Accepts(event->commitString())) {
        if (event->commitString().size() > 1) {
            emit TextRefused(RefusedCharacters(filter, event->commitString()));
        } else {
            Ui().Beep();
        }
        event->setCommitString(QString());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

ElidingLabel::ElidingLabel(const QString& text, Qt::TextElideMode elideMode, QWidget* parent)
    : QLabel(text, parent), mode(elideMode) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidingLabel::SetMode(Qt::TextElideMode elideMode) {
    mode = elideMode;
    update();
}

QString ElidingLabel::ShownText() const {
    return fontMetrics().elidedText(text(), mode, contentsRect().width());
}

bool ElidingLabel::IsTextCut() const {
    return ShownText() != text();
}

void ElidingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ShownText());
}

GroupFrame::GroupFrame(const QString& caption, QWidget* parent) : QWidget(parent), title(caption) {
    static const bool kAccessible = (QAccessible::installFactory(GroupAccessible), true);
    Q_UNUSED(kAccessible);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(caption);
}

void GroupFrame::SetTitle(const QString& caption) {
    title = caption;
    setAccessibleName(caption);
    update();
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    painter.setPen(palette().mid().color());
    painter.drawRect(QRect(0, lineY, width() - 1, height() - lineY - 1));
    if (title.isEmpty()) return;
    const int textWidth = metrics.horizontalAdvance(title);
    const QRect titleRect(6, 0, textWidth + 4, metrics.height());
    painter.fillRect(titleRect, palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(titleRect, Qt::AlignCenter, title);
}

IconControl::IconControl(QWidget* parent) : QWidget(parent) {}

void IconControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    window()->windowIcon().paint(&painter, rect(), Qt::AlignCenter);
}

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar(new CompactTabBar(this)) {
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setFocusPolicy(Qt::ClickFocus);
    connect(bar, &QTabBar::currentChanged, this, &TabControl::SelectionChanged);
    setFocusProxy(bar);
}

int TabControl::InsertItem(int index, const QString& text) {
    QSignalBlocker block(bar);
    const int at = bar->insertTab(index, text);
    bar->adjustSize();
    return at;
}

int TabControl::GetCurSel() const {
    return bar->currentIndex();
}

void TabControl::SetCurSel(int index) {
    bar->setCurrentIndex(index);
}

int TabControl::Count() const {
    return bar->count();
}

int TabControl::PageTop() const {
    return bar->sizeHint().height() - 1;
}

void TabControl::resizeEvent(QResizeEvent*) {
    bar->move(2, 0);
}

void TabControl::paintEvent(QPaintEvent*) {
    // The page area has the dialog's face colour, so the page's controls sit
    // on it as on the window.
    QPainter painter(this);
    const int top = PageTop();
    const QRect page(0, top, width() - 1, height() - top - 1);
    painter.fillRect(page, palette().window());
    painter.setPen(palette().mid().color());
    painter.drawRect(page);
}

}  // namespace ovlet::platform
