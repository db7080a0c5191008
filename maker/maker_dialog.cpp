#include "maker/maker_dialog.h"

const AboutForm kMakerAbout{
    .caption = nullptr,
    .version = "Ovlet Maker Version 1.0",
    .linkText = nullptr,
    .program = "ovmake",
};

namespace {

const CardForm kMakerForm{
    .caption = nullptr,
    .program = "ovmake",
    .pages = {&kImagePage, &kCompanyPage, &kContactPage, &kInformationPage},
    .hiddenPages = {&kSummaryPage},
    .hidden = {kIdViewerFrame},
    .readOnlyInformation = false,
    .about = kMakerAbout,
};

}  // namespace

CMakerDialog::CMakerDialog(QWidget* parent) : CCardDialog(kMakerForm, parent) {
    InstallCommand(kIdNew, [this] { New(); });
    InstallCommand(kIdOpen, [this] { Open(); });
    InstallCommand(kIdSave, [this] { Save(); });
    InstallCommand(kIdSaveAs, [this] { SaveAs(); });
    InstallCommand(kIdExit, [this] { Exit(); });
    InstallCommand(kIdImport, [this] { ImportPicture(); });
    InstallCommand(kIdRemove, [this] { RemovePicture(); });
    InstallCommand(kIdHelp, [this] { Help(); });
}
