// The card window of both programs: the card's fields on tab pages, the
// toolbar, the current file, and the summary block the viewer shows. Each
// program's window is a form of it (CardForm) with the commands that program
// installs; the window itself only has About, Exit and the summary's links.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "card/card_file.h"
#include "card/card_record.h"
#include "card/card_summary.h"
#include "platform/desktop.h"
#include "platform/qt/template_dialog.h"
#include "resources/control_ids.h"
#include "window/card_form.h"

class CHoverButton;
class CLinkButton;
class CPictureStatic;
class QMenu;

namespace platform {
class TabControl;
}

// A card file, by its name.
bool IsCardFile(const QString& path);

// The caption of every message box the card window shows.
inline constexpr const char* kMessageCaption = "Ovlet Maker";

class CCardDialog : public platform::TemplateDialog, public CardWindowSide {
    Q_OBJECT
public:
    explicit CCardDialog(const CardForm& form, QWidget* parent = nullptr);
    ~CCardDialog() override;

    CardRecord& Record() { return record; }
    const CardForm& Form() const { return form; }

    // The two directions of exchange between the record and the controls.
    void ShowInWindow();
    bool TakeFromWindow();

    // Reads a card file into the window, reporting failures in message boxes.
    // After a read that could not finish the window holds no path, so the
    // damaged file is written again only if the user picks it again.
    CardReadOutcome ReadCardFile(const std::string& path);

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

    // The tab control's page (the host's calls by id stay visible beside these).
    using TemplateDialog::SelectedTab;
    using TemplateDialog::SelectTab;
    int SelectedTab() const;
    void SelectTab(int index);
    CPictureStatic* PicturePanel() const;
    CHoverButton* HoverButton(int id) const;
    CLinkButton* LinkButton(int id) const;
    // The window's menu: the About entry (and the card's extra commands).
    QMenu* WindowMenu();

    // What the card file needs of the window.
    std::string GetEditText(std::string CardRecord::*field) override;
    void SetEditText(std::string CardRecord::*field, const std::string& text) override;
    bool SetPictureData(const std::uint8_t* bytes, std::size_t size, int& width, int& height,
                        std::string& error) override;
    // A message box of the card window (its caption kMessageCaption), through the desktop's services.
    platform::MessageAnswer Tell(const QString& text, platform::MessageIcon icon,
                                 platform::MessageButtons buttons = platform::MessageButtons::Ok);
    // A note of a card read as a message box, in the user's language.
    void ShowCardNote(const CardNote& note);

protected:
    using Command = std::function<void()>;
    // Makes `command` the handler of the button, link or menu command `id` in
    // this window, in place of the one installed before.
    void InstallCommand(int id, Command command);

    QWidget* CreateControl(const platform::ControlTemplate& control) override;
    void OnInitDialog() override;
    // Reads the card the start-up named (CurrentPath), once the window stands.
    virtual void ReadNamedCard();
    void OnCommand(int id) override;
    void OnOK() override;
    void OnCancel() override;
    // Enter and Escape where no control takes them: they leave the window as
    // Exit does; a form with something to lose may offer to stay.
    virtual void ExitByKey();
    bool OnClose() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

    // Files dropped anywhere on the window, its fields included: whether the
    // form takes the file, and what it does with it (after the drop has
    // ended). Both forms open a card (.ovt); this window shows it at once.
    virtual bool TakesDroppedFile(const QString& path) const;
    virtual void OpenDroppedFile(const QString& path);
    bool FileOffered(const std::string& path) override;
    void FileDropped(const std::string& path) override;
    // A paste a field refused: which characters a card cannot hold.
    void OnTextRefused(int id, const std::string& characters) override;
    // Shows a new, empty card: no picture, no fields, no file.
    void ClearWindow();
    // Adds entries of the form to the window menu after the About entry.
    virtual void AddMenuEntries(QMenu* windowMenu);

    platform::TabControl* Tabs() const;
    // What the window shows for a state or display string of the record.
    QString Shown(std::string CardRecord::*member) const;

    CardRecord record;

private:
    // Hands a link to the desktop, or says why it is not handed over.
    void HandOver(const LinkHandOver& handOver);
    void PageSwitch();
    // The controls of the page shown that the Tab key visits, as they stand now.
    std::vector<QWidget*> TabStopsOfPage() const;
    // Whether this form hides the control `id` on every page.
    bool NeverShown(int id) const;
    // Tool tips for the texts shown shortened, and the address block's name.
    void ShowCutTexts();
    // Takes what the user typed, where the form lets the user type.
    bool TakeEdits();

    const CardForm& form;
    // The picture library's last refusal (code, text), for the message that reports it.
    std::pair<int, std::string> decoderError{0, {}};
    std::map<int, Command> commands;
    QMenu* menu = nullptr;
};
