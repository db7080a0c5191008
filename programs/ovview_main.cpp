// ovview: shows an electronic business card.
#include "viewer/viewer_dialog.h"
#include "window/card_app.h"

int main(int argc, char** argv) {
    CardAppForm form;
    form.viewer = true;
    form.makeWindow = []() -> CCardDialog* { return new CViewerDialog; };
    return RunCardApp(argc, argv, form);
}
