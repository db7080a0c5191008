// Shared by the window tests: a scripted desktop installed for each test, and
// helpers to build a card window and cards on disk.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "card_on_qt.h"
#include "controls/picture_static.h"
#include "maker/maker_dialog.h"
#include "platform/qt/handler_dialog.h"
#include "platform/qt/owner_drawn_widget.h"
#include "platform/qt/scripted_ui.h"
#include "platform/qt/ui_services.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_dialog.h"

// Readable QStrings in failure messages. In the global namespace, QString's
// own, where the test framework looks for it.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ovlet::window {

// A picture panel in a widget of its own, as a window makes one.
struct HostedPanel {
    std::unique_ptr<platform::qt::OwnerDrawnPanel> widget;
    controls::CPictureStatic* panel = nullptr;
    controls::CPictureStatic* operator->() const { return panel; }
};
HostedPanel MakePanel(int width, int height);

// What a panel keeps of its picture, top line first (a copy); null without one.
QImage ShownImage(const controls::CPictureStatic& panel);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetUi(&ui); }
    void TearDown() override { platform::SetUi(nullptr); }

    // A card window, built and shown (not run modally).
    template <class Window = maker::CMakerDialog>
    std::unique_ptr<CardOnQt<Window>> Open(const std::string& cardPath = {}) {
        auto window = std::make_unique<CardOnQt<Window>>();
        window->Record().CurrentPath = cardPath;
        window->Create();
        window->show();
        // The first paint, then the picture the window makes after it.
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        return window;
    }

    // A card open in the viewer or in the maker.
    std::unique_ptr<CardWindowOnQt> OpenIn(bool viewer, const std::string& cardPath) {
        if (viewer) return Open<viewer::CViewerDialog>(cardPath);
        return Open(cardPath);
    }

    std::vector<QString> Messages() const {
        std::vector<QString> texts;
        for (const auto& call : ui.Of("message")) texts.push_back(call.text);
        return texts;
    }

    platform::ScriptedUi ui;
};

// A program's About dialog on the Qt face, built and initialised, not run.
struct AboutOnQt {
    explicit AboutOnQt(const AboutForm& form, QWidget* parent = nullptr)
        : handler(form), dialog(resources::AboutDialogTemplate(), handler, parent) {
        dialog.Create();
    }
    CAboutDialog handler;
    platform::HandlerDialog dialog;
};

// The seventeen single-line fields as the card's design lists them: in the
// order the window takes them back, with each one's typing limit and the
// maker's page that holds it (1 Company, 2 Contact).
struct LimitedField {
    int id;
    int limit;
    int tab;
};
inline constexpr LimitedField kLimitedFields[] = {
    {resources::kIdCity, 25, 1},
    {resources::kIdCompany, 50, 1},
    {resources::kIdWebSite, 80, 1},
    {resources::kIdCountry, 20, 1},
    {resources::kIdDepartment, 25, 2},
    {resources::kIdPhone1Description, 20, 2},
    {resources::kIdPhone2Description, 20, 2},
    {resources::kIdEMail, 35, 2},
    {resources::kIdFax, 20, 2},
    {resources::kIdFirstName, 20, 2},
    {resources::kIdLastName, 20, 2},
    {resources::kIdMiddleName, 15, 2},
    {resources::kIdPhone1Number, 20, 2},
    {resources::kIdPhone2Number, 20, 2},
    {resources::kIdPostalCode, 15, 1},
    {resources::kIdStateProvince, 15, 1},
    {resources::kIdJobTitle, 15, 2},
};

// "Please enter no more than N characters."
QString LimitMessage(int limit);

// A fresh folder for one test, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes a card with the given record (multi-line fields from the record).
void WriteCard(const std::string& path, card::CardRecord record);
// A card that holds only its company's name.
card::CardRecord CompanyCard(const std::string& company);
std::vector<std::uint8_t> FileBytes(const std::string& path);
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string SamplesDir();

// Runs one test of this program again in a child that has given up root for
// an unprivileged user (uid and gid 65534), so that the permission checks of
// the code it runs are in force; returns the child's exit status.
int RunAsUnprivilegedUser(const std::string& test);

// The controls of each page that take the keyboard, in Tab order: the
// maker's pages and the viewer's.
extern const std::vector<std::vector<int>> kMakerPages;
extern const std::vector<std::vector<int>> kViewerPages;

}  // namespace ovlet::window
