// The maker's card commands: New, Open, Save, Save As, Exit, the close request, Help.
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include "controls/picture_static.h"
#include "platform/ui_services.h"
#include "window/card_dialog.h"
#include "window/maker_commands.h"
#include "window/maker_data.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::Ui;

const platform::FileDialogRequest& CardFileDialog(bool save) {
    static platform::FileDialogRequest open{false, {{"Electronic Business Card (.ovt)", "*.ovt"}}, ".ovt", "", ""};
    static platform::FileDialogRequest saveAs{
        true, {{"Electronic Business Card (.ovt)", "*.ovt"}}, ".ovt", "Untitled", ""};
    return save ? saveAs : open;
}

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool AskToSave(QWidget* owner, const char* question) {
    return Ui().MessageBox(owner, kMessageCaption, QString::fromUtf8(question), MessageIcon::Question,
                           MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace

bool CCardDialog::Save() {
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
        Ui().MessageBox(this, kMessageCaption,
                        QStringLiteral("Unable to save file with this name.  Please try a different name."),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        record.CurrentPath.clear();
        return false;
    }
    if (result.outcome == CardWriteOutcome::WriteFailed) {
        Ui().MessageBox(this, kMessageCaption, QFile::decodeName(QByteArray::fromStdString(result.error)),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    ShowInWindow();
    return true;
}

void CCardDialog::SaveAs() {
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

bool StartNewCard(CCardDialog& dialog) {
    // A save the user asked for that did not happen keeps the card.
    if (AskToSave(&dialog, "Do you wish to save your changes to the current document?") && !dialog.Save()) {
        return false;
    }
    dialog.PicturePanel()->SetPictureFile(std::string());
    dialog.Record().ClearCard();
    dialog.SetEditText(kStreetAddressControl, std::string());
    dialog.SetEditText(kGeneralInformationControl, std::string());
    dialog.ShowInWindow();
    return true;
}

void CCardDialog::New() {
    StartNewCard(*this);
}

void CCardDialog::Open() {
    TakeFromWindow();
    if (!StartNewCard(*this)) return;
    const auto chosen = Ui().FileDialog(this, CardFileDialog(false));
    if (!chosen) return;
    ReadCardFile(PathBytes(*chosen));
}

void CCardDialog::Exit() {
    if (AskToSave(this, "Do you wish to save your changes before you exit?") && !Save()) return;
    done(QDialog::Rejected);
}

void CCardDialog::CloseRequest() {
    Exit();
}

void CCardDialog::Help() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool shown = Ui().ShowHelp(this, MakerDataFile(QStringLiteral("ovmake-help.html")));
    QApplication::restoreOverrideCursor();
    if (!shown) {
        Ui().MessageBox(this, QFileInfo(QApplication::applicationFilePath()).completeBaseName(),
                        QStringLiteral("Failed to launch help."), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void EnableMakerCommands() {
    CCardDialog::InstallCommand(kIdNew, [](CCardDialog& d) { d.New(); });
    CCardDialog::InstallCommand(kIdOpen, [](CCardDialog& d) { d.Open(); });
    CCardDialog::InstallCommand(kIdSave, [](CCardDialog& d) { d.Save(); });
    CCardDialog::InstallCommand(kIdSaveAs, [](CCardDialog& d) { d.SaveAs(); });
    CCardDialog::InstallCommand(kIdExit, [](CCardDialog& d) { d.Exit(); });
    CCardDialog::InstallCommand(kIdCloseRequest, [](CCardDialog& d) { d.CloseRequest(); });
    CCardDialog::InstallCommand(kIdImport, [](CCardDialog& d) { d.ImportPicture(); });
    CCardDialog::InstallCommand(kIdRemove, [](CCardDialog& d) { d.RemovePicture(); });
    CCardDialog::InstallCommand(kIdHelp, [](CCardDialog& d) { d.Help(); });
}
