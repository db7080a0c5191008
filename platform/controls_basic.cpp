#include "platform/controls_basic.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTabBar>
#include <QTextDocument>
#include <QValidator>

#include "platform/ui_services.h"

namespace platform {
namespace {

// Keeps a one-line edit inside its typing limit and its character set. Text
// set by the program is not validated; an edit that does not make the text
// longer is always allowed, so an over-long text the program set can still be
// shortened.
class LimitValidator : public QValidator {
public:
    explicit LimitValidator(EditControl* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override {
        if (edit_->SettingWindowText()) return Acceptable;
        const QString& old = edit_->PreviousText();
        if (!edit_->Accepts(input)) {
            Ui().Beep();
            return Invalid;
        }
        const int limit = edit_->LimitText();
        if (limit <= 0 || input.size() <= limit || input.size() <= old.size()) return Acceptable;
        // Cut what was just inserted (it ends at the cursor) to what still fits.
        const qsizetype allowed = std::max<qsizetype>(limit, old.size());
        const qsizetype overflow = input.size() - allowed;
        const qsizetype inserted = input.size() - old.size();
        Ui().Beep();
        if (overflow >= inserted || pos < overflow) return Invalid;
        input.remove(pos - overflow, overflow);
        pos -= static_cast<int>(overflow);
        return Acceptable;
    }

private:
    EditControl* edit_;
};

}  // namespace

EditControl::EditControl(QWidget* parent) : QLineEdit(parent) {
    setValidator(new LimitValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { previous_ = text; });
}

void EditControl::SetWindowText(const QString& text) {
    settingText_ = true;
    setText(text);
    settingText_ = false;
}

void EditControl::SetLimitText(int limit) {
    limit_ = limit;
}

void EditControl::SetTextFilter(TextFilter filter) {
    filter_ = filter;
}

bool EditControl::Accepts(const QString& text) const {
    return !filter_ || filter_(text);
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
    setPlainText(plain);
}

void MultiLineEdit::SetTextFilter(TextFilter filter) {
    filter_ = filter;
}

bool MultiLineEdit::Accepts(const QString& text) const {
    return !filter_ || filter_(text);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && !event->text().isEmpty() && event->text().at(0).isPrint() && !Accepts(event->text())) {
        Ui().Beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText() && !Accepts(source->text())) {
        Ui().Beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!Accepts(event->commitString())) {
        Ui().Beep();
        event->setCommitString(QString());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

GroupFrame::GroupFrame(const QString& title, QWidget* parent) : QWidget(parent), title_(title) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupFrame::SetTitle(const QString& title) {
    title_ = title;
    update();
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    painter.setPen(palette().mid().color());
    painter.drawRect(QRect(0, lineY, width() - 1, height() - lineY - 1));
    if (title_.isEmpty()) return;
    const int textWidth = metrics.horizontalAdvance(title_);
    const QRect titleRect(6, 0, textWidth + 4, metrics.height());
    painter.fillRect(titleRect, palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(titleRect, Qt::AlignCenter, title_);
}

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setFocusPolicy(Qt::ClickFocus);
    connect(bar_, &QTabBar::currentChanged, this, &TabControl::SelectionChanged);
    setFocusProxy(bar_);
}

int TabControl::InsertItem(int index, const QString& text) {
    QSignalBlocker block(bar_);
    const int at = bar_->insertTab(index, text);
    bar_->adjustSize();
    return at;
}

int TabControl::GetCurSel() const {
    return bar_->currentIndex();
}

void TabControl::SetCurSel(int index) {
    bar_->setCurrentIndex(index);
}

int TabControl::Count() const {
    return bar_->count();
}

int TabControl::PageTop() const {
    return bar_->sizeHint().height() - 1;
}

void TabControl::resizeEvent(QResizeEvent*) {
    bar_->move(2, 0);
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

}  // namespace platform
