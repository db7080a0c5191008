// The maker's form of the card window: four pages to type a card on, and the
// commands that make, open, save and change it.
#pragma once

#include "window/card_dialog.h"

class CMakerDialog : public CCardDialog {
    Q_OBJECT
public:
    explicit CMakerDialog(QWidget* parent = nullptr);

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

protected:
    // A card named on the command line that does not exist yet keeps its name:
    // Save creates it there.
    void ReadNamedCard() override;

private:
    // New's steps: ask to save, then clear the card. False when the user asked
    // to save and the save did not happen: the card then stays as it is.
    bool StartNewCard();
};

// The maker's About dialog.
extern const AboutForm kMakerAbout;
