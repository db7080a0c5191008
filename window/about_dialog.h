// The About dialog of both programs.
#pragma once

#include "platform/qt/template_dialog.h"

class CLinkButton;

// The web site named in the About dialog and in every card's notice.
inline constexpr const char* kVendorWebSite = "https://ovlet.app/";

// The translation context of the About dialog's texts.
inline constexpr const char* kAboutContext = "AboutDialog";

// What a program's About dialog says (as written; shown translated).
struct AboutForm {
    const char* caption;   // null: the layout's
    const char* version;   // the version line
    const char* linkText;  // the web link's text; null: the layout's
    const char* program;   // whose icon the dialog shows
};

class CAboutDialog : public platform::TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(const AboutForm& form, QWidget* parent = nullptr);

protected:
    QWidget* CreateControl(const platform::ControlTemplate& control) override;
    void OnInitDialog() override;
    void OnCommand(int id) override;

private:
    const AboutForm& form;
    CLinkButton* webLink = nullptr;
};
