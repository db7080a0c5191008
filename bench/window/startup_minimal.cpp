// The earlier yardstick of the start-up timings: one empty dialog, without a
// caption or a size of its own.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.show();
    return app.exec();
}
