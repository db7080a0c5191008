// ovmake: makes and edits electronic business cards.
#include "maker/maker_dialog.h"
#include "maker/splash_dialog.h"
#include "programs/program_face.h"

int main(int argc, char** argv) {
    CardAppForm form;
    form.viewer = false;
    form.makeWindow = []() -> CCardDialog* { return new CMakerDialog; };
    form.beforeWindow = [] {
        CSplashDialog splash(MakerSplashPictures());
        splash.DoModal();
    };
    form.startFace = StartProgramFace;
    return RunCardApp(argc, argv, form);
}
