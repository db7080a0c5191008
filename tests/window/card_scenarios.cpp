// The card window of both programs, played as a user plays it: written once,
// run on the scripted face, on the Qt face and on the Win32 face. What the
// user sees and what reaches the desktop (messages, file dialogs, links) is
// checked, and what reaches the disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "card/card_file.h"
#include "face_driver.h"
#include "files/input_file.h"
#include "files/output_file.h"
#include "maker/maker_dialog.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_dialog.h"

namespace ovlet::window {
namespace {

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
    files::Result<std::string> read = files::ReadWholeText(path, {});
    return read ? std::move(read).Value() : std::string();
}

void Write(const std::string& path, const std::string& bytes) {
    files::OutputFile file;
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

using MakerScenario = CardScenario<maker::CMakerDialog>;
using ViewerScenario = CardScenario<viewer::CViewerDialog>;

TEST_F(MakerScenario, TypedCardIsSavedWhereTheSaveDialogSaysAndReadsBack) {
    SCOPED_TRACE(face->Name());
    const std::string path = Scratch(std::string(face->Name()) + "-typed.ovt");
    std::remove(path.c_str());
    face->ChooseTab(resources::kIdTabs, 1);
    face->Type(resources::kIdCompany, "Nordlys Bakery");
    face->Type(resources::kIdCity, "Troms\xC3\xB8");
    face->Desktop().fileAnswers = {path};
    face->PressKeys("Ctrl+S");
    ASSERT_EQ(face->Desktop().Of("file").size(), 1u);
    EXPECT_TRUE(face->Desktop().Of("file")[0].file.save);
    EXPECT_EQ(face->Desktop().Of("file")[0].file.defaultExtension, ".ovt");
    EXPECT_TRUE(Messages().empty());
    card::CardRecord read;
    card::RecordOnlySide side(read);
    ASSERT_TRUE(card::ReadCardFile(path, read, side));
    EXPECT_EQ(read.Company, "Nordlys Bakery");
    EXPECT_EQ(read.City, "Troms\xF8");  // the card's own code page
    EXPECT_EQ(face->Host().Text(resources::kIdCurrentFile), path);
}

TEST_F(MakerScenario, EveryWayOutAsksToSaveFirst) {
    struct Way {
        const char* name;
        void (*leave)(FaceDriver&);
        platform::MessageButtons buttons;
    };
    const Way ways[] = {
        {"Exit button", [](FaceDriver& f) { f.Click(resources::kIdExit); }, platform::MessageButtons::YesNo},
        {"Ctrl+Q", [](FaceDriver& f) { f.PressKeys("Ctrl+Q"); }, platform::MessageButtons::YesNo},
        {"close box", [](FaceDriver& f) { f.CloseBox(); }, platform::MessageButtons::YesNo},
        {"Escape", [](FaceDriver& f) { f.PressEscape(); }, platform::MessageButtons::YesNoCancel},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(std::string(face->Name()) + ": " + way.name);
        Start();
        // Yes, then the Save dialog cancelled: the window stays.
        face->Desktop().messageAnswers = {platform::MessageAnswer::Yes};
        way.leave(*face);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], kSaveBeforeExit);
        EXPECT_EQ(face->Desktop().Of("message")[0].buttons, way.buttons);
        EXPECT_FALSE(face->Ended());
        // No: the window ends, nothing written.
        face->Desktop().messageAnswers = {platform::MessageAnswer::No};
        way.leave(*face);
        EXPECT_TRUE(face->Ended());
        EXPECT_EQ(face->Desktop().Of("file").size(), 1u);
    }
}

TEST_F(MakerScenario, NewAsksToSaveAndAFailedSaveKeepsTheCard) {
    SCOPED_TRACE(face->Name());
    face->ChooseTab(resources::kIdTabs, 1);
    face->Type(resources::kIdCompany, "Kept");
    // Yes, and the Save dialog cancelled: the card stays as typed.
    face->Desktop().messageAnswers = {platform::MessageAnswer::Yes};
    face->Click(resources::kIdNew);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages()[0], kSaveBeforeNew);
    EXPECT_EQ(face->Host().Text(resources::kIdCompany), "Kept");
    // No: a new, empty card.
    face->Desktop().messageAnswers = {platform::MessageAnswer::No};
    face->Click(resources::kIdNew);
    EXPECT_EQ(face->Host().Text(resources::kIdCompany), "");
    EXPECT_EQ(face->Host().Text(resources::kIdCurrentFile), "Untitled");
}

TEST_F(MakerScenario, AFieldOverItsLimitIsShownAndNothingIsWritten) {
    SCOPED_TRACE(face->Name());
    const std::string path = Scratch(std::string(face->Name()) + "-limit.ovt");
    std::remove(path.c_str());
    face->ChooseTab(resources::kIdTabs, 2);
    // The program may set a text its box would not let the user type.
    face->Host().SetText(resources::kIdFirstName, std::string(21, 'x'));
    face->ChooseTab(resources::kIdTabs, 0);
    face->Desktop().fileAnswers = {path};
    face->Click(resources::kIdSave);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Please enter no more than 20 characters.");
    EXPECT_TRUE(face->Desktop().Of("file").empty());
    EXPECT_EQ(face->Host().SelectedTab(resources::kIdTabs), 2);
    EXPECT_EQ(face->Host().Focused(), resources::kIdFirstName);
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
    face->Click(resources::kIdSave);
    EXPECT_EQ(face->Desktop().Of("file").size(), 1u);
    EXPECT_EQ(Bytes(path), bytes);
}

TEST_F(MakerScenario, PagesTurnByKeysAndTabWalksThePageShown) {
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Host().SelectedTab(resources::kIdTabs), 0);
    face->PressKeys("Ctrl+Tab");
    EXPECT_EQ(face->Host().SelectedTab(resources::kIdTabs), 1);
    EXPECT_TRUE(face->IsVisible(resources::kIdCompany));
    EXPECT_FALSE(face->IsVisible(resources::kIdPicture));
    face->Host().Focus(resources::kIdCompany);
    face->PressTab(false);
    EXPECT_EQ(face->Host().Focused(), resources::kIdStreetAddress);
    face->PressTab(true);
    face->PressTab(true);
    EXPECT_EQ(face->Host().Focused(), resources::kIdWebSite);  // backwards from the first field: the last
    face->PressKeys("Ctrl+Shift+Tab");
    face->PressKeys("Ctrl+Shift+Tab");
    EXPECT_EQ(face->Host().SelectedTab(resources::kIdTabs), 3);
    EXPECT_TRUE(face->IsVisible(resources::kIdGeneralInformation));
    EXPECT_FALSE(face->IsVisible(resources::kIdCompany));
}

TEST_F(ViewerScenario, ShowsTheCardsSummaryAndHandsItsLinksOver) {
    Start(kSample);
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Caption(), "Norvane Ovlet Viewer");
    EXPECT_TRUE(Messages().empty());
    face->ChooseTab(resources::kIdTabs, 1);
    EXPECT_TRUE(face->IsVisible(resources::kIdWebSiteLine));
    EXPECT_FALSE(face->IsVisible(resources::kIdCompany));
    EXPECT_FALSE(face->IsVisible(resources::kIdNew));
    face->Click(resources::kIdWebSiteLine);
    face->Click(resources::kIdEMailLine);
    const auto urls = face->Desktop().Of("url");
    ASSERT_EQ(urls.size(), 2u);
    EXPECT_EQ(urls[0].text, "https://harbourlight.example");
    EXPECT_EQ(urls[1].text.rfind("mailto:", 0), 0u);
    // Nothing to save: Exit ends the window at once.
    face->Click(resources::kIdExit);
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
    face->ChooseMenuEntry(resources::kCommandExportVCard);
    EXPECT_EQ(Bytes(path).rfind("BEGIN:VCARD", 0), 0u);
}

TEST_F(ViewerScenario, ADroppedCardOpensAndAnyOtherFileIsRefused) {
    SCOPED_TRACE(face->Name());
    EXPECT_FALSE(face->DropFile(OVLET_SOURCE_DIR "/samples/sample.jpg"));
    EXPECT_TRUE(face->DropFile(kSample));
    EXPECT_EQ(window->Record().LastName, "Okafor");
    EXPECT_TRUE(Messages().empty());
}

// Pictures made by strangers: every picture of the test corpus that some
// decoder refuses or may refuse, and a sample of those they read, each as the
// picture of a card the viewer opens. The window shows the picture with its
// size, or says once why it cannot, and keeps going.
TEST_F(ViewerScenario, EveryHostilePictureIsShownOrSaysWhy) {
    SCOPED_TRACE(face->Name());
    const std::string corpus = OVLET_SOURCE_DIR "/tests/data/corpus/";
    std::istringstream manifest(Bytes(corpus + "MANIFEST.tsv"));
    std::string line;
    std::getline(manifest, line);  // the heads
    int tried = 0;
    int readable = 0;
    for (int row = 0; std::getline(manifest, line); ++row) {
        std::istringstream fields(line);
        std::string file;
        std::string format;
        std::string expected;
        std::getline(fields, file, '\t');
        std::getline(fields, format, '\t');
        std::getline(fields, expected, '\t');
        if (expected == "ok" && row % 8 != 0) continue;
        SCOPED_TRACE(file + " (" + expected + ")");
        const std::string bytes = Bytes(corpus + file);
        if (bytes.empty()) continue;  // a card without a picture
        card::CardRecord card;
        card.Company = "Corpus";
        card.SetPicture({bytes.begin(), bytes.end()});
        const std::string path = Scratch(std::string(face->Name()) + "-corpus.ovt");
        ASSERT_TRUE(card::WriteCardWithPicture(path, card, card.PictureBytes.data(), card.PictureBytes.size()));
        Start(path);
        face->Advance(10);
        const bool shown = face->Host().Text(resources::kIdImageSize) != "N/A";
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), shown ? 0u : 1u);
        if (!shown) {
            EXPECT_EQ(messages[0].rfind("The card's picture cannot be shown.", 0), 0u);
        }
        EXPECT_EQ(face->Host().Text(resources::kIdCompanyLine), "Corpus");
        ++tried;
        readable += shown ? 1 : 0;
    }
    EXPECT_GT(tried, 150);
    EXPECT_GT(readable, 40);
}

// A card cut short anywhere, or with bytes no card has, opens and says what
// is wrong with it (and with its picture, when that cannot be shown either);
// the viewer goes on until the user ends it.
TEST_F(ViewerScenario, ADamagedCardOpensAndSaysWhatIsWrong) {
    SCOPED_TRACE(face->Name());
    const std::string whole = Bytes(kSample);
    ASSERT_GT(whole.size(), 1000u);
    std::vector<std::pair<std::string, std::string>> cards;
    for (std::size_t cut : {std::size_t{1}, std::size_t{7}, std::size_t{40}, std::size_t{120}, std::size_t{400}}) {
        cards.emplace_back("cut at " + std::to_string(cut), whole.substr(0, cut));
    }
    for (int part = 1; part < 8; ++part) {
        const std::size_t cut = whole.size() * static_cast<std::size_t>(part) / 8;
        cards.emplace_back("cut at " + std::to_string(cut), whole.substr(0, cut));
    }
    std::string flipped = whole;
    for (std::size_t i = 0; i < 200; ++i) flipped[i] = static_cast<char>(~flipped[i]);
    cards.emplace_back("head flipped", flipped);
    cards.emplace_back("wide-text markers", whole.substr(0, 60) + "\xFF\xFE\xFF\xFF\xFE\xFF");
    cards.emplace_back("empty", "");
    for (const auto& [name, bytes] : cards) {
        SCOPED_TRACE(name);
        const std::string path = Scratch(std::string(face->Name()) + "-cut.ovt");
        Write(path, bytes);
        Start(path);
        face->Advance(10);
        EXPECT_GE(Messages().size(), 1u);
        EXPECT_LE(Messages().size(), 2u) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(face->Ended());
        face->ChooseTab(resources::kIdTabs, 1);
        face->Click(resources::kIdExit);
        EXPECT_TRUE(face->Ended());
    }
}

}  // namespace
}  // namespace ovlet::window
