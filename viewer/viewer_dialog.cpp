#include "viewer/viewer_dialog.h"

#include "platform/face.h"
#include "platform/text_mark.h"

namespace {

// The maker's Company and Contact pages, its editing buttons and the Remove
// button are never shown here; the About and Exit buttons sit in a frame of
// their own.
const CardForm kViewerForm{
    .caption = "Norvane Ovlet Viewer",
    .program = "ovview",
    .pages = {&kImagePage, &kSummaryPage, &kInformationPage},
    .hiddenPages = {&kCompanyPage, &kContactPage},
    .hidden = {kIdNew, kIdSave, kIdSaveAs, kIdImport, kIdOpen, kIdHelp, kIdToolbarFrame, kIdRemove},
    .readOnlyInformation = true,
    .about = kViewerAbout,
};

}  // namespace

CViewerDialog::CViewerDialog() : CCardDialog(kViewerForm) {}

std::vector<platform::MenuEntry> CViewerDialog::FormMenuEntries() const {
    std::vector<platform::MenuEntry> entries = CCardDialog::FormMenuEntries();
    entries.push_back(
        {kCommandShowQrCode, platform::Translate("CViewerDialog", QT_TRANSLATE_NOOP("CViewerDialog", "Show QR code"))});
    return entries;
}
