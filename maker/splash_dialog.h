// The maker's splash window: the splash picture for three seconds, or until
// Enter or Escape.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace ovlet::controls {
class CPictureStatic;
}  // namespace ovlet::controls

namespace ovlet::maker {

// Where the splash finds its picture: the files tried in order, then the
// bytes built into the program (may be empty).
struct SplashPictureSource {
    std::vector<std::string> files;
    std::function<std::vector<std::uint8_t>()> builtIn;
};

// The maker's: "maker.jpg" in the current folder, the installed one, the one
// built into the program (resources::MakerSplashJpeg).
SplashPictureSource MakerSplashPictures();

class CSplashDialog : public platform::DialogHandler {
public:
    explicit CSplashDialog(SplashPictureSource source, int milliseconds = 3000);

    // Runs the splash until its time is up or a key ends it.
    int DoModal();

    const std::string& PictureName() const { return pictureName; }
    controls::CPictureStatic* Panel() const { return panel; }

    std::unique_ptr<platform::OwnerDrawnControl> MakeOwnerDrawn(int id) override;
    void OnInit(platform::DialogHost& dialog) override;
    void OnTimer(int timer) override;

private:
    SplashPictureSource source;
    std::string pictureName;
    controls::CPictureStatic* panel = nullptr;
    int milliseconds;
};

}  // namespace ovlet::maker
