#include "maker/maker_dialog.h"

#include "files/file_status.h"
#include "maker/splash_dialog.h"
#include "resources/built_in_data.h"
#include "window/program_data.h"

namespace ovlet::maker {

SplashPictureSource MakerSplashPictures() {
    return {{"maker.jpg", window::ProgramDataFile("maker.jpg")}, [] { return resources::MakerSplashJpeg(); }};
}

namespace {

const window::CardForm kMakerForm{
    .caption = nullptr,
    .program = "ovmake",
    .pages = {&window::kImagePage, &window::kCompanyPage, &window::kContactPage, &window::kInformationPage},
    .hiddenPages = {&window::kSummaryPage},
    .hidden = {resources::kIdViewerFrame},
    .readOnlyInformation = false,
    .about = kMakerAbout,
};

// Nothing at all is at the path (not even a broken link) and its folder exists.
bool NamesANewFile(const std::string& path) {
    return !files::NameIsTaken(path) && files::FindPath(path) == files::PathPresence::NoSuchFile;
}

}  // namespace

CMakerDialog::CMakerDialog() : window::CCardDialog(kMakerForm) {
    InstallCommand(resources::kIdNew, [this] { New(); });
    InstallCommand(resources::kIdOpen, [this] { Open(); });
    InstallCommand(resources::kIdSave, [this] { Save(); });
    InstallCommand(resources::kIdSaveAs, [this] { SaveAs(); });
    InstallCommand(resources::kIdExit, [this] { Exit(); });
    InstallCommand(resources::kIdImport, [this] { ImportPicture(); });
    InstallCommand(resources::kIdRemove, [this] { RemovePicture(); });
    InstallCommand(resources::kIdHelp, [this] { Help(); });
    InstallCommand(resources::kCommandPaste, [this] { PastePicture(); });
    InstallKeys(resources::kCommandPaste, "Ctrl+V");
}

void CMakerDialog::ReadNamedCard() {
    if (!record.CurrentPath.empty() && NamesANewFile(record.CurrentPath)) {
        record.CurrentFileLabel = record.CurrentPath;
        ShowInWindow();
        return;
    }
    window::CCardDialog::ReadNamedCard();
}

}  // namespace ovlet::maker
