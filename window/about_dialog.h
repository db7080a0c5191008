// The About dialog of both programs.
#pragma once

#include <string>

#include "platform/template_dialog.h"

class CLinkButton;

// The web site named in the About dialog and in every card's notice.
inline constexpr const char* kVendorWebSite = "https://ovlet.app/";

class CAboutDialog : public platform::TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(bool viewer, QWidget* parent = nullptr);

    const std::string& VersionText() const { return versionText; }

protected:
    QWidget* CreateControl(const platform::ControlTemplate& control) override;
    void OnInitDialog() override;
    void OnCommand(int id) override;

private:
    bool viewer;
    CLinkButton* webLink = nullptr;
    std::string versionText;
};
