// The card window of both programs, played as a user plays it: written once,
// run on the scripted face, on the Qt face and on the Win32 face. What the
// user sees and what reaches the desktop (messages, file dialogs, links) is
// checked, and what reaches the disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "card/card_file.h"
#include "face_driver.h"
#include "files/input_file.h"
#include "files/output_file.h"
#include "maker/maker_dialog.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_dialog.h"

namespace resources = ovlet::resources;
using ovlet::card::CardReadOutcome;
using ovlet::card::CardRecord;
using ovlet::card::ReadCardFile;
using ovlet::card::RecordOnlySide;

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

constexpr const char* kSaveBeforeExit = "Do you wish to save your changes before you exit?";
constexpr const char* kSaveBeforeNew = "Do you wish to save your changes to the current document?";
const std::string kSample = OVLET_SOURCE_DIR "/samples/sample.ovt";

std::string Scratch(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ovlet-card-scenarios";
    std::filesystem::create_directories(dir);
    const std::u8string path = (dir / name).u8string();
    return {path.begin(), path.end()};
}

// A file's bytes; empty when it cannot be read.
std::string Bytes(const std::string& path) {
    ovlet::files::Result<std::string> read = ovlet::files::ReadWholeText(path, {});
    return read ? std::move(read).Value() : std::string();
}

void Write(const std::string& path, const std::string& bytes) {
    ovlet::files::OutputFile file;
    ASSERT_TRUE(file.Open(path) && file.Write(bytes.data(), bytes.size()) && file.Commit()) << path;
}

template <class Window>
class CardScenario : public ::testing::Test {
protected:
    // A new window on a new face, showing the card at `path` (none: a new card).
    void Start(const std::string& path = {}) {
        face.reset();
        window = std::make_unique<Window>();
        window->Record().CurrentPath = path;
        face = MakeFaceDriver();
        face->Open(resources::CardDialogTemplate(), *window);
    }
    void SetUp() override { Start(); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& call : face->Desktop().Of("message")) texts.push_back(call.text);
        return texts;
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<FaceDriver> face;
};

using MakerScenario = CardScenario<CMakerDialog>;
using ViewerScenario = CardScenario<CViewerDialog>;

TEST_F(MakerScenario, TypedCardIsSavedWhereTheSaveDialogSaysAndReadsBack) {
    SCOPED_TRACE(face->Name());
    const std::string path = Scratch(std::string(face->Name()) + "-typed.ovt");
    std::remove(path.c_str());
    face->ChooseTab(kIdTabs, 1);
    face->Type(kIdCompany, "Nordlys Bakery");
    face->Type(kIdCity, "Troms\xC3\xB8");
    face->Desktop().fileAnswers = {path};
    face->PressKeys("Ctrl+S");
    ASSERT_EQ(face->Desktop().Of("file").size(), 1u);
    EXPECT_TRUE(face->Desktop().Of("file")[0].file.save);
    EXPECT_EQ(face->Desktop().Of("file")[0].file.defaultExtension, ".ovt");
    EXPECT_TRUE(Messages().empty());
    CardRecord read;
    RecordOnlySide side(read);
    ASSERT_EQ(ReadCardFile(path, read, side).outcome, CardReadOutcome::Read);
    EXPECT_EQ(read.Company, "Nordlys Bakery");
    EXPECT_EQ(read.City, "Troms\xF8");  // the card's own code page
    EXPECT_EQ(face->Host().Text(kIdCurrentFile), path);
}

TEST_F(MakerScenario, EveryWayOutAsksToSaveFirst) {
    struct Way {
        const char* name;
        void (*leave)(FaceDriver&);
        MessageButtons buttons;
    };
    const Way ways[] = {
        {"Exit button", [](FaceDriver& f) { f.Click(kIdExit); }, MessageButtons::YesNo},
        {"Ctrl+Q", [](FaceDriver& f) { f.PressKeys("Ctrl+Q"); }, MessageButtons::YesNo},
        {"close box", [](FaceDriver& f) { f.CloseBox(); }, MessageButtons::YesNo},
        {"Escape", [](FaceDriver& f) { f.PressEscape(); }, MessageButtons::YesNoCancel},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(std::string(face->Name()) + ": " + way.name);
        Start();
        // Yes, then the Save dialog cancelled: the window stays.
        face->Desktop().messageAnswers = {MessageAnswer::Yes};
        way.leave(*face);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], kSaveBeforeExit);
        EXPECT_EQ(face->Desktop().Of("message")[0].buttons, way.buttons);
        EXPECT_FALSE(face->Ended());
        // No: the window ends, nothing written.
        face->Desktop().messageAnswers = {MessageAnswer::No};
        way.leave(*face);
        EXPECT_TRUE(face->Ended());
        EXPECT_EQ(face->Desktop().Of("file").size(), 1u);
    }
}

TEST_F(MakerScenario, NewAsksToSaveAndAFailedSaveKeepsTheCard) {
    SCOPED_TRACE(face->Name());
    face->ChooseTab(kIdTabs, 1);
    face->Type(kIdCompany, "Kept");
    // Yes, and the Save dialog cancelled: the card stays as typed.
    face->Desktop().messageAnswers = {MessageAnswer::Yes};
    face->Click(kIdNew);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages()[0], kSaveBeforeNew);
    EXPECT_EQ(face->Host().Text(kIdCompany), "Kept");
    // No: a new, empty card.
    face->Desktop().messageAnswers = {MessageAnswer::No};
    face->Click(kIdNew);
    EXPECT_EQ(face->Host().Text(kIdCompany), "");
    EXPECT_EQ(face->Host().Text(kIdCurrentFile), "Untitled");
}

TEST_F(MakerScenario, AFieldOverItsLimitIsShownAndNothingIsWritten) {
    SCOPED_TRACE(face->Name());
    const std::string path = Scratch(std::string(face->Name()) + "-limit.ovt");
    std::remove(path.c_str());
    face->ChooseTab(kIdTabs, 2);
    // The program may set a text its box would not let the user type.
    face->Host().SetText(kIdFirstName, std::string(21, 'x'));
    face->ChooseTab(kIdTabs, 0);
    face->Desktop().fileAnswers = {path};
    face->Click(kIdSave);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Please enter no more than 20 characters.");
    EXPECT_TRUE(face->Desktop().Of("file").empty());
    EXPECT_EQ(face->Host().SelectedTab(kIdTabs), 2);
    EXPECT_EQ(face->Host().Focused(), kIdFirstName);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(MakerScenario, ADamagedCardIsReportedAndNotWrittenOver) {
    SCOPED_TRACE(face->Name());
    const std::string path = Scratch(std::string(face->Name()) + "-short.ovt");
    std::string bytes = Bytes(kSample);
    ASSERT_GT(bytes.size(), 100u);
    bytes.resize(bytes.size() - 100);  // the file ends inside its picture
    Write(path, bytes);
    Start(path);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("damaged"), std::string::npos);
    // Save asks where: the damaged file is not this window's.
    face->Desktop().fileAnswers = {std::nullopt};
    face->Click(kIdSave);
    EXPECT_EQ(face->Desktop().Of("file").size(), 1u);
    EXPECT_EQ(Bytes(path), bytes);
}

TEST_F(MakerScenario, PagesTurnByKeysAndTabWalksThePageShown) {
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Host().SelectedTab(kIdTabs), 0);
    face->PressKeys("Ctrl+Tab");
    EXPECT_EQ(face->Host().SelectedTab(kIdTabs), 1);
    EXPECT_TRUE(face->IsVisible(kIdCompany));
    EXPECT_FALSE(face->IsVisible(kIdPicture));
    face->Host().Focus(kIdCompany);
    face->PressTab(false);
    EXPECT_EQ(face->Host().Focused(), kIdStreetAddress);
    face->PressTab(true);
    face->PressTab(true);
    EXPECT_EQ(face->Host().Focused(), kIdWebSite);  // backwards from the first field: the last
    face->PressKeys("Ctrl+Shift+Tab");
    face->PressKeys("Ctrl+Shift+Tab");
    EXPECT_EQ(face->Host().SelectedTab(kIdTabs), 3);
    EXPECT_TRUE(face->IsVisible(kIdGeneralInformation));
    EXPECT_FALSE(face->IsVisible(kIdCompany));
}

TEST_F(ViewerScenario, ShowsTheCardsSummaryAndHandsItsLinksOver) {
    Start(kSample);
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Caption(), "Norvane Ovlet Viewer");
    EXPECT_TRUE(Messages().empty());
    face->ChooseTab(kIdTabs, 1);
    EXPECT_TRUE(face->IsVisible(kIdWebSiteLine));
    EXPECT_FALSE(face->IsVisible(kIdCompany));
    EXPECT_FALSE(face->IsVisible(kIdNew));
    face->Click(kIdWebSiteLine);
    face->Click(kIdEMailLine);
    const auto urls = face->Desktop().Of("url");
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0].text, "https://harbourlight.example");
    EXPECT_EQ(urls[1].text.rfind("mailto:", 0), 0u);
    // Nothing to save: Exit ends the window at once.
    face->Click(kIdExit);
    EXPECT_TRUE(face->Ended());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ViewerScenario, WindowMenuHasAboutAndTheCardsCommands) {
    Start(kSample);
    SCOPED_TRACE(face->Name());
    std::vector<std::string> texts;
    for (const platform::MenuEntry& entry : face->OpenWindowMenu()) {
        if (entry.command != platform::kNoControl) texts.push_back(entry.text);
    }
    const std::vector<std::string> expected = {"&About Ovlet Maker", "Export as vCard\u2026", "Print\u2026",
                                               "Save card picture\u2026", "Show QR code"};
    EXPECT_EQ(texts, expected);
    const std::string path = Scratch(std::string(face->Name()) + "-card.vcf");
    face->Desktop().fileAnswers = {path};
    face->ChooseMenuEntry(kCommandExportVCard);
    EXPECT_EQ(Bytes(path).rfind("BEGIN:VCARD", 0), 0u);
}

TEST_F(ViewerScenario, ADroppedCardOpensAndAnyOtherFileIsRefused) {
    SCOPED_TRACE(face->Name());
    EXPECT_FALSE(face->DropFile(OVLET_SOURCE_DIR "/samples/sample.jpg"));
    EXPECT_TRUE(face->DropFile(kSample));
    EXPECT_EQ(window->Record().LastName, "Okafor");
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
