#include "maker/splash_dialog.h"

#include "controls/picture_static.h"
#include "files/input_file.h"
#include "platform/face.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"

namespace ovlet::maker {
namespace {

// The splash's one timer.
constexpr int kSplashTimer = 1;

}  // namespace

CSplashDialog::CSplashDialog(SplashPictureSource pictures, int ms) : source(std::move(pictures)), milliseconds(ms) {}

int CSplashDialog::DoModal() {
    return platform::RunDialog(resources::SplashDialogTemplate(), *this);
}

std::unique_ptr<platform::OwnerDrawnControl> CSplashDialog::MakeOwnerDrawn(int id) {
    if (id != resources::kIdSplashPicture) return nullptr;
    auto picture = std::make_unique<controls::CPictureStatic>();
    panel = picture.get();
    return picture;
}

void CSplashDialog::OnInit(platform::DialogHost& dialog) {
    DialogHandler::OnInit(dialog);
    // The timer runs from before the picture is decoded, so decoding counts
    // against the three seconds.
    dialog.StartTimer(kSplashTimer, milliseconds);
    pictureName = "maker.jpg";
    if (!panel) return;
    // The files are read through the programs' one reader.
    for (const std::string& path : source.files) {
        files::ReadOptions options;
        options.maxBytes = files::kMaxPictureBytes;
        const files::Result<std::vector<std::uint8_t>> bytes = files::ReadWholeFile(path, options);
        if (bytes &&
            panel->SetPictureData(pictureName, bytes.Value().data(), static_cast<std::int32_t>(bytes.Value().size()))) {
            return;
        }
    }
    if (source.builtIn) {
        const std::vector<std::uint8_t> bytes = source.builtIn();
        static_cast<void>(panel->SetPictureData(pictureName, bytes.data(), static_cast<std::int32_t>(bytes.size())));
    }
}

void CSplashDialog::OnTimer(int) {
    host->End(platform::kIdCancel);
}

}  // namespace ovlet::maker
