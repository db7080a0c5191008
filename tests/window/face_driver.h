// One face as a window scenario sees it. A scenario is written once against
// this and built twice: with the scripted face's driver (no toolkit, no
// display) and with the Qt face's (offscreen). Both drivers answer the
// desktop's questions from one ScriptedDesktop, and both run the timers on
// a clock the scenario moves, so no scenario waits for real time.
#pragma once

#include <memory>
#include <string>

#include "platform/dialog.h"
#include "platform/scripted_face.h"

class FaceDriver {
public:
    virtual ~FaceDriver() = default;
    // "scripted" or "qt".
    virtual const char* Name() const = 0;
    // The desktop services while the driver lives (installed in front of the face's own).
    virtual platform::ScriptedDesktop& Desktop() = 0;

    // Builds the dialog of `handler`, initialised and on screen, not run modally.
    virtual void Open(const platform::DialogTemplate& dialog, platform::DialogHandler& handler) = 0;
    virtual platform::DialogHost& Host() = 0;

    // What can be seen.
    virtual std::string Caption() = 0;
    virtual bool IsVisible(int id) = 0;
    virtual std::string AccessibleName(int id) = 0;
    virtual bool Ended() = 0;
    virtual int Result() = 0;

    // The user.
    virtual void Click(int id) = 0;
    virtual void PressEnter() = 0;
    virtual void PressEscape() = 0;
    virtual void CloseBox() = 0;
    virtual void Advance(int milliseconds) = 0;
};

// The driver of the face this test program is built with; it installs that face.
std::unique_ptr<FaceDriver> MakeFaceDriver();
