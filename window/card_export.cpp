// The card for address books and phones: vCard export, the card's picture as
// a file, a QR code of the card, and the card printed.
#include <algorithm>
#include <memory>

#include "exchange/outgoing_picture.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "files/output_file.h"
#include "platform/face.h"
#include "platform/owner_drawn.h"
#include "platform/text_mark.h"
#include "resources/catalogue/catalogue.h"
#include "resources/dialog_templates.h"
#include "window/card_dialog.h"
#include "window/card_text.h"

namespace ovlet::window {

namespace qr = exchange::qr;
namespace vcard = exchange::vcard;

namespace {

void Report(platform::DialogHost* owner, const std::string& text) {
    platform::Services().Message(owner, kMessageCaption, text, platform::MessageIcon::Exclamation,
                                 platform::MessageButtons::Ok);
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The card's person (first and last name) or, without one, its company.
std::string PersonOrCompany(const card::CardRecord& card) {
    const std::string name =
        Trim(FromAnsi(card.FirstName + (card.FirstName.empty() || card.LastName.empty() ? "" : " ") + card.LastName));
    return name.empty() ? Trim(FromAnsi(card.Company)) : name;
}

// A file name from the card's person or company, for the Save dialog.
std::string SuggestedName(const card::CardRecord& card) {
    std::string name = PersonOrCompany(card);
    std::replace(name.begin(), name.end(), '/', '-');
    return name.empty() ? std::string("card") : name;
}

// Written through the programs' one writer: beside the target, then renamed
// over it, so a failure leaves an existing file as it was.
bool WriteWhole(const std::string& path, const void* data, std::size_t size, std::string& reason) {
    files::OutputFile file;
    if (file.Open(path) && file.Write(data, size) && file.Commit()) return true;
    reason = file.Reason();
    return false;
}

std::string Fill(const char* text, const std::vector<std::string>& arguments) {
    return catalogue::FillPlaceholders(platform::Translate("CCardDialog", text), arguments);
}

// The QR code, drawn module by module as large as its place allows, on white.
class QrPicture : public platform::OwnerDrawnControl {
public:
    explicit QrPicture(const qr::CardCode& card) : code(card.code) {}

    void Attach(platform::ControlHost* controlHost) override {
        OwnerDrawnControl::Attach(controlHost);
        host->SetAccessibleRole(platform::AccessibleRole::Graphic);
        host->SetAccessibleName(host->Translate("CCardDialog", QT_TRANSLATE_NOOP("CCardDialog", "QR Code")));
    }

    void Paint(platform::Canvas& canvas) override {
        const int width = host->Width();
        const int height = host->Height();
        const platform::Colour white{255, 255, 255};
        canvas.FillRect({0, 0, width, height}, host->System(platform::SystemColour::Window));
        const int modules = code.width + 2 * qr::kQuietZone;
        const int module = std::max(1, std::min(width, height) / std::max(modules, 1));
        const int side = modules * module;
        const int left = (width - side) / 2;
        const int top = (height - side) / 2;
        canvas.FillRect({left, top, side, side}, white);
        for (int y = 0; y < code.width; ++y) {
            for (int x = 0; x < code.width; ++x) {
                if (!code.Dark(x, y)) continue;
                canvas.FillRect(
                    {left + (x + qr::kQuietZone) * module, top + (y + qr::kQuietZone) * module, module, module},
                    {0, 0, 0});
            }
        }
    }

private:
    qr::Code code;
};

class QrCodeWindow : public platform::DialogHandler {
public:
    explicit QrCodeWindow(const qr::CardCode& code) : card(code) {}
    std::unique_ptr<platform::OwnerDrawnControl> MakeOwnerDrawn(int id) override {
        if (id != resources::kIdQrPicture) return nullptr;
        return std::make_unique<QrPicture>(card);
    }

private:
    const qr::CardCode& card;
};

}  // namespace

void CCardDialog::ExportVCard() {
    // What is in the window is what goes out: the maker's typed text included.
    if (!TakeEdits()) return;
    record.StreetAddress = GetEditText(&card::CardRecord::StreetAddress);
    record.GeneralInformation = GetEditText(&card::CardRecord::GeneralInformation);
    const platform::FileRequest request{true,
                                        {{Tr(QT_TRANSLATE_NOOP("CCardDialog", "vCard (.vcf)")), "*.vcf"}},
                                        ".vcf",
                                        SuggestedName(record) + ".vcf",
                                        {}};
    const auto chosen = platform::Services().ChooseFile(host, request);
    if (!chosen) return;
    const std::string text = vcard::EncodeVCard(record);
    std::string error;
    if (!WriteWhole(*chosen, text.data(), text.size(), error)) {
        Report(host,
               Fill(QT_TRANSLATE_NOOP("CCardDialog", "The vCard could not be written to %1: %2"), {*chosen, error}));
    }
}

void CCardDialog::PrintCard() {
    if (!TakeEdits()) return;
    record.StreetAddress = GetEditText(&card::CardRecord::StreetAddress);
    record.GeneralInformation = GetEditText(&card::CardRecord::GeneralInformation);
    const CardSheetPainter& painter = CardSheetPainterInForce();
    if (!painter) {
        Report(host, Tr(QT_TRANSLATE_NOOP("CCardDialog", "Printing is not available in this version.")));
        return;
    }
    // A4, or US Letter where the user's locale measures in inches.
    const platform::Paper paper = platform::Services().UsersPaper();
    const card::CardRecord card = record;
    const std::string name = PersonOrCompany(card);
    platform::PrintRequest request{
        name.empty() ? Tr(QT_TRANSLATE_NOOP("CCardDialog", "Card")) : name, paper,
        [card, painter](platform::PrintSurface& page, platform::Paper printed) { painter(page, card, printed); }};
    platform::Services().Print(host, request);
}

void CCardDialog::SaveCardPicture() {
    if (!record.HasPicture()) {
        Report(host, Tr(QT_TRANSLATE_NOOP("CCardDialog", "This card has no picture.")));
        return;
    }
    // Address books and picture viewers take JPEG and PNG; a BMP, Targa or PICT
    // picture leaves as a PNG of its pixels, never as its own bytes under a
    // name that says otherwise.
    const exchange::OutgoingPicture picture = exchange::OutgoingPictureOf(record);
    if (picture.mediaType.empty()) {
        Report(host, Tr(QT_TRANSLATE_NOOP("CCardDialog", "The card's picture cannot be saved as PNG or JPEG.")));
        return;
    }
    const bool png = picture.mediaType == "image/png";
    const std::string extension = png ? ".png" : ".jpg";
    const platform::FileRequest request{
        true,
        {png ? platform::FileFilter{Tr(QT_TRANSLATE_NOOP("CCardDialog", "Portable Network Graphics (.png)")), "*.png"}
             : platform::FileFilter{Tr(QT_TRANSLATE_NOOP("CCardDialog", "JPEG Graphic Files (.jpg)")), "*.jpg"}},
        extension,
        SuggestedName(record) + extension,
        {}};
    const auto chosen = platform::Services().ChooseFile(host, request);
    if (!chosen) return;
    std::string error;
    if (!WriteWhole(*chosen, picture.bytes.data(), picture.bytes.size(), error)) {
        Report(host,
               Fill(QT_TRANSLATE_NOOP("CCardDialog", "The picture could not be written to %1: %2"), {*chosen, error}));
    }
}

void CCardDialog::ShowQrCode() {
    const auto card = qr::EncodeCard(record);
    if (!card) {
        Report(host,
               Fill(QT_TRANSLATE_NOOP("CCardDialog", "No QR code can hold this card: %1"), {card.Error().Describe()}));
        return;
    }
    QrCodeWindow window(card.Value());
    platform::RunDialog(resources::QrCodeDialogTemplate(), window, host);
}

}  // namespace ovlet::window
