// The maker's card commands: New, Open, Save, Save As, Exit (also the close
// request) and Help.
#include "controls/picture_static.h"
#include "maker/maker_dialog.h"
#include "platform/face.h"
#include "platform/text_mark.h"
#include "window/card_messages.h"
#include "window/program_data.h"

namespace ovlet::maker {
namespace {

platform::FileRequest CardFileDialog(bool save) {
    return {save,
            {{platform::Translate("CMakerDialog", QT_TRANSLATE_NOOP("CMakerDialog", "Electronic Business Card (.ovt)")),
              "*.ovt"}},
            ".ovt",
            save ? platform::Translate("CMakerDialog", QT_TRANSLATE_NOOP("CMakerDialog", "Untitled")) : std::string(),
            {}};
}

bool AskToSave(CMakerDialog& owner, const std::string& question) {
    return owner.Tell(question, platform::MessageIcon::Question, platform::MessageButtons::YesNo) ==
           platform::MessageAnswer::Yes;
}

}  // namespace

std::string CMakerDialog::Tr(const char* text) {
    return platform::Translate("CMakerDialog", text);
}

bool CMakerDialog::Save() {
    // A field over its limit is reported and nothing is written.
    if (!TakeFromWindow()) return false;
    if (record.CurrentPath.empty()) {
        const auto chosen = platform::Services().ChooseFile(host, CardFileDialog(true));
        if (!chosen) return false;
        record.CurrentPath = *chosen;
        record.CurrentFileLabel = record.CurrentPath;
    }
    const card::Result<void> written = card::WriteCardFile(record.CurrentPath, record, *this);
    if (!written && written.Error().kind == card::CardError::Kind::CannotOpen) {
        Tell(Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Unable to save file with this name.  Please try a different name.")),
             platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        record.CurrentPath.clear();
        return false;
    }
    if (!written) {
        Tell(window::CardNoteMessage(written.Error().note), platform::MessageIcon::Exclamation,
             platform::MessageButtons::Ok);
        return false;
    }
    ShowInWindow();
    return true;
}

void CMakerDialog::SaveAs() {
    const std::string rememberedPath = record.CurrentPath;
    const std::string rememberedLabel = record.CurrentFileLabel;
    record.CurrentPath.clear();
    Save();
    if (record.CurrentPath.empty()) {
        // Cancelled or failed: the earlier file stays the save target.
        record.CurrentPath = rememberedPath;
        record.CurrentFileLabel = rememberedLabel;
    }
}

bool CMakerDialog::StartNewCard() {
    // A save the user asked for that did not happen keeps the card.
    if (AskToSave(*this,
                  Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Do you wish to save your changes to the current document?"))) &&
        !Save()) {
        return false;
    }
    ClearWindow();
    return true;
}

void CMakerDialog::New() {
    StartNewCard();
}

void CMakerDialog::Open() {
    TakeFromWindow();
    if (!StartNewCard()) return;
    const auto chosen = platform::Services().ChooseFile(host, CardFileDialog(false));
    if (!chosen) return;
    ReadCardFile(*chosen);
}

void CMakerDialog::OpenCard(const std::string& path) {
    TakeFromWindow();
    if (!StartNewCard()) return;
    ReadCardFile(path);
}

bool CMakerDialog::TakesDropped(const std::string&) const {
    // A card opens; any other file is a picture to import, with Import's checks.
    return true;
}

void CMakerDialog::OpenDropped(const std::string& path) {
    if (window::IsCardFile(path)) {
        OpenCard(path);
        return;
    }
    if (!TakeFromWindow()) return;
    ImportPictureFile(path);
}

void CMakerDialog::Exit() {
    if (AskToSave(*this, Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Do you wish to save your changes before you exit?"))) &&
        !Save()) {
        return;
    }
    host->End(resources::kIdCancel);
}

void CMakerDialog::ExitByKey() {
    const platform::MessageAnswer answer =
        Tell(Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Do you wish to save your changes before you exit?")),
             platform::MessageIcon::Question, platform::MessageButtons::YesNoCancel);
    if (answer == platform::MessageAnswer::Cancel || (answer == platform::MessageAnswer::Yes && !Save())) return;
    host->End(resources::kIdCancel);
}

void CMakerDialog::Help() {
    host->SetPointer(platform::PointerLook::Busy);
    const bool shown = platform::Services().ShowHelp(host, window::LocalizedDataFile("ovmake-help.html"));
    host->SetPointer(platform::PointerLook::Normal);
    if (!shown) {
        platform::Services().Message(host, "ovmake", Tr(QT_TRANSLATE_NOOP("CMakerDialog", "Failed to launch help.")),
                                     platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
    }
}

}  // namespace ovlet::maker
