#include "window/about_dialog.h"

#include "controls/link_button.h"
#include "platform/face.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"

namespace ovlet::window {

CAboutDialog::CAboutDialog(const AboutForm& aboutForm) : form(aboutForm) {}

int CAboutDialog::DoModal(platform::DialogHost* owner) {
    return platform::RunDialog(resources::AboutDialogTemplate(), *this, owner);
}

std::unique_ptr<platform::OwnerDrawnControl> CAboutDialog::MakeOwnerDrawn(int id) {
    // The web link, in its link look.
    if (id == resources::kIdAboutWebLink) return std::make_unique<controls::CLinkButton>();
    return nullptr;
}

void CAboutDialog::OnInit(platform::DialogHost& dialog) {
    DialogHandler::OnInit(dialog);
    dialog.SetIcon(form.program);
    if (form.caption) dialog.SetCaption(platform::Translate(kAboutContext, form.caption));
    if (form.linkText) dialog.SetText(resources::kIdAboutWebLink, platform::Translate(kAboutContext, form.linkText));
    dialog.SetText(resources::kIdVersionText, platform::Translate(kAboutContext, form.version));
    dialog.Focus(resources::kIdOk);
}

void CAboutDialog::OnCommand(int id) {
    if (id == resources::kIdAboutWebLink) {
        // The desktop's answer is not reported: the link opens or nothing happens.
        platform::Services().OpenAddress(kVendorWebSite);
        return;
    }
    DialogHandler::OnCommand(id);
}

}  // namespace ovlet::window
