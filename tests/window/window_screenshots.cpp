// Saves pictures of the windows as a person sees them, for the documentation
// and for looking at a change: every page of the card window, the About
// dialog and the splash, and the maker's toolbar with a button under the
// pointer (its hot look).
//
//   window_screenshots OUTDIR [--viewer] [--language LANG] [--suffix TEXT] [CARD]
//   window_screenshots OUTDIR --flow SAMPLES_DIR
//   window_screenshots OUTDIR --print CARD
//
// --suffix adds TEXT to every file name (for example "-200"). --language
// shows the windows in that language ("de", "fr", "es"), and the maker's
// manual with them; its suffix is "-LANG" unless --suffix says otherwise.
// --print opens the desktop's print preview of the card (a real dialog: run it
// under xvfb-run) and saves a picture of it as print-preview.png.
// --flow goes through a maker session (new, type, import, save, open) with
// scripted dialogs and takes a picture after each step, and of the help window.
//
// Runs without a display (QT_QPA_PLATFORM=offscreen); QT_SCALE_FACTOR=1.5 and
// QT_SCALE_FACTOR=2 give the 150 % and 200 % pictures.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "card_on_qt.h"
#include "maker/maker_dialog.h"
#include "maker/splash_dialog.h"
#include "platform/qt/handler_dialog.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/scripted_ui.h"
#include "platform/qt/ui_services.h"
#include "programs/qt_program.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_dialog.h"
#include "window/about_dialog.h"
#include "window/program_data.h"
#include "window/translations.h"

namespace ovlet::window {
namespace {

int TakeScreenshots(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    programs::InstallQtProgramPictures();
    platform::QtFace face;
    platform::InstallFace(&face);
    programs::InstallQtCardSheetPainter();
    platform::ScriptedUi ui;  // no message box may block a picture
    platform::SetUi(&ui);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: window_screenshots OUTDIR [--viewer] [--language LANG] [--suffix TEXT] [CARD]\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    bool viewer = false;
    std::string card;
    QString suffix;
    std::string language;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--viewer") {
            viewer = true;
        } else if (std::string(argv[i]) == "--language" && i + 1 < argc) {
            language = argv[++i];
            if (suffix.isEmpty()) suffix = QStringLiteral("-") + QString::fromStdString(language);
            if (!InstallTranslations(language)) {
                std::fprintf(stderr, "window_screenshots: no catalogue for %s\n", language.c_str());
                return 1;
            }
        } else if (std::string(argv[i]) == "--suffix" && i + 1 < argc) {
            suffix = QString::fromLocal8Bit(argv[++i]);
        } else {
            card = argv[i];
        }
    }
    if (argc == 4 && std::string(argv[2]) == "--print") {
        CardOnQt<viewer::CViewerDialog> window;
        window.Record().CurrentPath = argv[3];
        window.Create();
        window.show();
        platform::SetUi(nullptr);
        // The preview, then the print dialog its Print button opens.
        QTimer::singleShot(2000, [&out] {
            QWidget* preview = QApplication::activeModalWidget();
            if (!preview) return;
            preview->grab().save(out.filePath(QStringLiteral("print-preview.png")));
            QTimer::singleShot(2000, [&out, preview] {
                if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != preview) {
                    dialog->grab().save(out.filePath(QStringLiteral("print-dialog.png")));
                    dialog->close();
                }
                preview->close();
            });
            for (QAction* action : preview->findChildren<QAction*>()) {
                if (action->text() == QStringLiteral("Print")) action->trigger();
            }
        });
        window.PrintCard();
        std::printf("pictures in %s\n", qPrintable(out.path()));
        return 0;
    }
    if (argc == 4 && std::string(argv[2]) == "--flow") {
        const QString samples = QString::fromLocal8Bit(argv[3]);
        CardOnQt<maker::CMakerDialog> window;
        window.Create();
        window.show();
        auto shot = [&](const char* name) {
            QApplication::processEvents();
            window.grab().save(out.filePath(QStringLiteral("flow-%1.png").arg(name)));
        };
        auto click = [&](int id) { qobject_cast<QAbstractButton*>(window.Item(id))->click(); };
        ui.messageAnswers = {platform::MessageAnswer::No};
        click(resources::kIdNew);
        shot("1-new");
        window.SelectTab(1);
        const std::pair<int, const char*> company[] = {{resources::kIdCompany, "Nordlys Bakery"},
                                                       {resources::kIdStreetAddress, "Strandgata 12\r\nBakgården"},
                                                       {resources::kIdCity, "Tromsø"},
                                                       {resources::kIdStateProvince, "Troms"},
                                                       {resources::kIdCountry, "Norway"},
                                                       {resources::kIdPostalCode, "9008"},
                                                       {resources::kIdWebSite, "nordlys.example"}};
        for (const auto& [id, text] : company) window.SetItemText(id, QString::fromUtf8(text));
        shot("2-typed-company");
        window.SelectTab(2);
        const std::pair<int, const char*> contact[] = {
            {resources::kIdFirstName, "Ida"},          {resources::kIdLastName, "Berg"},
            {resources::kIdJobTitle, "Head Baker"},    {resources::kIdEMail, "ida@nordlys.example"},
            {resources::kIdPhone1Description, "Shop"}, {resources::kIdPhone1Number, "+47 77 00 00 00"}};
        for (const auto& [id, text] : contact) window.SetItemText(id, QString::fromUtf8(text));
        shot("3-typed-contact");
        window.SelectTab(0);
        ui.fileAnswers = {samples + QStringLiteral("/sample.jpg")};
        click(resources::kIdImport);
        shot("4-imported");
        const QString saved = out.filePath(QStringLiteral("flow-card.ovt"));
        ui.fileAnswers = {saved};
        click(resources::kIdSave);
        shot("5-saved");
        ui.messageAnswers = {platform::MessageAnswer::No};
        ui.fileAnswers = {saved};
        click(resources::kIdOpen);
        window.SelectTab(2);
        shot("6-opened");
        QFile::remove(saved);
        platform::ShowHelpWindow(&window, QString::fromStdString(LocalizedDataFile("ovmake-help.html")));
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->windowTitle() == QStringLiteral("Ovlet Maker Help")) {
                top->grab().save(out.filePath(QStringLiteral("maker-help.png")));
            }
        }
        std::printf("pictures in %s\n", qPrintable(out.path()));
        return 0;
    }
    const QString prefix = viewer ? QStringLiteral("viewer") : QStringLiteral("maker");
    std::unique_ptr<CardWindowOnQt> window;
    if (viewer) {
        window = std::make_unique<CardOnQt<viewer::CViewerDialog>>();
    } else {
        window = std::make_unique<CardOnQt<maker::CMakerDialog>>();
    }
    window->Record().CurrentPath = card;
    window->Create();
    window->show();
    // The first paint, then the card's picture, which the window makes after it.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QString empty = card.empty() ? QStringLiteral("-empty") : QString();
    for (std::size_t tab = 0; tab < window->Form().pages.size(); ++tab) {
        window->SelectTab(static_cast<int>(tab));
        QApplication::processEvents();
        // Named by the page's English name in every language.
        const QString page = QString::fromUtf8(window->Form().pages[tab]->tab).toLower();
        window->grab().save(out.filePath(QStringLiteral("%1-%2%3%4.png").arg(prefix, page, empty, suffix)));
    }
    if (!viewer) {
        // The hot look of a toolbar button and of Remove, as under the pointer.
        window->SelectTab(0);
        for (int id : {resources::kIdNew, resources::kIdRemove}) {
            QWidget* button = window->Item(id);
            QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(button, &move);
        }
        QApplication::processEvents();
        window->grab().save(out.filePath(QStringLiteral("maker-hot%1%2.png").arg(empty, suffix)));
    }
    CAboutDialog aboutHandler(viewer ? viewer::kViewerAbout : maker::kMakerAbout);
    platform::HandlerDialog about(resources::AboutDialogTemplate(), aboutHandler, window.get());
    about.Create();
    about.show();
    QApplication::processEvents();
    about.grab().save(out.filePath(prefix + QStringLiteral("-about%1.png").arg(suffix)));
    if (!viewer) {
        maker::CSplashDialog splashHandler(maker::MakerSplashPictures());
        platform::HandlerDialog splash(resources::SplashDialogTemplate(), splashHandler);
        splash.Create();
        splash.show();
        QApplication::processEvents();
        splash.grab().save(out.filePath(QStringLiteral("maker-splash%1.png").arg(suffix)));
    }
    if (!viewer && !language.empty()) {
        platform::ShowHelpWindow(window.get(), QString::fromStdString(LocalizedDataFile("ovmake-help.html")));
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->windowFlags() & Qt::Window && top != window.get() && top != &about &&
                qobject_cast<platform::TemplateDialog*>(top) == nullptr) {
                top->grab().save(out.filePath(QStringLiteral("maker-help%1.png").arg(suffix)));
            }
        }
    }
    std::printf("pictures in %s\n", qPrintable(out.path()));
    return 0;
}

}  // namespace
}  // namespace ovlet::window

int main(int argc, char** argv) {
    return ovlet::window::TakeScreenshots(argc, argv);
}
