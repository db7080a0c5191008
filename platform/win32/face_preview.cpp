// Shows the maker's and the viewer's About dialogs and the maker's splash
// on the Win32 face, one at a time as named on the command line
// ("about-maker", "about-viewer", "splash"), for a look at them before the
// programs themselves run on this face.
#include <windows.h>

#include <string>

#include "maker/maker_about.h"
#include "maker/splash_dialog.h"
#include "platform/win32/win32_face.h"
#include "viewer/viewer_about.h"

int main(int argc, char** argv) {
    ovlet::platform::win32::Win32Face face;
    ovlet::platform::InstallFace(&face);
    const std::string what = argc > 1 ? argv[1] : "about-maker";
    int result = 0;
    if (what == "splash") {
        // Held for a minute, so that it can be looked at.
        ovlet::maker::CSplashDialog splash(ovlet::maker::SplashPictureSource{{OVLET_SOURCE_DATA_DIR "/maker.jpg"}, {}},
                                           60000);
        result = splash.DoModal();
    } else {
        ovlet::window::CAboutDialog about(what == "about-viewer" ? ovlet::viewer::kViewerAbout
                                                                 : ovlet::maker::kMakerAbout);
        result = about.DoModal();
    }
    ovlet::platform::InstallFace(nullptr);
    return result < 0 ? 1 : 0;
}
