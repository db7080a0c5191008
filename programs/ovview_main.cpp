// ovview: shows an electronic business card.
#include "programs/program_face.h"
#include "viewer/viewer_dialog.h"

int main(int argc, char** argv) {
    ovlet::window::CardAppForm form;
    form.viewer = true;
    form.makeWindow = []() -> ovlet::window::CCardDialog* { return new ovlet::viewer::CViewerDialog; };
    form.startFace = ovlet::programs::StartProgramFace;
    return ovlet::window::RunCardApp(argc, argv, form);
}
