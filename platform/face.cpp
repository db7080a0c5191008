#include "platform/face.h"

#include <cstdio>
#include <cstdlib>

namespace ovlet::platform {
namespace {

Face* gFace = nullptr;
Desktop* gServices = nullptr;

}  // namespace

void InstallFace(Face* face) {
    gFace = face;
}

bool HasFace() {
    return gFace != nullptr;
}

Face& CurrentFace() {
    if (!gFace) {
        // Every program installs its face before its first window; going on
        // would show nothing and answer every question wrongly.
        std::fputs("ovlet: no face installed for the windows\n", stderr);
        std::abort();
    }
    return *gFace;
}

Desktop& Services() {
    return gServices ? *gServices : CurrentFace().DesktopServices();
}

void InstallServices(Desktop* desktop) {
    gServices = desktop;
}

}  // namespace ovlet::platform
