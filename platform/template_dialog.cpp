#include "platform/template_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/controls_basic.h"

namespace platform {
namespace {

// A static this high or lower holds one line of text.
constexpr int kOneLineHeight = 10;

}  // namespace

DialogUnits DialogUnits::ForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as the dialog manager takes it.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units;
    units.baseX = (letters / 26 + 1) / 2;
    units.baseY = metrics.height();
    return units;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(width * baseX / 4, height * baseY / 8);
}

QFont DialogFont(int pointSize) {
    // A sans-serif face with the proportions the layouts were drawn for.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

TemplateDialog::TemplateDialog(const DialogTemplate& dialog, QWidget* parent) : QDialog(parent), template_(dialog) {
    font_ = DialogFont(template_.pointSize);
    setFont(font_);
    units_ = DialogUnits::ForFont(font_);
    if (template_.caption.empty()) {
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    } else {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setWindowTitle(QString::fromStdString(template_.caption));
    }
    setFixedSize(units_.ToPixels(template_.width, template_.height));
}

void TemplateDialog::Create() {
    if (created_) return;
    created_ = true;
    QWidget* previous = nullptr;
    for (const ControlTemplate& control : template_.controls) {
        QWidget* widget = CreateControl(control);
        if (!widget) continue;
        widget->setParent(this);
        widget->setFont(font_);
        QRect geometry = units_.ToPixels(control.x, control.y, control.width, control.height);
        if (auto* label = qobject_cast<QLabel*>(widget); label && control.height <= kOneLineHeight) {
            // A one-line label keeps to one line. Where this font sets its text
            // wider than the layout's box, the text is narrowed a little to fit
            // rather than run into the control beside it.
            label->setWordWrap(false);
            const int natural = label->sizeHint().width();
            if (natural > geometry.width() && natural > 0) {
                QFont narrow = font_;
                narrow.setStretch(std::max(80, 100 * geometry.width() / natural));
                label->setFont(narrow);
                geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
            }
        }
        widget->setGeometry(geometry);
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
        if (control.id >= 0) items_.insert(control.id, widget);
    }
    OnInitDialog();
}

int TemplateDialog::DoModal() {
    Create();
    ending_ = false;
    return exec();
}

void TemplateDialog::done(int result) {
    ending_ = true;
    QDialog::done(result);
}

QWidget* TemplateDialog::CreateControl(const ControlTemplate& control) {
    const QString text = QString::fromStdString(control.text);
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
        case ControlKind::Icon: {
            auto* label = new QLabel;
            label->setPixmap(windowIcon().pixmap(32, 32));
            return label;
        }
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
    if (ending_ || !isVisible() || OnClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace platform
