// Start-up probe: shows a window and ends at its first paint. Run as
//   startup_probe minimal          an empty Qt dialog
//   startup_probe viewer CARD      the viewer's card window with a card
// by startup.sh, which times whole processes side by side.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QStyleFactory>
#include <cstring>

#include "resources/program_resources.h"
#include "viewer/viewer_dialog.h"
#include "window/card_app.h"

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint probe;
    if (argc >= 2 && std::strcmp(argv[1], "viewer") == 0) {
        // The same steps as the viewer's start-up.
        if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
        QApplication::setWindowIcon(resources::ProgramIcon(QStringLiteral("ovview")));
        resources::InstallBitmaps();
        CViewerDialog window;
        window.Record().CurrentPath = CardFileFromCommandLine({argv[0], argc >= 3 ? argv[2] : ""});
        window.installEventFilter(&probe);
        window.Create();
        window.show();
        return app.exec();
    }
    QDialog dialog;
    dialog.installEventFilter(&probe);
    dialog.show();
    return app.exec();
}
