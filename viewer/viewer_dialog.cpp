#include "viewer/viewer_dialog.h"

#include "platform/face.h"
#include "platform/text_mark.h"

namespace ovlet::viewer {
namespace {

// The maker's Company and Contact pages, its editing buttons and the Remove
// button are never shown here; the About and Exit buttons sit in a frame of
// their own.
const window::CardForm kViewerForm{
    .caption = "Norvane Ovlet Viewer",
    .program = "ovview",
    .pages = {&window::kImagePage, &window::kSummaryPage, &window::kInformationPage},
    .hiddenPages = {&window::kCompanyPage, &window::kContactPage},
    .hidden = {resources::kIdNew, resources::kIdSave, resources::kIdSaveAs, resources::kIdImport, resources::kIdOpen,
               resources::kIdHelp, resources::kIdToolbarFrame, resources::kIdRemove},
    .readOnlyInformation = true,
    .about = kViewerAbout,
};

}  // namespace

CViewerDialog::CViewerDialog() : window::CCardDialog(kViewerForm) {}

std::vector<platform::MenuEntry> CViewerDialog::FormMenuEntries() const {
    std::vector<platform::MenuEntry> entries = window::CCardDialog::FormMenuEntries();
    entries.push_back({resources::kCommandShowQrCode,
                       platform::Translate("CViewerDialog", QT_TRANSLATE_NOOP("CViewerDialog", "Show QR code"))});
    return entries;
}

}  // namespace ovlet::viewer
