// ovview: shows an electronic business card.
#include "programs/qt_program.h"
#include "viewer/viewer_dialog.h"

int main(int argc, char** argv) {
    CardAppForm form;
    form.viewer = true;
    form.makeWindow = []() -> CCardDialog* { return new CViewerDialog; };
    form.startFace = StartQtFace;
    return RunCardApp(argc, argv, form);
}
