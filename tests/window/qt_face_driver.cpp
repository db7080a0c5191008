// The scenarios on the Qt face, offscreen: real widgets, real keys; the
// timers on the clock the scenario moves.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "face_driver.h"
#include "platform/qt/handler_dialog.h"
#include "platform/qt/qt_face.h"

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

private:
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
