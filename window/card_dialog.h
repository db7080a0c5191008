// The card window of both programs: the card's fields on tab pages, the
// toolbar, the current file, and the summary block the viewer shows.
#pragma once

#include <map>
#include <string>

#include "card/card_file.h"
#include "card/card_record.h"
#include "platform/template_dialog.h"

class CHoverButton;
class CLinkButton;
class CPictureStatic;
class QMenu;

namespace platform {
class TabControl;
}

// Control ids of the card window.
enum CardControl : int {
    kIdNew = 1000,
    kIdOpen = 1001,
    kIdSave = 1002,
    kIdExit = 1003,
    kIdTabs = 1004,
    kIdAbout = 1005,
    kIdImport = 1006,
    kIdHelp = 1007,
    kIdPicture = 1046,
    kIdCurrentFile = 1049,
    kIdSaveAs = 1050,
    kIdImageSize = 1053,
    kIdRemove = 1055,
    kIdWebSiteLine = 1060,
    kIdEMailLine = 1066,
    kIdToolbarFrame = 1073,
    kIdViewerFrame = 1074,
    kIdCloseRequest = -2,  // the window's close request, not a control
};

inline constexpr const char* kMessageCaption = "Ovlet Maker";

class CCardDialog : public platform::TemplateDialog, public CardWindowSide {
    Q_OBJECT
public:
    explicit CCardDialog(QWidget* parent = nullptr);
    ~CCardDialog() override;

    CardRecord& Record() { return record; }

    // The two directions of exchange between the record and the controls.
    void ShowInWindow() override;
    bool TakeFromWindow();

    // Reads a card file into the window, reporting failures in message boxes.
    void ReadCardFile(const std::string& path);

    // Commands of the summary block's links.
    void OpenWebSite();
    void SendEMail();

    // The maker's commands (their code is linked only into the maker).
    void New();
    void Open();
    bool Save();
    void SaveAs();
    void Exit();
    void CloseRequest();
    void ImportPicture();
    void RemovePicture();
    void Help();

    void ShowAbout();

    // The card beyond the desktop: for address books and phones.
    void ExportVCard();
    void SaveCardPicture();
    void ShowQrCode();

    int SelectedTab() const;
    void SelectTab(int index);
    CPictureStatic* PicturePanel() const;
    CHoverButton* HoverButton(int id) const;
    CLinkButton* LinkButton(int id) const;
    // The window's menu: the About entry (and the card's extra commands).
    QMenu* WindowMenu();

    // What the card file needs of the window.
    std::string GetEditText(int controlId) override;
    void SetEditText(int controlId, const std::string& text) override;
    bool SetPictureFile(const std::string& name, int& width, int& height, std::string& error) override;
    void ShowMessage(CardMessageIcon icon, const std::string& text) override;

    using CommandHandler = void (*)(CCardDialog& dialog);
    // Installs the handler of a command; the maker installs its editing commands at start.
    static void InstallCommand(int id, CommandHandler handler);

protected:
    QWidget* CreateControl(const platform::ControlTemplate& control) override;
    void OnInitDialog() override;
    void OnCommand(int id) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnClose() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // The steps in which the two forms of the window differ.
    virtual bool IsViewer() const { return false; }
    virtual void InsertTabs();
    virtual void SetUpForm();
    virtual void PageSwitch();
    // Adds entries of the form to the window menu after the About entry.
    virtual void AddMenuEntries(QMenu* windowMenu);

    platform::TabControl* Tabs() const;

    CardRecord record;

private:
    static std::map<int, CommandHandler>& Commands();
    bool RunInstalled(int id);

    QMenu* menu = nullptr;
};
