#include "maker/maker_dialog.h"

#include <sys/stat.h>

#include <QFile>
#include <QShortcut>

#include <cerrno>
#include <filesystem>

#include "maker/splash_dialog.h"
#include "window/card_text.h"
#include "window/program_data.h"

SplashPictureSource MakerSplashPictures() {
    return {{"maker.jpg", PathBytes(ProgramDataFile(QStringLiteral("maker.jpg")))}, [] {
                QFile builtIn(QStringLiteral(":/data/maker.jpg"));
                if (!builtIn.open(QIODevice::ReadOnly)) return std::vector<std::uint8_t>();
                const QByteArray bytes = builtIn.readAll();
                const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.constData());
                return std::vector<std::uint8_t>(first, first + bytes.size());
            }};
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
