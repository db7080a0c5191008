// The yardstick of the start-up timings: a minimal Qt program that shows one
// empty dialog, as small as a Qt Widgets program gets.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.show();
    return app.exec();
}
