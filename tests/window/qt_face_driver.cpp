// The scenarios on the Qt face, offscreen: real widgets, real keys; the
// timers on the clock the scenario moves.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include "face_driver.h"
#include "platform/qt/controls_basic.h"
#include "platform/qt/handler_dialog.h"
#include "platform/qt/qt_face.h"

namespace ovlet::window {
namespace {

class QtDriver : public FaceDriver {
public:
    QtDriver() {
        platform::InstallFace(&face);
        platform::InstallServices(&desktop);
    }
    ~QtDriver() override {
        dialog.reset();
        platform::InstallServices(nullptr);
        platform::InstallFace(nullptr);
    }

    const char* Name() const override { return "qt"; }
    platform::ScriptedDesktop& Desktop() override { return desktop; }

    void Open(const platform::DialogTemplate& dialogTemplate, platform::DialogHandler& handler) override {
        dialog = std::make_unique<platform::HandlerDialog>(dialogTemplate, handler);
        dialog->UseScriptedClock();
        QObject::connect(dialog.get(), &QDialog::finished, [this](int result) {
            ended = true;
            endResult = result;
        });
        dialog->Create();
        dialog->show();
        QApplication::processEvents();
    }
    platform::DialogHost& Host() override { return *dialog; }

    std::string Caption() override { return dialog->windowTitle().toStdString(); }
    bool IsVisible(int id) override {
        const QWidget* w = dialog->Item(id);
        return w && w->isVisible();
    }
    std::string AccessibleName(int id) override {
        QWidget* w = dialog->Item(id);
        if (!w) return {};
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        return accessible ? accessible->text(QAccessible::Name).toStdString() : std::string();
    }
    bool Ended() override { return ended; }
    int Result() override { return endResult; }

    void Click(int id) override {
        QWidget* w = dialog->Item(id);
        if (!w || !w->isVisible() || !w->isEnabled()) return;
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        QApplication::processEvents();
    }
    void PressEnter() override { Key(Qt::Key_Return); }
    void PressEscape() override { Key(Qt::Key_Escape); }
    void CloseBox() override {
        dialog->close();
        QApplication::processEvents();
    }
    void Advance(int milliseconds) override {
        dialog->AdvanceClock(milliseconds);
        QApplication::processEvents();
    }
    platform::PointerLook Pointer() override {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor ? platform::PointerLook::Busy
                                                           : platform::PointerLook::Normal;
    }
    void Type(int id, const std::string& text) override {
        QWidget* w = Editable(id);
        if (!w) return;
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        if (text.empty()) {
            QTest::keyClick(w, Qt::Key_Delete);
        } else {
            // Key by key, as a keyboard of any layout sends the characters.
            const QString typed = QString::fromStdString(text);
            for (qsizetype i = 0; i < typed.size(); ++i) {
                const qsizetype length = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
                const QString character = typed.mid(i, length);
                i += length - 1;
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
                QApplication::sendEvent(w, &press);
                QApplication::sendEvent(w, &release);
            }
        }
        QApplication::processEvents();
    }
    void Paste(int id, const std::string& text) override {
        QWidget* w = Editable(id);
        if (!w) return;
        QApplication::clipboard()->setText(QString::fromStdString(text));
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
    }
    void ChooseTab(int id, int index) override {
        auto* tabs = dialog->ItemAs<platform::TabControl>(id);
        if (!tabs || !tabs->isVisible() || !tabs->isEnabled()) return;
        QTest::mouseClick(tabs->Bar(), Qt::LeftButton, Qt::NoModifier, tabs->Bar()->tabRect(index).center());
        QApplication::processEvents();
    }
    std::vector<platform::MenuEntry> OpenWindowMenu() override {
        std::vector<platform::MenuEntry> entries;
        QMenu* menu = PopUp();
        if (!menu) return entries;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                entries.push_back({platform::kNoControl, {}});
            } else {
                entries.push_back({action->data().toInt(), action->text().toStdString()});
            }
        }
        menu->close();
        QApplication::processEvents();
        return entries;
    }
    void ChooseMenuEntry(int command) override {
        QMenu* menu = PopUp();
        if (!menu) return;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->data().toInt() == command) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
                QApplication::processEvents();
                return;
            }
        }
        menu->close();
        QApplication::processEvents();
    }
    void PressKeys(const std::string& keys) override {
        if (ended) return;
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog.get();
        QTest::keySequence(target, QKeySequence(QString::fromStdString(keys)));
        QApplication::processEvents();
    }
    void PressTab(bool back) override { Key(back ? Qt::Key_Backtab : Qt::Key_Tab); }
    bool DropFile(const std::string& path) override {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)))});
        const QPoint at = dialog->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }

private:
    // An edit the user can reach, with the keyboard on it.
    QWidget* Editable(int id) {
        QWidget* w = dialog->Item(id);
        if (ended || !w || !w->isVisible() || !w->isEnabled()) return nullptr;
        if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w)) return nullptr;
        w->setFocus(Qt::MouseFocusReason);
        return w;
    }
    // The window's menu as a right click in the window opens it.
    QMenu* PopUp() {
        const QPoint at(2, 2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
        QApplication::sendEvent(dialog.get(), &event);
        QApplication::processEvents();
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    void Key(Qt::Key key) {
        if (ended) return;
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog.get();
        QTest::keyClick(target, key);
        QApplication::processEvents();
    }

    platform::QtFace face;
    platform::ScriptedDesktop desktop;
    std::unique_ptr<platform::HandlerDialog> dialog;
    bool ended = false;
    int endResult = 0;
};

}  // namespace

std::unique_ptr<FaceDriver> MakeFaceDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace ovlet::window

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
