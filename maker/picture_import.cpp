// Importing a picture into the card (chosen, dropped or pasted) and removing it.
#include "controls/picture_static.h"
#include "files/input_file.h"
#include "maker/maker_dialog.h"
#include "platform/face.h"
#include "platform/text_mark.h"
#include "resources/catalogue/catalogue.h"
#include "window/card_messages.h"
#include "window/card_text.h"

namespace ovlet::maker {
namespace {

// Pictures above this size draw the advice to keep cards small for e-mail.
constexpr std::size_t kPictureAdviceBytes = 35000;

const char* const kPictureAdvice = QT_TRANSLATE_NOOP(
    "CMakerDialog",
    "Ovlet Maker will import the selected image.  Please note that the image exceeds the maximum 30KB "
    "recomendation. This may cause noticeable download times for internet E-Mail users that receive your "
    "Ovlet.  You may want to consider resizing your image or reducing the number of colors used by your image.");

}  // namespace

void CMakerDialog::ImportPicture() {
    // A field over its limit is reported and the command stops, so no typing is lost.
    if (!TakeFromWindow()) return;
    const platform::FileRequest request{
        false,
        {{Tr(QT_TRANSLATE_NOOP("CMakerDialog", "JPEG Graphic Files (.jpg)")), "*.jpg"},
         {Tr(QT_TRANSLATE_NOOP("CMakerDialog", " Portable Network Graphics (.png)")), "*.png"}},
        ".jpg",
        {},
        {}};
    const auto chosen = platform::Services().ChooseFile(host, request);
    if (!chosen) return;
    ImportPictureFile(*chosen);
}

bool CMakerDialog::ImportPictureFile(const std::string& path) {
    // The card's picture stays until a new one has been read and decoded.
    // Read through the programs' one reader: only a regular file (a pipe or a
    // device could block or never end), and no more than a card can hold.
    files::ReadOptions options;
    options.maxBytes = files::kMaxPictureBytes;
    files::Result<std::vector<std::uint8_t>> bytes = files::ReadWholeFile(path, options);
    if (!bytes) {
        Tell(Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Error opening graphic file.")), platform::MessageIcon::Exclamation,
             platform::MessageButtons::Ok);
        return false;
    }
    return ImportPictureBytes(path, std::move(bytes).Value());
}

bool CMakerDialog::ImportPictureBytes(const std::string& name, std::vector<std::uint8_t> bytes) {
    // Decoded first: the advice about its size is for a picture that will be
    // imported, never for one that is then refused.
    controls::CPictureStatic* panel = PicturePanel();
    if (!panel) return false;
    const picture::Result<std::pair<int, int>> size =
        panel->SetPictureData(name, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    if (!size) {
        Tell(catalogue::FillPlaceholders(Tr(QT_TRANSLATE_NOOP("CMakerDialog", "The picture cannot be imported.\n\n%1")),
                                         {window::DecoderMessageText(size.Error().code, size.Error().text)}),
             platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    if (bytes.size() > kPictureAdviceBytes) {
        Tell(Tr(kPictureAdvice), platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
    }
    record.SetPicture(std::move(bytes));
    record.ImageSizeText = card::PictureSizeText(size->first, size->second);
    ShowInWindow();
    return true;
}

void CMakerDialog::PastePicture() {
    // The fields take their own pastes; the Image page has none to take it.
    if (!host->IsShown(resources::kIdPicture)) return;
    std::optional<platform::ClipboardPicture> pasted = platform::Services().PictureOnClipboard();
    if (!pasted) {
        platform::Services().Beep();
        return;
    }
    // A file copied there is taken as if it had been dropped.
    if (!pasted->file.empty()) {
        OpenDropped(pasted->file);
        return;
    }
    if (pasted->unreadable) {
        // The clipboard says it holds a picture but gives none that can be used.
        Tell(Tr(QT_TRANSLATE_NOOP("CMakerDialog",
                                  "The picture on the clipboard cannot be read, so it cannot be pasted. It may be "
                                  "too large to pass through the clipboard: save it as a file and use Import.")),
             platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return;
    }
    if (!TakeFromWindow()) return;
    ImportPictureBytes(pasted->name, std::move(pasted->bytes));
}

void CMakerDialog::RemovePicture() {
    if (!TakeFromWindow()) return;
    record.ReleasePicture();
    if (controls::CPictureStatic* panel = PicturePanel()) panel->ClearPicture();
    record.ImageSizeText = "N/A";
    ShowInWindow();
}

}  // namespace ovlet::maker
