// The Qt face's dialog for a DialogHandler: built from the template, it hands
// the handler its clicks, keys, timers and close requests.
#pragma once

#include "platform/dialog.h"
#include "platform/qt/template_dialog.h"

namespace platform {

class HandlerDialog : public TemplateDialog {
    Q_OBJECT
public:
    HandlerDialog(const DialogTemplate& dialog, DialogHandler& handler, QWidget* parent = nullptr);

protected:
    QWidget* CreateControl(const ControlTemplate& control) override;
    void OnInitDialog() override { handler.OnInit(*this); }
    void OnCommand(int id) override { handler.OnCommand(id); }
    void OnOK() override { handler.OnCommand(kIdOk); }
    void OnCancel() override { handler.OnCommand(kIdCancel); }
    bool OnClose() override {
        handler.OnClose();
        return false;  // the handler has ended the window, or keeps it
    }
    void OnTimer(int timer) override { handler.OnTimer(timer); }

private:
    DialogHandler& handler;
};

// The widget a dialog of the Qt face shows for an owner-drawn control (it
// takes the control over); the owner-drawn controls' Qt host installs it.
// Null: the control is left out.
using OwnerDrawnWidgetMaker = QWidget* (*)(std::unique_ptr<OwnerDrawnControl> control, const ControlTemplate& place);
void SetOwnerDrawnWidgetMaker(OwnerDrawnWidgetMaker maker);

}  // namespace platform
