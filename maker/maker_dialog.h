// The maker's form of the card window: four pages to type a card on, and the
// commands that make, open, save and change it.
#pragma once

#include "maker/maker_about.h"
#include "window/card_dialog.h"

namespace ovlet::maker {

class CMakerDialog : public window::CCardDialog {
public:
    CMakerDialog();

    void New();
    void Open();
    // False when nothing was written (cancelled, a field over its limit, a failure).
    bool Save();
    void SaveAs();
    // Asks whether to save, then ends the window; also the close request.
    void Exit();
    void ImportPicture();
    void RemovePicture();
    void Help();
    // Open without its dialog: the save question, then the card at `path`.
    void OpenCard(const std::string& path);
    // Ctrl+V on the Image page: a picture on the clipboard is imported as a
    // JPEG (a PNG when it has transparent pixels); a file copied there is
    // taken as if it had been dropped.
    void PastePicture();

protected:
    // A stray Enter or Escape must not end the work: the exit question then
    // also offers Cancel (Escape), which goes back to the card.
    void ExitByKey() override;
    bool TakesDropped(const std::string& path) const override;
    void OpenDropped(const std::string& path) override;
    // A card named on the command line that does not exist yet keeps its name:
    // Save creates it there.
    void ReadNamedCard() override;

private:
    // Import's steps after its dialog: the file is read, checked, decoded and
    // stored; false, with the message shown, when it is not.
    bool ImportPictureFile(const std::string& path);
    bool ImportPictureBytes(const std::string& name, std::vector<std::uint8_t> bytes);
    // New's steps: ask to save, then clear the card. False when the user asked
    // to save and the save did not happen: the card then stays as it is.
    bool StartNewCard();
    static std::string Tr(const char* text);
};

}  // namespace ovlet::maker
