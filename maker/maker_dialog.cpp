#include "maker/maker_dialog.h"

#include <sys/stat.h>

#include <QShortcut>

#include <cerrno>
#include <filesystem>

const AboutForm kMakerAbout{
    .caption = nullptr,
    .version = QT_TRANSLATE_NOOP("AboutDialog", "Ovlet Maker Version 1.0"),
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

// Nothing at all is at the path (not even a broken link) and its folder exists.
bool NamesANewFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 || errno != ENOENT) return false;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
}

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
    auto* paste = new QShortcut(QKeySequence::Paste, this);
    connect(paste, &QShortcut::activated, this, &CMakerDialog::PastePicture);
}

void CMakerDialog::ReadNamedCard() {
    if (!record.CurrentPath.empty() && NamesANewFile(record.CurrentPath)) {
        record.CurrentFileLabel = record.CurrentPath;
        ShowInWindow();
        return;
    }
    CCardDialog::ReadNamedCard();
}
