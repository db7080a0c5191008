#include "window_test_support.h"

#include <fstream>
#include <iterator>

#include "resources/program_resources.h"

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ovlet-window-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
}

ScratchDir::~ScratchDir() {
    std::filesystem::remove_all(path_);
}

void WriteCard(const std::string& path, CardRecord record) {
    RecordOnlySide side(record);
    ASSERT_EQ(WriteCardFile(path, record, side).outcome, CardWriteOutcome::Written);
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

std::string SamplesDir() {
    return OVLET_SAMPLES_DIR;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    resources::InstallBitmaps();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
