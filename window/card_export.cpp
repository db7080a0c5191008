// The card for address books and phones: vCard export, the card's picture as
// a file, a QR code of the card, and the card printed.
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

#include "exchange/drawing/card_sheet.h"
#include "exchange/outgoing_picture.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "files/output_file.h"
#include "platform/face.h"
#include "platform/qt/qt_face.h"
#include "window/card_dialog.h"
#include "window/card_text.h"

namespace {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::Services;

void Report(platform::DialogHost* owner, const QString& text) {
    Services().Message(owner, kMessageCaption, text.toStdString(), MessageIcon::Exclamation, MessageButtons::Ok);
}

// The card's person (first and last name) or, without one, its company.
QString PersonOrCompany(const CardRecord& card) {
    const QString name =
        FromAnsi(card.FirstName + (card.FirstName.empty() || card.LastName.empty() ? "" : " ") + card.LastName)
            .trimmed();
    return name.isEmpty() ? FromAnsi(card.Company).trimmed() : name;
}

// A file name from the card's person or company, for the Save dialog.
QString SuggestedName(const CardRecord& card) {
    QString name = PersonOrCompany(card);
    name.replace(QChar('/'), QChar('-'));
    return name.isEmpty() ? QStringLiteral("card") : name;
}

// Written through the programs' one writer: beside the target, then renamed
// over it, so a failure leaves an existing file as it was.
bool WriteWhole(const std::string& path, const void* data, std::size_t size, QString& reason) {
    ovlet::files::OutputFile file;
    if (file.Open(path) && file.Write(data, size) && file.Commit()) return true;
    reason = QString::fromStdString(file.Reason());
    return false;
}

}  // namespace

void CCardDialog::ExportVCard() {
    // What is in the window is what goes out: the maker's typed text included.
    if (!TakeEdits()) return;
    record.StreetAddress = GetEditText(&CardRecord::StreetAddress);
    record.GeneralInformation = GetEditText(&CardRecord::GeneralInformation);
    const platform::FileRequest request{true,
                                        {{tr("vCard (.vcf)").toStdString(), "*.vcf"}},
                                        ".vcf",
                                        (SuggestedName(record) + QStringLiteral(".vcf")).toStdString(),
                                        {}};
    const auto chosen = Services().ChooseFile(this, request);
    if (!chosen) return;
    const std::string text = vcard::EncodeVCard(record);
    QString error;
    if (!WriteWhole(*chosen, text.data(), text.size(), error)) {
        Report(this, tr("The vCard could not be written to %1: %2").arg(PathText(*chosen), error));
    }
}

void CCardDialog::PrintCard() {
    if (!TakeEdits()) return;
    record.StreetAddress = GetEditText(&CardRecord::StreetAddress);
    record.GeneralInformation = GetEditText(&CardRecord::GeneralInformation);
    drawing::SheetLayout layout;
    layout.sheet =
        QLocale().measurementSystem() == QLocale::ImperialUSSystem ? drawing::Sheet::Letter : drawing::Sheet::A4;
    // A picture that cannot be decoded leaves its place on the card empty, as the preview shows.
    std::string warning;
    const QImage picture = drawing::PrintPicture(record, layout, warning);
    const CardRecord card = record;
    const QString name = PersonOrCompany(card);
    platform::PrintRequest request{
        (name.isEmpty() ? tr("Card") : name).toStdString(),
        layout.sheet == drawing::Sheet::Letter ? platform::Paper::Letter : platform::Paper::A4,
        [card, layout, picture](platform::PrintSurface& page) {
            drawing::DrawCardSheet(page.painter, card, layout, picture);
        }};
    Services().Print(this, request);
}

void CCardDialog::SaveCardPicture() {
    if (!record.HasPicture()) {
        Report(this, tr("This card has no picture."));
        return;
    }
    // Address books and picture viewers take JPEG and PNG; a BMP, Targa or PICT
    // picture leaves as a PNG of its pixels, never as its own bytes under a
    // name that says otherwise.
    const outgoing::Picture picture = outgoing::PictureOf(record);
    if (picture.mediaType.empty()) {
        Report(this, tr("The card's picture cannot be saved as PNG or JPEG."));
        return;
    }
    const bool png = picture.mediaType == "image/png";
    const std::string extension = png ? ".png" : ".jpg";
    const platform::FileRequest request{
        true,
        {png ? platform::FileFilter{tr("Portable Network Graphics (.png)").toStdString(), "*.png"}
             : platform::FileFilter{tr("JPEG Graphic Files (.jpg)").toStdString(), "*.jpg"}},
        extension,
        SuggestedName(record).toStdString() + extension,
        {}};
    const auto chosen = Services().ChooseFile(this, request);
    if (!chosen) return;
    QString error;
    if (!WriteWhole(*chosen, picture.bytes.data(), picture.bytes.size(), error)) {
        Report(this, tr("The picture could not be written to %1: %2").arg(PathText(*chosen), error));
    }
}

void CCardDialog::ShowQrCode() {
    qr::CardCode card;
    std::string error;
    if (!qr::EncodeCard(record, card, error)) {
        Report(this, tr("No QR code can hold this card: %1").arg(QString::fromStdString(error)));
        return;
    }
    const int module = std::max(2, 330 / (card.code.width + 2 * qr::kQuietZone));
    const int side = (card.code.width + 2 * qr::kQuietZone) * module;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < card.code.width; ++y) {
        for (int x = 0; x < card.code.width; ++x) {
            if (card.code.Dark(x, y)) {
                painter.fillRect((x + qr::kQuietZone) * module, (y + qr::kQuietZone) * module, module, module,
                                 Qt::black);
            }
        }
    }
    painter.end();

    QDialog dialog(this);
    dialog.setWindowTitle(tr("QR Code"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap::fromImage(image));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    QString caption = tr("Scan this code with a phone to add the card to its contacts.");
    auto* text = new QLabel(caption);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}
