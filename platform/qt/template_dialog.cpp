#include "platform/qt/template_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimerEvent>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "platform/qt/controls_basic.h"

namespace ovlet::platform {
namespace {

// A static this high or lower holds one line of text.
constexpr int kOneLineHeight = 10;

std::function<QIcon(const std::string&)>& IconSource() {
    static std::function<QIcon(const std::string&)> source;
    return source;
}

}  // namespace

void SetIconSource(std::function<QIcon(const std::string&)> source) {
    IconSource() = std::move(source);
}

QIcon IconOf(const std::string& program) {
    return IconSource() ? IconSource()(program) : QApplication::windowIcon();
}

DialogUnits DialogUnits::ForTemplate(const QFont& font, const DialogTemplate& dialog) {
    const QFontMetricsF metrics(font);
    DialogUnits units;
    units.baseX =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    units.baseY = QFontMetrics(font).height();
    for (const ControlTemplate& control : dialog.controls) {
        if (control.kind != ControlKind::Static || control.height > kOneLineHeight || control.width <= 0) continue;
        const double width = metrics.horizontalAdvance(QString::fromStdString(control.text)) + 1;
        units.baseX = std::max(units.baseX, width * 4 / control.width);
    }
    return units;
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::floor(units * baseX / 4));
}

int DialogUnits::Y(int units) const {
    return static_cast<int>(std::floor(units * baseY / 8));
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(QPoint(X(x), Y(y)), QPoint(X(x + width) - 1, Y(y + height) - 1));
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(X(width), Y(height));
}

QFont DialogFont(int pointSize) {
    // A sans-serif face with the proportions the layouts were drawn for.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

TemplateDialog::TemplateDialog(const DialogTemplate& dialog, QWidget* parent)
    : QDialog(parent), dialogTemplate(dialog) {
    dialogFont = DialogFont(dialogTemplate.pointSize);
    setFont(dialogFont);
    units = DialogUnits::ForTemplate(dialogFont, dialogTemplate);
    if (dialogTemplate.caption.empty()) {
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    } else {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setWindowTitle(TemplateText(dialogTemplate.caption));
    }
    setFixedSize(units.ToPixels(dialogTemplate.width, dialogTemplate.height));
}

void TemplateDialog::ConnectNotifications(QWidget* widget, int id) {
    // What the user does, not what the program sets.
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, id] { OnTextChanged(id); });
    }
    if (auto* edit = qobject_cast<MultiLineEdit*>(widget)) {
        connect(edit, &QPlainTextEdit::textChanged, this, [this, id, edit] {
            if (!edit->SettingWindowText()) OnTextChanged(id);
        });
    }
    if (auto* tabs = qobject_cast<TabControl*>(widget)) {
        connect(tabs, &TabControl::SelectionChanged, this, [this, id] {
            if (!selectingTab) OnTabChanged(id);
        });
    }
}

void TemplateDialog::Create() {
    if (created) return;
    created = true;
    QWidget* previous = nullptr;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control);
        if (!widget) continue;
        widget->setParent(this);
        widget->setFont(dialogFont);
        if (auto* label = qobject_cast<QLabel*>(widget); label && control.height <= kOneLineHeight) {
            label->setWordWrap(false);
        }
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        if (control.tabStop) {
            if (widget->focusPolicy() == Qt::NoFocus) widget->setFocusPolicy(Qt::StrongFocus);
        } else if (qobject_cast<QLabel*>(widget) || qobject_cast<GroupFrame*>(widget)) {
            widget->setFocusPolicy(Qt::NoFocus);
        } else if (widget->focusPolicy() & Qt::TabFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        // Later controls are drawn above earlier ones and follow them in Tab order.
        widget->raise();
        if (previous && widget->focusPolicy() != Qt::NoFocus) setTabOrder(previous, widget);
        if (widget->focusPolicy() != Qt::NoFocus) previous = widget;
        widget->show();
        if (control.id >= 0) {
            items.insert(control.id, widget);
            ConnectNotifications(widget, control.id);
        }
    }
    // A tab control's pages lie over it: their controls are drawn above it,
    // wherever the template places them.
    for (TabControl* tabs : findChildren<TabControl*>(Qt::FindDirectChildrenOnly)) tabs->lower();
    if (!parentWidget()) {
        // Placed now, before its initialisation, so that a message the
        // initialisation shows appears over the window, where it will open.
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame(QPoint(0, 0), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    OnInitDialog();
}

int TemplateDialog::DoModal() {
    Create();
    ending = false;
    return exec();
}

void TemplateDialog::done(int result) {
    ending = true;
    // The timers end with the window.
    while (!timers.empty()) StopTimer(timers.begin()->first);
    QDialog::done(result);
}

QString TemplateDialog::TemplateText(const std::string& text) const {
    if (!dialogTemplate.context || text.empty()) return QString::fromStdString(text);
    return QCoreApplication::translate(dialogTemplate.context, text.c_str());
}

QWidget* TemplateDialog::CreateControl(const ControlTemplate& control) {
    const QString text = TemplateText(control.text);
    switch (control.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(text);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setContentsMargins(0, 0, 0, 0);
            label->setIndent(0);
            return label;
        }
        case ControlKind::Icon:
            return new IconControl;
        case ControlKind::Edit:
            return new EditControl;
        case ControlKind::MultiLineEdit:
            return new MultiLineEdit;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(text);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            button->setAutoDefault(false);
            RouteClicks(button, control.id);
            return button;
        }
        case ControlKind::GroupBox:
            return new GroupFrame(text);
        case ControlKind::TabControl:
            return new TabControl;
        case ControlKind::OwnerDrawButton:
        case ControlKind::PicturePanel:
            return nullptr;
    }
    return nullptr;
}

void TemplateDialog::RouteClicks(QWidget* widget, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
}

void TemplateDialog::OnCommand(int id) {
    if (id == kIdOk) OnOK();
    if (id == kIdCancel) OnCancel();
}

QString TemplateDialog::ItemText(int id) const {
    QWidget* w = Item(id);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* m = qobject_cast<MultiLineEdit*>(w)) return m->WindowText();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<GroupFrame*>(w)) return g->Title();
    return {};
}

void TemplateDialog::SetItemText(int id, const QString& text) {
    QWidget* w = Item(id);
    if (auto* e = qobject_cast<EditControl*>(w)) {
        e->SetWindowText(text);
        e->setCursorPosition(0);
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* m = qobject_cast<MultiLineEdit*>(w)) {
        m->SetWindowText(text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(text);
        b->update();
    } else if (auto* g = qobject_cast<GroupFrame*>(w)) {
        g->SetTitle(text);
    }
}

void TemplateDialog::ShowItem(int id, bool show) {
    if (QWidget* w = Item(id)) w->setVisible(show);
}

bool TemplateDialog::IsItemShown(int id) const {
    QWidget* w = Item(id);
    return w && !w->isHidden();
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Escape:
            OnCancel();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter on a focused button presses it; anywhere else it is the dialog's OK.
            if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()); button && button->isVisible()) {
                button->click();
            } else {
                OnOK();
            }
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
    // A window that has already ended (done()) closes without asking again.
    if (ending || !isVisible() || OnClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace ovlet::platform

namespace ovlet::platform {

void TemplateDialog::Enable(int id, bool enable) {
    if (QWidget* w = Item(id)) w->setEnabled(enable);
}

bool TemplateDialog::IsEnabled(int id) const {
    const QWidget* w = Item(id);
    return w && w->isEnabled();
}

void TemplateDialog::Focus(int id) {
    if (QWidget* w = Item(id)) w->setFocus(Qt::OtherFocusReason);
}

int TemplateDialog::Focused() const {
    const QWidget* focus = focusWidget();
    if (!focus) return kNoControl;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        if (it.value() == focus || it.value()->isAncestorOf(focus)) return it.key();
    }
    return kNoControl;
}

void TemplateDialog::SetLimit(int id, int characters) {
    if (auto* edit = ItemAs<EditControl>(id)) edit->SetLimitText(characters);
}

void TemplateDialog::SetReadOnly(int id, bool readOnly) {
    if (auto* edit = ItemAs<QLineEdit>(id)) edit->setReadOnly(readOnly);
    if (auto* text = ItemAs<MultiLineEdit>(id)) {
        text->setReadOnly(readOnly);
        // A read-only text can still be selected and copied.
        if (readOnly) text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

void TemplateDialog::SelectAllText(int id) {
    if (auto* edit = ItemAs<QLineEdit>(id)) edit->selectAll();
    if (auto* text = ItemAs<MultiLineEdit>(id)) text->selectAll();
}

void TemplateDialog::SetToolTip(int id, const std::string& text) {
    if (QWidget* w = Item(id)) w->setToolTip(QString::fromStdString(text));
}

void TemplateDialog::SetAccessibleName(int id, const std::string& name) {
    if (QWidget* w = Item(id)) w->setAccessibleName(QString::fromStdString(name));
}

void TemplateDialog::SetAccessibleDescription(int id, const std::string& description) {
    if (QWidget* w = Item(id)) w->setAccessibleDescription(QString::fromStdString(description));
}

void TemplateDialog::AddTab(int id, const std::string& text) {
    if (auto* tabs = ItemAs<TabControl>(id)) tabs->InsertItem(tabs->Count(), QString::fromStdString(text));
}

int TemplateDialog::SelectedTab(int id) const {
    const auto* tabs = ItemAs<TabControl>(id);
    return tabs ? tabs->GetCurSel() : -1;
}

void TemplateDialog::SelectTab(int id, int index) {
    auto* tabs = ItemAs<TabControl>(id);
    if (!tabs) return;
    selectingTab = true;
    tabs->SetCurSel(index);
    selectingTab = false;
}

void TemplateDialog::SetShortening(int id, Shortening where) {
    const Qt::TextElideMode mode = where == Shortening::End      ? Qt::ElideRight
                                   : where == Shortening::Middle ? Qt::ElideMiddle
                                                                 : Qt::ElideNone;
    QWidget* w = Item(id);
    if (auto* eliding = qobject_cast<ElidingLabel*>(w)) {
        eliding->SetMode(mode);
        return;
    }
    auto* label = qobject_cast<QLabel*>(w);
    if (!label || where == Shortening::None) return;
    // The label gives way to one that shortens, in its place and with its text.
    auto* shortening = new ElidingLabel(label->text(), mode, this);
    shortening->setFont(label->font());
    shortening->setGeometry(label->geometry());
    shortening->setFocusPolicy(label->focusPolicy());
    shortening->stackUnder(label);
    shortening->setVisible(!label->isHidden());
    items.insert(id, shortening);
    delete label;
}

bool TemplateDialog::IsShortened(int id) const {
    const auto* label = ItemAs<ElidingLabel>(id);
    return label && label->IsTextCut();
}

void TemplateDialog::SetTextFilter(int id, TextFilter accepts) {
    QtTextFilter filter;
    if (accepts) filter = [accepts](const QString& text) { return accepts(text.toStdString()); };
    const auto refused = [this, id](const QString& characters) { OnTextRefused(id, characters.toStdString()); };
    if (auto* edit = ItemAs<EditControl>(id)) {
        edit->SetTextFilter(filter);
        disconnect(edit, &EditControl::TextRefused, this, nullptr);
        connect(edit, &EditControl::TextRefused, this, refused);
    }
    if (auto* edit = ItemAs<MultiLineEdit>(id)) {
        edit->SetTextFilter(filter);
        disconnect(edit, &MultiLineEdit::TextRefused, this, nullptr);
        connect(edit, &MultiLineEdit::TextRefused, this, refused);
    }
}

void TemplateDialog::SetWindowMenu(const std::vector<MenuEntry>& entries) {
    menuEntries = entries;
    if (!menuKeys.empty()) return;
    // The keyboard's ways to a menu open it from any control, at that control
    // (desktops that keep Alt+Space leave Shift+F10 and the Menu key).
    for (const QKeySequence& keys :
         {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            const QWidget* at = focusWidget() && focusWidget()->isVisible() ? focusWidget() : this;
            PopUpWindowMenu(at->mapToGlobal(at == this ? QPoint(0, 0) : at->rect().center()));
        });
        menuKeys.push_back(shortcut);
    }
}

void TemplateDialog::PopUpWindowMenu(const QPoint& at) {
    if (menuEntries.empty()) return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuEntry& entry : menuEntries) {
        if (entry.command == kNoControl) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(entry.text));
        action->setData(entry.command);
        connect(action, &QAction::triggered, this, [this, command = entry.command] { OnCommand(command); });
    }
    poppedMenu = menu;
    menu->popup(at);
}

void TemplateDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (menuEntries.empty()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    PopUpWindowMenu(event->globalPos());
}

void TemplateDialog::SetShortcut(int command, const std::string& keys) {
    const QKeySequence sequence(QString::fromStdString(keys));
    for (const QPointer<QObject>& old : shortcuts[command]) delete old.data();
    shortcuts[command].clear();
    if (keys.empty()) return;
    std::vector<QKeySequence> forms = {sequence};
    // Ctrl+Shift+Tab reaches the window as Backtab or as Tab, with Shift or
    // without, depending on the desktop's keyboard map: each form gives the
    // command (a key that matches two forms at once still gives it once).
    if (sequence == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)) {
        forms.emplace_back(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
        forms.emplace_back(Qt::CTRL | Qt::Key_Backtab);
    }
    // A button's keys do nothing while it is hidden or disabled.
    const auto give = [this, command] {
        if (const QWidget* button = Item(command); button && !(button->isVisible() && button->isEnabled())) return;
        OnCommand(command);
    };
    // Keys of a button belong to it: while it is hidden or disabled they
    // reach the control that has the focus, as if they were none.
    QWidget* owner = Item(command) ? Item(command) : this;
    for (const QKeySequence& form : forms) {
        auto* shortcut = new QShortcut(form, owner);
        connect(shortcut, &QShortcut::activated, this, give);
        connect(shortcut, &QShortcut::activatedAmbiguously, this, give);
        shortcuts[command].push_back(shortcut);
    }
}

std::string TemplateDialog::KeysText(const std::string& keys) const {
    return QKeySequence(QString::fromStdString(keys)).toString(QKeySequence::NativeText).toStdString();
}

void TemplateDialog::SetPointer(PointerLook look) {
    const bool nowBusy = look == PointerLook::Busy;
    if (nowBusy == busy) return;
    busy = nowBusy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void TemplateDialog::AcceptDroppedFiles(bool accept) {
    setAcceptDrops(accept);
    // A file dropped on a field is the window's, not text for the field.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!child->acceptDrops()) continue;
        if (accept) {
            child->installEventFilter(this);
        } else {
            child->removeEventFilter(this);
        }
    }
}

bool TemplateDialog::HandleFileDrag(QDropEvent* event) {
    QString path;
    if (const QMimeData* carried = event->mimeData(); carried && carried->hasUrls()) {
        for (const QUrl& url : carried->urls()) {
            if (url.isLocalFile()) {
                path = url.toLocalFile();
                break;
            }
        }
    }
    if (path.isEmpty()) return false;
    const std::string file = QFile::encodeName(path).toStdString();
    if (!FileOffered(file)) {
        event->ignore();
        return true;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (event->type() == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this, [this, file] { FileDropped(file); }, Qt::QueuedConnection);
    }
    return true;
}

void TemplateDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

void TemplateDialog::dragMoveEvent(QDragMoveEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

void TemplateDialog::dropEvent(QDropEvent* event) {
    if (!HandleFileDrag(event)) event->ignore();
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (acceptDrops()) return HandleFileDrag(static_cast<QDropEvent*>(event));
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool TemplateDialog::focusNextPrevChild(bool next) {
    if (tabOrder.empty()) return QDialog::focusNextPrevChild(next);
    std::vector<QWidget*> stops;
    for (int id : tabOrder) {
        QWidget* w = Item(id);
        if (auto* tabs = qobject_cast<TabControl*>(w)) w = tabs->Bar();
        if (w && w->isVisibleTo(this) && w->isEnabled()) stops.push_back(w);
    }
    if (stops.empty()) return QDialog::focusNextPrevChild(next);
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    QWidget* focus = focusWidget();
    const auto at = std::find_if(stops.begin(), stops.end(),
                                 [focus](QWidget* w) { return focus && (w == focus || w->isAncestorOf(focus)); });
    if (at == stops.end()) {
        (next ? stops.front() : stops.back())->setFocus(reason);
        return true;
    }
    const auto index = static_cast<std::size_t>(at - stops.begin());
    stops[next ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size()]->setFocus(reason);
    return true;
}

void TemplateDialog::StartTimer(int timer, int milliseconds) {
    StopTimer(timer);
    const int interval = std::max(milliseconds, 1);
    timers[timer] = Timer{interval, now + interval, scriptedClock ? 0 : startTimer(interval)};
}

void TemplateDialog::StopTimer(int timer) {
    const auto it = timers.find(timer);
    if (it == timers.end()) return;
    if (it->second.systemId) killTimer(it->second.systemId);
    timers.erase(it);
}

void TemplateDialog::timerEvent(QTimerEvent* event) {
    for (const auto& [timer, running] : timers) {
        if (running.systemId == event->timerId()) {
            OnTimer(timer);
            return;
        }
    }
    QDialog::timerEvent(event);
}

void TemplateDialog::AdvanceClock(int milliseconds) {
    const long long until = now + std::max(milliseconds, 0);
    while (!ending) {
        auto next = timers.end();
        for (auto it = timers.begin(); it != timers.end(); ++it) {
            if (next == timers.end() || it->second.due < next->second.due) next = it;
        }
        if (next == timers.end() || next->second.due > until) break;
        now = next->second.due;
        next->second.due += next->second.interval;
        OnTimer(next->first);
    }
    now = until;
}

}  // namespace ovlet::platform
