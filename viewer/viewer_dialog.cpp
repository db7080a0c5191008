#include "viewer/viewer_dialog.h"

#include <QMenu>

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

CViewerDialog::CViewerDialog(QWidget* parent) : CCardDialog(kViewerForm, parent) {}

void CViewerDialog::AddMenuEntries(QMenu* windowMenu) {
    CCardDialog::AddMenuEntries(windowMenu);
    windowMenu->addAction(tr("Show QR code"), this, &CCardDialog::ShowQrCode);
}
