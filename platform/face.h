// The face in force: the one desktop system the windows are shown on. A
// program installs its face at start; tests install the scripted face or the
// Qt face. The windows reach the desktop only through here.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "platform/dialog.h"

namespace ovlet::platform {

class Face {
public:
    virtual ~Face() = default;
    // Builds the dialog from its template, runs it modally over `owner` (null:
    // centred on the screen) and returns the result its handler ended it with.
    virtual int RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) = 0;
    virtual Desktop& DesktopServices() = 0;
    // `text` as written in the sources, in the user's language (as written
    // where there is no translation); `context` is the group it belongs to.
    virtual std::string Translate(const char* context, const char* text) = 0;
    // The programs' catalogue now speaks `language` ("" for English): the
    // face follows with its own words where it has them.
    virtual void LanguageChanged(const std::string&) {}
};

// Installs `face` (not owned); null removes it.
void InstallFace(Face* face);
// The installed face; a program that has installed none has a fault, and ends.
Face& CurrentFace();
bool HasFace();

// The desktop services: the face's own, unless a test installed others.
Desktop& Services();
// Installs `desktop` (not owned) in front of the face's; null removes it.
void InstallServices(Desktop* desktop);

// Shorthands for the face's work.
inline int RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner = nullptr) {
    return CurrentFace().RunDialog(dialog, handler, owner);
}
inline std::string Translate(const char* context, const char* text) {
    return CurrentFace().Translate(context, text);
}

}  // namespace ovlet::platform
