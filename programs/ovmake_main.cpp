// ovmake: makes and edits electronic business cards.
#include "window/card_app.h"
#include "window/card_dialog.h"
#include "window/maker_commands.h"
#include "window/splash_dialog.h"

int main(int argc, char** argv) {
    EnableMakerCommands();
    CardAppForm form;
    form.viewer = false;
    form.makeWindow = [] { return new CCardDialog; };
    form.beforeWindow = [] {
        CSplashDialog splash;
        splash.DoModal();
    };
    return RunCardApp(argc, argv, form);
}
