#include "window/about_dialog.h"

#include <QLabel>

#include "controls/link_button.h"
#include "platform/resources.h"
#include "platform/shell.h"

CAboutDialog::CAboutDialog(bool viewerForm, QWidget* parent) : TemplateDialog(100, parent), viewer(viewerForm) {
    setWindowIcon(platform::ProgramIcon(viewer));
}

QWidget* CAboutDialog::CreateControl(const platform::ControlTemplate& control) {
    if (control.id == 1076) {
        webLink = new CLinkButton;
        webLink->setText(QString::fromStdString(control.text));
        RouteClicks(webLink, control.id);
        return webLink;
    }
    return TemplateDialog::CreateControl(control);
}

void CAboutDialog::OnInitDialog() {
    if (viewer) {
        setWindowTitle(QStringLiteral("About Ovlet Viewer"));
        versionText = "Ovlet Viewer Version 1.0";
        SetItemText(1076, QStringLiteral("Download Ovlet Maker"));
    } else {
        versionText = "Ovlet Maker Version 1.0";
    }
    webLink->SetLinkStyle(1);
    SetItemText(1068, QString::fromStdString(versionText));
    if (QWidget* ok = Item(1)) ok->setFocus();
}

void CAboutDialog::OnCommand(int id) {
    if (id == 1076) {
        platform::OpenAddress(kVendorWebSite);
        return;
    }
    TemplateDialog::OnCommand(id);
}
