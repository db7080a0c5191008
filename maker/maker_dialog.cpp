#include "maker/maker_dialog.h"

#include "files/file_status.h"
#include "maker/splash_dialog.h"
#include "resources/built_in_data.h"
#include "window/program_data.h"

namespace resources = ovlet::resources;

SplashPictureSource MakerSplashPictures() {
    return {{"maker.jpg", ProgramDataFile("maker.jpg")}, [] { return resources::MakerSplashJpeg(); }};
}

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

// Nothing at all is at the path (not even a broken link) and its folder exists.
bool NamesANewFile(const std::string& path) {
    return !ovlet::files::NameIsTaken(path) && ovlet::files::FindPath(path) == ovlet::files::PathPresence::NoSuchFile;
}

}  // namespace

CMakerDialog::CMakerDialog() : CCardDialog(kMakerForm) {
    InstallCommand(kIdNew, [this] { New(); });
    InstallCommand(kIdOpen, [this] { Open(); });
    InstallCommand(kIdSave, [this] { Save(); });
    InstallCommand(kIdSaveAs, [this] { SaveAs(); });
    InstallCommand(kIdExit, [this] { Exit(); });
    InstallCommand(kIdImport, [this] { ImportPicture(); });
    InstallCommand(kIdRemove, [this] { RemovePicture(); });
    InstallCommand(kIdHelp, [this] { Help(); });
    InstallCommand(kCommandPaste, [this] { PastePicture(); });
    InstallKeys(kCommandPaste, "Ctrl+V");
}

void CMakerDialog::ReadNamedCard() {
    if (!record.CurrentPath.empty() && NamesANewFile(record.CurrentPath)) {
        record.CurrentFileLabel = record.CurrentPath;
        ShowInWindow();
        return;
    }
    CCardDialog::ReadNamedCard();
}
