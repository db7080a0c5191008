#include "window_test_support.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/qt/painter_device.h"
#include "platform/qt/qt_face.h"
#include "programs/qt_program.h"

namespace ovlet::window {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ovlet-window-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
}

ScratchDir::~ScratchDir() {
    std::filesystem::remove_all(path_);
}

card::CardRecord CompanyCard(const std::string& company) {
    card::CardRecord card;
    card.Company = company;
    return card;
}

void WriteCard(const std::string& path, card::CardRecord record) {
    card::RecordOnlySide side(record);
    ASSERT_TRUE(card::WriteCardFile(path, record, side));
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

QString LimitMessage(int limit) {
    return QStringLiteral("Please enter no more than %1 characters.").arg(limit);
}

HostedPanel MakePanel(int width, int height) {
    auto picture = std::make_unique<controls::CPictureStatic>();
    HostedPanel hosted;
    hosted.panel = picture.get();
    hosted.widget.reset(platform::qt::MakeOwnerDrawnPanel(std::move(picture)));
    hosted.widget->resize(width, height);
    return hosted;
}

QImage ShownImage(const controls::CPictureStatic& panel) {
    const picture::CWinBmp& shown = panel.ShownBitmap();
    if (shown.IsEmpty() || shown.GetHeight() <= 0) return {};
    return platform::WrapDibLines(shown.GetLineTable()[shown.GetHeight() - 1], shown.GetInfoHeader())
        .mirrored(false, true);
}

std::string SamplesDir() {
    return OVLET_SAMPLES_DIR;
}

namespace {

constexpr const char* kUserVariable = "OVLET_TEST_USER";
constexpr unsigned kUnprivileged = 65534;

}  // namespace

int RunAsUnprivilegedUser(const std::string& test) {
    // Everything the child needs is made before the fork: it only execs.
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    environment.push_back(std::string(kUserVariable) + "=" + std::to_string(kUnprivileged));
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = "window_tests";
    std::string filter = "--gtest_filter=" + test;
    char* argv[] = {program.data(), filter.data(), nullptr};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::execve("/proc/self/exe", argv, envp.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const std::vector<std::vector<int>> kMakerPages = {
    {resources::kIdPicture},
    {resources::kIdCompany, resources::kIdStreetAddress, resources::kIdCity, resources::kIdStateProvince,
     resources::kIdCountry, resources::kIdPostalCode, resources::kIdWebSite},
    {resources::kIdFirstName, resources::kIdMiddleName, resources::kIdLastName, resources::kIdJobTitle,
     resources::kIdDepartment, resources::kIdEMail, resources::kIdFax, resources::kIdPhone1Description,
     resources::kIdPhone1Number, resources::kIdPhone2Description, resources::kIdPhone2Number},
    {resources::kIdGeneralInformation},
};
const std::vector<std::vector<int>> kViewerPages = {
    {resources::kIdPicture},
    {resources::kIdWebSiteLine, resources::kIdPhone1Line, resources::kIdPhone2Line, resources::kIdEMailLine,
     resources::kIdFaxLine},
    {resources::kIdGeneralInformation},
};

}  // namespace ovlet::window

int main(int argc, char** argv) {
    if (std::getenv(ovlet::window::kUserVariable)) {
        // Give up root before anything else runs.
        if (::setgroups(0, nullptr) != 0 || ::setgid(ovlet::window::kUnprivileged) != 0 ||
            ::setuid(ovlet::window::kUnprivileged) != 0) {
            std::perror("dropping root");
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    ovlet::programs::InstallQtProgramPictures();
    ovlet::platform::QtFace face;
    ovlet::platform::InstallFace(&face);
    ovlet::programs::InstallQtCardSheetPainter();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
