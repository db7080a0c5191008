// The scenarios on the scripted face: no toolkit, no display.
#include "face_driver.h"

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

private:
    platform::ScriptedFace face;
    std::unique_ptr<platform::ScriptedDialog> dialog;
};

}  // namespace

std::unique_ptr<FaceDriver> MakeFaceDriver() {
    return std::make_unique<ScriptedDriver>();
}
