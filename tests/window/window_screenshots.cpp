// Saves pictures of the windows as a person sees them, for the documentation
// and for looking at a change: every page of the card window, the About
// dialog and the splash.
//
//   window_screenshots OUTDIR [--viewer] [CARD]
//
// Runs without a display (QT_QPA_PLATFORM=offscreen); QT_SCALE_FACTOR=2 gives
// the 200 % pictures.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "platform/resources.h"
#include "platform/ui_services.h"
#include "window/about_dialog.h"
#include "window/card_dialog.h"
#include "window/maker_commands.h"
#include "window/splash_dialog.h"
#ifdef OVLET_HAVE_VIEWER
#include "viewer/viewer_dialog.h"
#endif

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    platform::InstallBitmapResources();
    platform::ScriptedUi ui;  // no message box may block a picture
    platform::SetUi(&ui);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: window_screenshots OUTDIR [--viewer] [CARD]\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    bool viewer = false;
    std::string card;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--viewer") {
            viewer = true;
        } else {
            card = argv[i];
        }
    }
    const QString prefix = viewer ? QStringLiteral("viewer") : QStringLiteral("maker");
    std::unique_ptr<CCardDialog> window;
#ifdef OVLET_HAVE_VIEWER
    if (viewer) window = std::make_unique<CViewerDialog>();
#endif
    if (!window) {
        EnableMakerCommands();
        window = std::make_unique<CCardDialog>();
    }
    window->Record().CurrentPath = card;
    window->Create();
    window->show();
    const char* pages[] = {"image", "company", "contact", "information"};
    const int pageCount = viewer ? 3 : 4;
    const char* viewerPages[] = {"image", "contact", "information"};
    for (int tab = 0; tab < pageCount; ++tab) {
        window->SelectTab(tab);
        QApplication::processEvents();
        const QString name = QStringLiteral("%1-%2%3.png")
                                 .arg(prefix, viewer ? viewerPages[tab] : pages[tab], card.empty() ? "-empty" : "");
        window->grab().save(out.filePath(name));
    }
    CAboutDialog about(viewer, window.get());
    about.Create();
    about.show();
    QApplication::processEvents();
    about.grab().save(out.filePath(prefix + QStringLiteral("-about.png")));
    if (!viewer) {
        CSplashDialog splash;
        splash.Create();
        splash.show();
        QApplication::processEvents();
        splash.grab().save(out.filePath(QStringLiteral("maker-splash.png")));
    }
    std::printf("pictures in %s\n", qPrintable(out.path()));
    return 0;
}
