#include "window/about_dialog.h"

#include <QCoreApplication>
#include <memory>

#include "controls/link_button.h"
#include "platform/qt/owner_drawn_widget.h"
#include "platform/qt/ui_services.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "resources/program_resources.h"

CAboutDialog::CAboutDialog(const AboutForm& aboutForm, QWidget* parent)
    : TemplateDialog(resources::AboutDialogTemplate(), parent), form(aboutForm) {
    setWindowIcon(resources::ProgramIcon(QString::fromUtf8(form.program)));
}

QWidget* CAboutDialog::CreateControl(const platform::ControlTemplate& control) {
    if (control.id == kIdAboutWebLink) {
        auto link = std::make_unique<CLinkButton>();
        webLink = link.get();
        QAbstractButton* button = platform::qt::MakeOwnerDrawnButton(std::move(link));
        button->setText(TemplateText(control.text));
        RouteClicks(button, control.id);
        return button;
    }
    return TemplateDialog::CreateControl(control);
}

void CAboutDialog::OnInitDialog() {
    if (form.caption) setWindowTitle(QCoreApplication::translate(kAboutContext, form.caption));
    if (form.linkText) SetItemText(kIdAboutWebLink, QCoreApplication::translate(kAboutContext, form.linkText));
    webLink->SetLinkStyle(1);
    SetItemText(kIdVersionText, QCoreApplication::translate(kAboutContext, form.version));
    if (QWidget* ok = Item(kIdOk)) ok->setFocus();
}

void CAboutDialog::OnCommand(int id) {
    if (id == kIdAboutWebLink) {
        // The desktop's answer is not reported: the link opens or nothing happens.
        platform::Ui().OpenUrl(QString::fromUtf8(kVendorWebSite));
        return;
    }
    TemplateDialog::OnCommand(id);
}
