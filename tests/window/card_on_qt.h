// A card window on the Qt face for the window tests: the window's handler
// (Card()) and the dialog the face built for it, initialised and shown
// without running modally, so that a test can work the controls by id and
// call the window's commands in between.
#pragma once

#include <memory>
#include <string>

#include <QMenu>

#include "maker/maker_dialog.h"
#include "platform/qt/handler_dialog.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_dialog.h"

namespace ovlet::window {

// Either form of the card window on the face.
class CardWindowOnQt : public platform::HandlerDialog {
public:
    explicit CardWindowOnQt(CCardDialog& card, QWidget* parent = nullptr)
        : HandlerDialog(resources::CardDialogTemplate(), card, parent), window(card) {}

    CCardDialog& Card() const { return window; }

    // The window's own calls, as a test makes them.
    card::CardRecord& Record() const { return window.Record(); }
    const CardForm& Form() const { return window.Form(); }
    void ShowInWindow() const { window.ShowInWindow(); }
    bool TakeFromWindow() const { return window.TakeFromWindow(); }
    bool ReadCardFile(const std::string& path) const { return window.ReadCardFile(path); }
    void OpenWebSite() const { window.OpenWebSite(); }
    void SendEMail() const { window.SendEMail(); }
    void ExportVCard() const { window.ExportVCard(); }
    void SaveCardPicture() const { window.SaveCardPicture(); }
    void ShowQrCode() const { window.ShowQrCode(); }
    void PrintCard() const { window.PrintCard(); }
    using TemplateDialog::SelectedTab;
    using TemplateDialog::SelectTab;
    int SelectedTab() const { return window.SelectedTab(); }
    void SelectTab(int index) const { window.SelectTab(index); }
    controls::CPictureStatic* PicturePanel() const { return window.PicturePanel(); }
    controls::CHoverButton* HoverButton(int id) const { return window.HoverButton(id); }
    controls::CLinkButton* LinkButton(int id) const { return window.LinkButton(id); }
    std::vector<platform::MenuEntry> MenuEntries() const { return window.MenuEntries(); }
    std::string GetEditText(std::string card::CardRecord::*field) const { return window.GetEditText(field); }
    void SetEditText(std::string card::CardRecord::*field, const std::string& text) const {
        window.SetEditText(field, text);
    }
    // The window's menu as it is open now, or as it opens at the window's corner.
    QMenu* WindowMenu() {
        QMenu* open = PoppedMenu();
        if (open != nullptr && open->isVisible()) return open;
        PopUpWindowMenu(mapToGlobal(QPoint(0, 0)));
        return PoppedMenu();
    }

private:
    CCardDialog& window;
};

template <class Window>
struct CardHolder {
    std::unique_ptr<Window> held = std::make_unique<Window>();
};

// One form of the card window on the face, with that form's own commands.
template <class Window = maker::CMakerDialog>
class CardOnQt : private CardHolder<Window>, public CardWindowOnQt {
public:
    explicit CardOnQt(QWidget* parent = nullptr) : CardWindowOnQt(*this->held, parent) {}

    Window& Card() const { return *this->held; }

    // The maker's commands.
    void New() const { Card().New(); }
    void Open() const { Card().Open(); }
    bool Save() const { return Card().Save(); }
    void SaveAs() const { Card().SaveAs(); }
    void Exit() const { Card().Exit(); }
    void ImportPicture() const { Card().ImportPicture(); }
    void RemovePicture() const { Card().RemovePicture(); }
    void Help() const { Card().Help(); }
    void OpenCard(const std::string& path) const { Card().OpenCard(path); }
    void PastePicture() const { Card().PastePicture(); }
};

}  // namespace ovlet::window
