// Importing a picture into the card and removing it.
#include <QFile>
#include <QFileInfo>

#include "controls/picture_static.h"
#include "maker/maker_dialog.h"
#include "platform/ui_services.h"
#include "window/card_text.h"

namespace {

// Pictures above this size draw the advice to keep cards small for e-mail.
constexpr qint64 kPictureAdviceBytes = 35000;

const char* const kPictureAdvice = QT_TRANSLATE_NOOP(
    "CMakerDialog",
    "Ovlet Maker will import the selected image.  Please note that the image exceeds the maximum 30KB "
    "recomendation. This may cause noticeable download times for internet E-Mail users that receive your "
    "Ovlet.  You may want to consider resizing your image or reducing the number of colors used by your image.");

}  // namespace

void CMakerDialog::ImportPicture() {
    using platform::Ui;
    // A field over its limit is reported and the command stops, so no typing is lost.
    if (!TakeFromWindow()) return;
    const platform::FileDialogRequest request{false,
                                              {{tr("JPEG Graphic Files (.jpg)"), QStringLiteral("*.jpg")},
                                               {tr(" Portable Network Graphics (.png)"), QStringLiteral("*.png")}},
                                              QStringLiteral(".jpg"),
                                              QString(),
                                              QString()};
    const auto chosen = Ui().FileDialog(this, request);
    if (!chosen) return;
    // The card's picture stays until a new one has been read and decoded.
    // Only a regular file: a pipe or a device could block or never end.
    QFile file(*chosen);
    if (!QFileInfo(*chosen).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > 0x7FFFFFFF) {
        Ui().MessageBox(this, kMessageCaption, tr("Error opening graphic file."), platform::MessageIcon::Exclamation,
                        platform::MessageButtons::Ok);
        return;
    }
    if (file.size() > kPictureAdviceBytes) {
        Ui().MessageBox(this, kMessageCaption, tr(kPictureAdvice), platform::MessageIcon::Exclamation,
                        platform::MessageButtons::Ok);
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size()) {
        Ui().MessageBox(this, kMessageCaption, tr("Error opening graphic file."), platform::MessageIcon::Exclamation,
                        platform::MessageButtons::Ok);
        return;
    }
    std::pair<int, int> size;
    std::string error;
    const auto* pictureBytes = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!PicturePanel()->SetPictureData(PathBytes(*chosen), pictureBytes, static_cast<std::int32_t>(bytes.size()),
                                        &size, &error)) {
        Ui().MessageBox(this, kMessageCaption, tr("The picture cannot be imported.\n\n%1").arg(FromAnsi(error)),
                        platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return;
    }
    record.SetPicture(std::vector<std::uint8_t>(pictureBytes, pictureBytes + bytes.size()));
    record.ImageSizeText = std::to_string(size.first) + " x " + std::to_string(size.second);
    ShowInWindow();
}

void CMakerDialog::RemovePicture() {
    if (!TakeFromWindow()) return;
    record.ReleasePicture();
    PicturePanel()->SetPictureFile(std::string());
    record.ImageSizeText = "N/A";
    ShowInWindow();
}
