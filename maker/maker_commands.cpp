// The maker's card commands: New, Open, Save, Save As, Exit (also the close
// request) and Help.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "controls/picture_static.h"
#include "maker/maker_dialog.h"
#include "platform/qt/ui_services.h"
#include "window/card_messages.h"
#include "window/card_text.h"
#include "window/translations.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::Ui;

platform::FileDialogRequest CardFileDialog(bool save) {
    const QString cards = QCoreApplication::translate("CMakerDialog", "Electronic Business Card (.ovt)");
    return {save,
            {{cards, QStringLiteral("*.ovt")}},
            QStringLiteral(".ovt"),
            save ? QCoreApplication::translate("CMakerDialog", "Untitled") : QString(),
            QString()};
}

bool AskToSave(CMakerDialog& owner, const QString& question) {
    return owner.Tell(question, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace

bool CMakerDialog::Save() {
    // A field over its limit is reported and nothing is written.
    if (!TakeFromWindow()) return false;
    if (record.CurrentPath.empty()) {
        const auto chosen = Ui().FileDialog(this, CardFileDialog(true));
        if (!chosen) return false;
        record.CurrentPath = PathBytes(*chosen);
        record.CurrentFileLabel = record.CurrentPath;
    }
    const CardWriteResult result = WriteCardFile(record.CurrentPath, record, *this);
    if (result.outcome == CardWriteOutcome::CannotOpen) {
        Tell(tr("Unable to save file with this name.  Please try a different name."), MessageIcon::Exclamation,
             MessageButtons::Ok);
        record.CurrentPath.clear();
        return false;
    }
    if (result.outcome == CardWriteOutcome::WriteFailed) {
        Tell(CardNoteMessage(result.note), MessageIcon::Exclamation, MessageButtons::Ok);
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
    if (AskToSave(*this, tr("Do you wish to save your changes to the current document?")) && !Save()) {
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
    const auto chosen = Ui().FileDialog(this, CardFileDialog(false));
    if (!chosen) return;
    ReadCardFile(PathBytes(*chosen));
}

void CMakerDialog::OpenCard(const QString& path) {
    TakeFromWindow();
    if (!StartNewCard()) return;
    ReadCardFile(PathBytes(path));
}

bool CMakerDialog::TakesDroppedFile(const QString&) const {
    // A card opens; any other file is a picture to import, with Import's checks.
    return true;
}

void CMakerDialog::OpenDroppedFile(const QString& path) {
    if (IsCardFile(path)) {
        OpenCard(path);
        return;
    }
    if (!TakeFromWindow()) return;
    ImportPictureFile(path);
}

void CMakerDialog::Exit() {
    if (AskToSave(*this, tr("Do you wish to save your changes before you exit?")) && !Save()) return;
    done(QDialog::Rejected);
}

void CMakerDialog::ExitByKey() {
    const MessageAnswer answer = Tell(tr("Do you wish to save your changes before you exit?"), MessageIcon::Question,
                                      MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel || (answer == MessageAnswer::Yes && !Save())) return;
    done(QDialog::Rejected);
}

void CMakerDialog::Help() {
    SetPointer(platform::PointerLook::Busy);
    const bool shown = Ui().ShowHelp(this, LocalizedDataFile(QStringLiteral("ovmake-help.html")));
    SetPointer(platform::PointerLook::Normal);
    if (!shown) {
        Ui().MessageBox(this, QFileInfo(QApplication::applicationFilePath()).completeBaseName(),
                        tr("Failed to launch help."), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}
