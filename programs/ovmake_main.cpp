// ovmake: makes and edits electronic business cards.
#include "maker/maker_dialog.h"
#include "maker/splash_dialog.h"
#include "programs/program_face.h"

int main(int argc, char** argv) {
    ovlet::window::CardAppForm form;
    form.viewer = false;
    form.makeWindow = []() -> ovlet::window::CCardDialog* { return new ovlet::maker::CMakerDialog; };
    form.beforeWindow = [] {
        ovlet::maker::CSplashDialog splash(ovlet::maker::MakerSplashPictures());
        splash.DoModal();
    };
    form.startFace = ovlet::programs::StartProgramFace;
    return ovlet::window::RunCardApp(argc, argv, form);
}
