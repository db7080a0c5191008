// The yardstick of the start-up timings: the least a Qt Widgets program does
// to show a dialog of the card window's size with a caption: no style, no
// translations, no icons, no controls.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Yardstick"));
    dialog.resize(430, 354);
    dialog.show();
    return app.exec();
}
