// ovview: shows an electronic business card.
#include "programs/program_face.h"
#include "viewer/viewer_dialog.h"

int main(int argc, char** argv) {
    CardAppForm form;
    form.viewer = true;
    form.makeWindow = []() -> CCardDialog* { return new CViewerDialog; };
    form.startFace = StartProgramFace;
    return RunCardApp(argc, argv, form);
}
