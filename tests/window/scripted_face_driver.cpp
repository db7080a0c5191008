// The scenarios on the scripted face: no toolkit, no display.
#include "face_driver.h"

namespace ovlet::window {
namespace {

class ScriptedDriver : public FaceDriver {
public:
    ScriptedDriver() {
        platform::InstallFace(&face);
        platform::InstallServices(&face.desktop);
    }
    ~ScriptedDriver() override {
        dialog.reset();
        platform::InstallServices(nullptr);
        platform::InstallFace(nullptr);
    }

    const char* Name() const override { return "scripted"; }
    platform::ScriptedDesktop& Desktop() override { return face.desktop; }
    void Open(const platform::DialogTemplate& dialogTemplate, platform::DialogHandler& handler) override {
        dialog = face.Open(dialogTemplate, handler);
    }
    platform::DialogHost& Host() override { return *dialog; }
    std::string Caption() override { return dialog->Caption(); }
    bool IsVisible(int id) override { return dialog->HasControl(id) && dialog->IsShown(id); }
    std::string AccessibleName(int id) override { return dialog->AccessibleName(id); }
    bool Ended() override { return dialog->Ended(); }
    int Result() override { return dialog->Result(); }
    void Click(int id) override { dialog->Click(id); }
    void PressEnter() override { dialog->PressEnter(); }
    void PressEscape() override { dialog->PressEscape(); }
    void CloseBox() override { dialog->CloseBox(); }
    void Advance(int milliseconds) override { dialog->Advance(milliseconds); }
    platform::PointerLook Pointer() override { return dialog->Pointer(); }
    void Type(int id, const std::string& text) override { dialog->Type(id, text); }
    void Paste(int id, const std::string& text) override { dialog->Paste(id, text); }
    void ChooseTab(int id, int index) override { dialog->ChooseTab(id, index); }
    std::vector<platform::MenuEntry> OpenWindowMenu() override { return dialog->WindowMenu(); }
    void ChooseMenuEntry(int command) override { dialog->ChooseMenuEntry(command); }
    void PressKeys(const std::string& keys) override { dialog->PressKeys(keys); }
    void PressTab(bool back) override { dialog->PressTab(back); }
    bool DropFile(const std::string& path) override { return dialog->DropFile(path); }

private:
    platform::ScriptedFace face;
    std::unique_ptr<platform::ScriptedDialog> dialog;
};

}  // namespace

std::unique_ptr<FaceDriver> MakeFaceDriver() {
    return std::make_unique<ScriptedDriver>();
}

}  // namespace ovlet::window
