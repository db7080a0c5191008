// The picture panel: shows one picture file shrunk to fit and centred on a
// black panel, or "No Image Data" without one.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "picture/decode_outcome.h"
#include "picture/win_bmp.h"
#include "platform/owner_drawn.h"

namespace ovlet::picture {
class CAnyPicDecoder;
class CDataSource;
}  // namespace ovlet::picture

namespace ovlet::controls {

// Where and how large a w x h picture is drawn in a W x H panel.
struct PicturePlacement {
    int x = 0;
    int y = 0;
    double factor = 1.0;
    int width = 0;  // drawn size
    int height = 0;
};
PicturePlacement PlacePicture(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight);

// The one decoder every panel of the program uses.
picture::CAnyPicDecoder& SharedDecoder();

class CPictureStatic : public platform::OwnerDrawnControl {
public:
    CPictureStatic();

    // Read as a picture, named by what it shows.
    void Attach(platform::ControlHost* controlHost) override;

    // Decodes the file at once and keeps the picture at the size it is shown
    // at, in the screen's pixels; gives the picture's own width and height.
    // An empty name shows no picture. When the file cannot be decoded, the
    // error is the library's code and text, and the panel goes on showing
    // what it showed.
    picture::Result<std::pair<int, int>> SetPictureFile(const std::string& name);
    // The same for a picture already in memory (`name` is what the panel reports).
    picture::Result<std::pair<int, int>> SetPictureData(const std::string& name, const std::uint8_t* bytes,
                                                        std::int32_t length);
    // Shows no picture (SetPictureFile with an empty name, which cannot fail).
    void ClearPicture();
    // The picture library's code (DECERR_...) of the last decode that
    // failed; 0 after one that succeeded.
    int LastErrorCode() const { return errorCode; }
    const std::string& GetPictureFile() const { return fileName; }
    // The picture's own size, as its file says; (0, 0) before the first one.
    std::pair<int, int> PictureSize() const { return pictureSize; }
    // What the panel keeps of the picture: the shrunk picture in the
    // screen's pixels, 32 bits a pixel; empty without a picture.
    const picture::CWinBmp& ShownBitmap() const { return shown; }

    // How assistive technology names the picture: %1 and %2 are its width
    // and height. Without a picture the panel is named by what it shows.
    void SetNameFormat(const std::string& format);

    void Paint(platform::Canvas& canvas) override;
    void FocusChanged(bool focused) override;

private:
    picture::Result<std::pair<int, int>> Decode(const std::string& name, picture::CDataSource* memory);
    // The decoded picture at the size it is shown at, in the screen's pixels.
    void KeepShown(const picture::CWinBmp& decoded);
    // Where the picture goes and its size there in the screen's pixels.
    PicturePlacement Placement() const;
    std::pair<int, int> DeviceSize(const PicturePlacement& place) const;
    void UpdateName();
    void DrawFocus(platform::Canvas& canvas) const;

    // Replaced as a whole by each decode that succeeds, so a failed decode
    // never leaves a half-made picture on screen.
    picture::CWinBmp shown;
    std::pair<int, int> pictureSize{0, 0};
    std::string fileName;
    std::string nameFormat;
    bool nameFormatSet = false;
    int errorCode = 0;
};

}  // namespace ovlet::controls
