// The card window of both programs: the card's fields on tab pages, the
// toolbar, the current file, and the summary block the viewer shows. Each
// program's window is a form of it (CardForm) with the commands that program
// installs; the window itself only has About, Exit and the summary's links.
// It speaks only to the platform: a face builds it from its template.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "card/card_record.h"
#include "card/card_summary.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "resources/control_ids.h"
#include "window/card_form.h"

namespace ovlet::controls {
class CHoverButton;
class CLinkButton;
class CPictureStatic;
}  // namespace ovlet::controls

namespace ovlet::window {

// A card file, by its name.
bool IsCardFile(const std::string& path);

// The caption of every message box the card window shows.
inline constexpr const char* kMessageCaption = "Ovlet Maker";

// How a printed sheet of cards is drawn on the page a face prints: the
// program gives it where the system can print (null: printing is not there).
using CardSheetPainter =
    std::function<void(platform::PrintSurface& page, const card::CardRecord& card, platform::Paper paper)>;
void SetCardSheetPainter(CardSheetPainter painter);
const CardSheetPainter& CardSheetPainterInForce();

class CCardDialog : public platform::DialogHandler, public card::CardWindowSide {
public:
    explicit CCardDialog(const CardForm& form);
    ~CCardDialog() override;
    CCardDialog(const CCardDialog&) = delete;
    CCardDialog& operator=(const CCardDialog&) = delete;

    // Runs the window over `owner` (null: the program's main window) until it ends.
    int DoModal(platform::DialogHost* owner = nullptr);

    card::CardRecord& Record() { return record; }
    const CardForm& Form() const { return form; }
    // The face's side of the window while it is open; null before and after.
    platform::DialogHost* Host() const { return host; }

    // The two directions of exchange between the record and the controls.
    void ShowInWindow();
    bool TakeFromWindow();

    // Reads a card file into the window, reporting failures in message boxes.
    // After a read that could not finish the window holds no path, so the
    // damaged file is written again only if the user picks it again. True
    // when the card was read whole.
    bool ReadCardFile(const std::string& path);

    // Commands of the summary block's links.
    void OpenWebSite();
    void SendEMail();

    void ShowAbout();

    // The card beyond the desktop: for address books and phones, and on paper
    // (ten cards on an A4 sheet, or on US Letter where the user's locale
    // measures in inches, as `ovlet print` draws them).
    void ExportVCard();
    void SaveCardPicture();
    void ShowQrCode();
    void PrintCard();

    // The tab control's page; turning it shows that page's controls.
    int SelectedTab() const;
    void SelectTab(int index);
    controls::CPictureStatic* PicturePanel() const;
    controls::CHoverButton* HoverButton(int id) const;
    controls::CLinkButton* LinkButton(int id) const;
    // The entries of the window's menu: About, then the card's commands.
    std::vector<platform::MenuEntry> MenuEntries() const;

    // What the card file needs of the window.
    std::string GetEditText(std::string card::CardRecord::*field) override;
    void SetEditText(std::string card::CardRecord::*field, const std::string& text) override;
    card::Result<std::pair<int, int>> SetPictureData(const std::uint8_t* bytes, std::size_t size) override;
    // A message box of the card window (its caption kMessageCaption), through the desktop's services.
    platform::MessageAnswer Tell(const std::string& text, platform::MessageIcon icon,
                                 platform::MessageButtons buttons = platform::MessageButtons::Ok);
    // A note of a card read as a message box, in the user's language.
    void ShowCardNote(const card::CardNote& note);

    // The face's calls.
    void OnInit(platform::DialogHost& dialog) override;
    void OnShown() override;
    void OnCommand(int id) override;
    void OnClose() override;
    void OnTabChanged(int id) override;
    void OnTextRefused(int id, const std::string& characters) override;
    bool TakesDroppedFile(const std::string& path) override;
    void OnFileDropped(const std::string& path) override;
    std::unique_ptr<platform::OwnerDrawnControl> MakeOwnerDrawn(int id) override;
    bool UsesControl(int id) const override;
    bool ShownAtStart(int id) const override;

protected:
    using Command = std::function<void()>;
    // Makes `command` the handler of the button, link or menu command `id` in
    // this window, in place of the one installed before.
    void InstallCommand(int id, Command command);
    // Keys that give the command `id` from anywhere in the window (set as the window opens).
    void InstallKeys(int id, const char* keys);

    // Reads the card the start-up named (CurrentPath), once the window stands.
    virtual void ReadNamedCard();
    // Enter and Escape where no control takes them: they leave the window as
    // Exit does; a form with something to lose may offer to stay.
    virtual void ExitByKey();
    // Whether the form takes a file dropped anywhere on the window, its fields
    // included, and what it does with it (after the drop has ended). Both
    // forms open a card (.ovt); this window shows it at once.
    virtual bool TakesDropped(const std::string& path) const;
    virtual void OpenDropped(const std::string& path);
    // The form's entries of the window menu after the About entry.
    virtual std::vector<platform::MenuEntry> FormMenuEntries() const;
    // Shows a new, empty card: no picture, no fields, no file.
    void ClearWindow();
    // Takes what the user typed, where the form lets the user type.
    bool TakeEdits();
    // The window's words in the user's language.
    static std::string Tr(const char* text);
    // What the window shows for a state or display string of the record.
    std::string Shown(std::string card::CardRecord::*member) const;

    card::CardRecord record;

private:
    // Hands a link to the desktop, or says why it is not handed over.
    void HandOver(const card::LinkHandOver& handOver);
    void PageSwitch();
    // Whether each page control is on screen with page `tab` shown.
    std::vector<std::pair<int, bool>> VisibilityOn(int tab) const;
    mutable std::vector<std::pair<int, bool>> startVisibility;  // VisibilityOn(0), once asked
    // Whether this form hides the control `id` on every page.
    bool NeverShown(int id) const;
    // Tool tips for the texts shown shortened, and the address block's name.
    void ShowCutTexts();

    const CardForm& form;
    // The picture library's last refusal (code, text), for the message that reports it.
    std::pair<int, std::string> decoderError{0, {}};
    std::map<int, Command> commands;
    std::vector<std::pair<int, std::string>> keys;
    // The owner-drawn controls the face made for this window, by id (the face owns them).
    std::map<int, platform::OwnerDrawnControl*> drawn;
};

}  // namespace ovlet::window
