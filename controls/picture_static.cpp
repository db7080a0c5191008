#include "controls/picture_static.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/smooth_resize.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/pixel_memory.h"

namespace ovlet::controls {
namespace {

constexpr platform::Colour kBlack{0, 0, 0};
constexpr platform::Colour kNoImageColour{255, 0, 0};
constexpr platform::Colour kFocusColour{160, 160, 160};

// `format` with %1 and %2 replaced by the numbers.
std::string WithSize(std::string format, int width, int height) {
    for (const auto& [marker, value] : {std::pair{"%1", width}, std::pair{"%2", height}}) {
        if (const std::size_t at = format.find(marker); at != std::string::npos) {
            format.replace(at, 2, std::to_string(value));
        }
    }
    return format;
}

}  // namespace

PicturePlacement PlacePicture(int panelWidth, int panelHeight, int w, int h) {
    PicturePlacement p;
    const int innerWidth = panelWidth - 2;
    const int innerHeight = panelHeight - 2;
    if (w <= 0 || h <= 0) return p;
    if (w < innerWidth && h < innerHeight) {
        p.x = (innerWidth - w) / 2;
        p.y = (innerHeight - h) / 2;
        p.width = w;
        p.height = h;
        return p;
    }
    const double rw = static_cast<double>(innerWidth) / w;
    const double rh = static_cast<double>(innerHeight) / h;
    p.factor = rw < rh ? rw : rh;
    if (p.factor < 0) p.factor = 0;
    // A very thin picture (1 x 4000) keeps at least one pixel across, so it
    // never vanishes from the panel.
    p.width = std::max(1, static_cast<int>(w * p.factor));
    p.height = std::max(1, static_cast<int>(h * p.factor));
    p.x = (innerWidth - p.width) / 2 + 1;
    p.y = (innerHeight - p.height) / 2 + 1;
    return p;
}

picture::CAnyPicDecoder& SharedDecoder() {
    static picture::CAnyPicDecoder decoder;
    return decoder;
}

CPictureStatic::CPictureStatic() {
    shown.FreeStorage();
}

void CPictureStatic::Attach(platform::ControlHost* controlHost) {
    OwnerDrawnControl::Attach(controlHost);
    host->SetAccessibleRole(platform::AccessibleRole::Graphic);
    UpdateName();
}

void CPictureStatic::SetNameFormat(const std::string& format) {
    nameFormat = format;
    nameFormatSet = true;
    UpdateName();
}

// The texts are filed in the catalogues under the panel's class name (the
// translation tools read the literal context of each Translate call).
void CPictureStatic::UpdateName() {
    if (fileName.empty()) {
        host->SetAccessibleName(host->Translate("CPictureStatic", "No Image Data"));
        return;
    }
    const std::string format = nameFormatSet ? nameFormat : host->Translate("CPictureStatic", "Picture, %1 x %2");
    host->SetAccessibleName(WithSize(format, pictureSize.first, pictureSize.second));
}

picture::Result<std::pair<int, int>> CPictureStatic::SetPictureFile(const std::string& name) {
    return Decode(name, nullptr);
}

void CPictureStatic::ClearPicture() {
    static_cast<void>(SetPictureFile(std::string()));
}

picture::Result<std::pair<int, int>> CPictureStatic::SetPictureData(const std::string& name, const std::uint8_t* bytes,
                                                                    std::int32_t length) {
    picture::CDataSource source;
    source.OpenData(name.c_str(), bytes, length);
    picture::Result<std::pair<int, int>> shownSize = Decode(name, &source);
    source.Close();
    return shownSize;
}

PicturePlacement CPictureStatic::Placement() const {
    return PlacePicture(host->Width(), host->Height(), pictureSize.first, pictureSize.second);
}

std::pair<int, int> CPictureStatic::DeviceSize(const PicturePlacement& place) const {
    const double ratio = host->Scale();
    return {std::max(1, static_cast<int>(std::lround(place.width * ratio))),
            std::max(1, static_cast<int>(std::lround(place.height * ratio)))};
}

void CPictureStatic::KeepShown(const picture::CWinBmp& decoded) {
    const PicturePlacement place = Placement();
    const auto [deviceWidth, deviceHeight] = DeviceSize(place);
    if (place.width <= 0 || place.height <= 0 || decoded.IsEmpty() || decoded.GetBitsPerPixel() != 32) {
        shown.FreeStorage();
    } else if (deviceWidth == decoded.GetWidth() && deviceHeight == decoded.GetHeight()) {
        shown.CreateFromPackedDib(decoded.GetInfoHeader());
    } else {
        // Smoothly both ways, in the order the lines are stored: a picture
        // enlarged for a screen of scale 2 is drawn at the screen's
        // resolution, not in blocks of equal pixels.
        SmoothResizeBitmap(decoded, deviceWidth, deviceHeight, false, shown);
    }
}

picture::Result<std::pair<int, int>> CPictureStatic::Decode(const std::string& name, picture::CDataSource* memory) {
    if (!name.empty()) {
        // The panel needs no more pixels than it shows: the inner area in the
        // screen's pixels bounds what the decoder makes (a JPEG picture is
        // decoded at 1/2, 1/4 or 1/8 of its size where that is enough), and
        // only the copy at the shown size is kept.
        const double ratio = host->Scale();
        const auto boxWidth = static_cast<std::int32_t>(std::lround(std::max(host->Width() - 2, 1) * ratio));
        const auto boxHeight = static_cast<std::int32_t>(std::lround(std::max(host->Height() - 2, 1) * ratio));
        std::optional<picture::DecodeError> failure;
        {
            picture::CWinBmp decoded;
            const picture::Result<picture::PictureHeader> header = picture::Decoding([&] {
                return memory ? SharedDecoder().DecodeSourceToFit(memory, &decoded, 32, boxWidth, boxHeight)
                              : SharedDecoder().DecodeFileToFit(name.c_str(), &decoded, 32, boxWidth, boxHeight);
            });
            if (header) {
                pictureSize = {header->width, header->height};
                KeepShown(decoded);
            } else {
                failure = header.Error();
                errorCode = failure->code;
            }
        }
        // Only the shown copy stays, and the window may not see another
        // picture for a long time: the decode's large blocks go back now
        // instead of waiting as spares.
        picture::PixelBlock::ReleaseSpares();
        if (failure) return *failure;
    }
    fileName = name;
    errorCode = 0;
    UpdateName();
    host->Redraw();
    return pictureSize;
}

void CPictureStatic::Paint(platform::Canvas& canvas) {
    const int w = host->Width();
    const int h = host->Height();
    canvas.FillRect({0, 0, w, h}, kBlack);
    canvas.FrameRect({0, 0, w, h}, kBlack, false);
    if (fileName.empty()) {
        const std::string text = host->Translate("CPictureStatic", "No Image Data");
        const int textWidth = host->TextWidth(text, {});
        canvas.Text({w / 2 - textWidth / 2, h / 2}, platform::TextAnchor::BaseLine, text, kNoImageColour, {});
        DrawFocus(canvas);
        return;
    }
    const PicturePlacement place = Placement();
    if (place.width <= 0 || place.height <= 0 || shown.IsEmpty()) return;
    // A panel that changed its size or screen since the decode scales what it
    // keeps, from the top line down as a picture is seen; as a rule the kept
    // copy fits exactly and is copied as it is.
    const auto [deviceWidth, deviceHeight] = DeviceSize(place);
    if (shown.GetWidth() != deviceWidth || shown.GetHeight() != deviceHeight) {
        picture::CWinBmp resized;
        if (SmoothResizeBitmap(shown, deviceWidth, deviceHeight, true, resized)) {
            shown.CreateFromPackedDib(resized.GetInfoHeader());
        }
    }
    canvas.ScreenBitmap(shown, {place.x, place.y, place.width, place.height});
    DrawFocus(canvas);
}

void CPictureStatic::DrawFocus(platform::Canvas& canvas) const {
    // The keyboard's place: a dotted ring just inside the frame while the
    // panel has the focus.
    if (!host->HasFocus()) return;
    canvas.FrameRect({1, 1, host->Width() - 2, host->Height() - 2}, kFocusColour, true);
}

void CPictureStatic::FocusChanged(bool) {
    host->Redraw();
}

}  // namespace ovlet::controls
