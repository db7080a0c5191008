// The About dialog of both programs.
#pragma once

#include "platform/dialog.h"

namespace ovlet::window {

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

class CAboutDialog : public platform::DialogHandler {
public:
    explicit CAboutDialog(const AboutForm& form);

    // Runs the dialog over `owner` until it is closed.
    int DoModal(platform::DialogHost* owner = nullptr);

    std::unique_ptr<platform::OwnerDrawnControl> MakeOwnerDrawn(int id) override;
    void OnInit(platform::DialogHost& dialog) override;
    void OnCommand(int id) override;

private:
    const AboutForm& form;
};

}  // namespace ovlet::window
