// Start-up hook for timing the real programs as whole processes. Loaded with
// LD_PRELOAD into ovview, ovmake or startup_minimal, it ends the process as
// soon as the first top-level window other than the maker's splash has been
// mapped and painted. The maker's splash is never shown: it is closed before
// it reaches the screen, so the maker is timed opening its card window alone.
// Nothing in the programs knows about it.
#include <unistd.h>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSplash(const QObject* object) {
    return std::strcmp(object->metaObject()->className(), "CSplashDialog") == 0;
}

class FirstMap : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && IsSplash(widget)) {
                widget->setAttribute(Qt::WA_DontShowOnScreen);
                QMetaObject::invokeMethod(widget, "reject", Qt::QueuedConnection);
            }
        }
        if (event->type() == QEvent::Expose && watched->isWindowType()) {
            auto* window = static_cast<QWindow*>(watched);
            // The expose handler paints the window right after this filter;
            // the queued call runs once that paint has been flushed.
            if (window->isExposed() && !ended) {
                ended = true;
                QMetaObject::invokeMethod(
                    qApp, [] { ::_exit(0); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool ended = false;
};

void Install() {
    QCoreApplication::instance()->installEventFilter(new FirstMap);
}

// Runs when the library is loaded, before the program's main.
[[maybe_unused]] const bool kRegistered = [] {
    qAddPreRoutine(Install);
    return true;
}();

}  // namespace
