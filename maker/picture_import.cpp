// Importing a picture into the card (chosen, dropped or pasted) and removing it.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "controls/picture_static.h"
#include "files/input_file.h"
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

// A JPEG photograph keeps cards small; a picture with transparent pixels
// keeps them as a PNG picture. Either is what every card reader decodes.
constexpr int kPastedJpegQuality = 90;

bool HasTransparentPixels(const QImage& image) {
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255) return true;
        }
    }
    return false;
}

// The picture as the bytes of a file, and a name for it; empty when it cannot be written.
std::vector<std::uint8_t> EncodePastedPicture(const QImage& image, std::string& name) {
    const bool png = HasTransparentPixels(image);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const bool written = png ? image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")
                             : image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", kPastedJpegQuality);
    if (!written) return {};
    name = png ? "pasted.png" : "pasted.jpg";
    const auto* data = reinterpret_cast<const std::uint8_t*>(encoded.constData());
    return {data, data + encoded.size()};
}

}  // namespace

void CMakerDialog::ImportPicture() {
    // A field over its limit is reported and the command stops, so no typing is lost.
    if (!TakeFromWindow()) return;
    const platform::FileDialogRequest request{false,
                                              {{tr("JPEG Graphic Files (.jpg)"), QStringLiteral("*.jpg")},
                                               {tr(" Portable Network Graphics (.png)"), QStringLiteral("*.png")}},
                                              QStringLiteral(".jpg"),
                                              QString(),
                                              QString()};
    const auto chosen = platform::Ui().FileDialog(this, request);
    if (!chosen) return;
    ImportPictureFile(*chosen);
}

bool CMakerDialog::ImportPictureFile(const QString& path) {
    // The card's picture stays until a new one has been read and decoded.
    // Read through the programs' one reader: only a regular file (a pipe or a
    // device could block or never end), and no more than a card can hold.
    std::vector<std::uint8_t> bytes;
    std::string error;
    files::ReadOptions options;
    options.maxBytes = files::kMaxPictureBytes;
    if (!files::ReadWholeFile(PathBytes(path), options, bytes, error)) {
        platform::Ui().MessageBox(this, kMessageCaption, tr("Error opening graphic file."),
                                  platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    return ImportPictureBytes(PathBytes(path), std::move(bytes));
}

bool CMakerDialog::ImportPictureBytes(const std::string& name, std::vector<std::uint8_t> bytes) {
    using platform::Ui;
    if (static_cast<qint64>(bytes.size()) > kPictureAdviceBytes) {
        Ui().MessageBox(this, kMessageCaption, tr(kPictureAdvice), platform::MessageIcon::Exclamation,
                        platform::MessageButtons::Ok);
    }
    std::pair<int, int> size;
    std::string error;
    if (!PicturePanel()->SetPictureData(name, bytes.data(), static_cast<std::int32_t>(bytes.size()), &size, &error)) {
        Ui().MessageBox(this, kMessageCaption, tr("The picture cannot be imported.\n\n%1").arg(FromAnsi(error)),
                        platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    record.SetPicture(std::move(bytes));
    record.ImageSizeText = PictureSizeText(size.first, size.second);
    ShowInWindow();
    return true;
}

void CMakerDialog::PastePicture() {
    // The fields take their own pastes; the Image page has none to take it.
    if (!IsItemShown(kIdPicture)) return;
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    if (const QString path = CarriedFile(clipboard); !path.isEmpty()) {
        OpenDroppedFile(path);
        return;
    }
    const QImage image = clipboard && clipboard->hasImage() ? qvariant_cast<QImage>(clipboard->imageData()) : QImage();
    if (image.isNull()) {
        platform::Ui().Beep();
        return;
    }
    if (!TakeFromWindow()) return;
    std::string name;
    std::vector<std::uint8_t> bytes = EncodePastedPicture(image, name);
    if (bytes.empty()) {
        platform::Ui().Beep();
        return;
    }
    ImportPictureBytes(name, std::move(bytes));
}

void CMakerDialog::RemovePicture() {
    if (!TakeFromWindow()) return;
    record.ReleasePicture();
    PicturePanel()->SetPictureFile(std::string());
    record.ImageSizeText = "N/A";
    ShowInWindow();
}
