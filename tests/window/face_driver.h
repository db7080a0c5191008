// One face as a window scenario sees it. A scenario is written once against
// this and built twice: with the scripted face's driver (no toolkit, no
// display) and with the Qt face's (offscreen). Both drivers answer the
// desktop's questions from one ScriptedDesktop, and both run the timers on
// a clock the scenario moves, so no scenario waits for real time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/scripted_face.h"

namespace ovlet::window {

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
    // The pointer over the dialog.
    virtual platform::PointerLook Pointer() = 0;

    // The user.
    virtual void Click(int id) = 0;
    virtual void PressEnter() = 0;
    virtual void PressEscape() = 0;
    virtual void CloseBox() = 0;
    virtual void Advance(int milliseconds) = 0;
    // An edit's whole text typed over (character by character on a screen), or pasted over it.
    virtual void Type(int id, const std::string& text) = 0;
    virtual void Paste(int id, const std::string& text) = 0;
    // A click on a page of a tab control.
    virtual void ChooseTab(int id, int index) = 0;
    // The window's menu opened with a right click: its entries as shown
    // (separators as kNoControl); and a click on the entry of `command`.
    virtual std::vector<platform::MenuEntry> OpenWindowMenu() = 0;
    virtual void ChooseMenuEntry(int command) = 0;
    // Keys pressed where the focus is, written as SetShortcut takes them.
    virtual void PressKeys(const std::string& keys) = 0;
    virtual void PressTab(bool back) = 0;
    // A local file dragged over the window and dropped; false when the window refused it.
    virtual bool DropFile(const std::string& path) = 0;
};

// The driver of the face this test program is built with; it installs that face.
std::unique_ptr<FaceDriver> MakeFaceDriver();

}  // namespace ovlet::window
