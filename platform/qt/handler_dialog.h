// The Qt face's dialog for a DialogHandler: built from the template, it hands
// the handler its clicks, keys, timers and close requests.
#pragma once

#include "platform/dialog.h"
#include "platform/qt/template_dialog.h"

namespace ovlet::platform {

class HandlerDialog : public TemplateDialog {
    Q_OBJECT
public:
    HandlerDialog(const DialogTemplate& dialog, DialogHandler& handler, QWidget* parent = nullptr);

protected:
    // Owner-drawn buttons and picture panels are the handler's controls,
    // hosted in widgets of the face.
    QWidget* CreateControl(const ControlTemplate& control) override;
    void OnInitDialog() override {
        handler.OnInit(*this);
        handler.OnShown();
    }
    void OnCommand(int id) override { handler.OnCommand(id); }
    void OnOK() override { handler.OnCommand(kIdOk); }
    void OnCancel() override { handler.OnCommand(kIdCancel); }
    bool OnClose() override {
        handler.OnClose();
        return false;  // the handler has ended the window, or keeps it
    }
    void OnTimer(int timer) override { handler.OnTimer(timer); }
    void OnTextChanged(int id) override { handler.OnTextChanged(id); }
    void OnTabChanged(int id) override { handler.OnTabChanged(id); }
    void OnTextRefused(int id, const std::string& characters) override { handler.OnTextRefused(id, characters); }
    bool FileOffered(const std::string& path) override { return handler.TakesDroppedFile(path); }
    void FileDropped(const std::string& path) override { handler.OnFileDropped(path); }

private:
    DialogHandler& handler;
};

}  // namespace ovlet::platform
