// What the card window asks of a face beyond the About dialog's needs: the
// user's changes reported, filtered edits, shortened texts, the window's menu,
// command keys, the Tab order, the pointer and dropped files. Written once and
// run on each face, on a dialog of its own that has one control of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "face_driver.h"

namespace ovlet::window {
namespace {

constexpr int kLine = 10;
constexpr int kText = 11;
constexpr int kPath = 12;
constexpr int kTabs = 13;
constexpr int kGo = 14;
constexpr int kOther = 20;  // a command without a button
constexpr int kNext = 21;

const platform::DialogTemplate& Template() {
    static const platform::DialogTemplate dialog{
        500,
        "Face calls",
        200,
        120,
        8,
        {
            {kTabs, platform::ControlKind::TabControl, "", 4, 4, 192, 50, true},
            {kLine, platform::ControlKind::Edit, "", 10, 24, 80, 12, true},
            {kText, platform::ControlKind::MultiLineEdit, "", 10, 60, 80, 30, true},
            {kPath, platform::ControlKind::Static, "", 100, 60, 40, 8, false},
            {kGo, platform::ControlKind::PushButton, "Go", 100, 80, 40, 14, true},
            {platform::kIdOk, platform::ControlKind::DefaultPushButton, "OK", 150, 100, 40, 14, true},
        },
    };
    return dialog;
}

// Takes ASCII only, as a filtered field takes only what its file can hold.
bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Writes down what the face tells it.
class Recorder : public platform::DialogHandler {
public:
    std::vector<std::string> heard;
    void OnInit(platform::DialogHost& dialog) override {
        DialogHandler::OnInit(dialog);
        for (const char* page : {"One", "Two", "Three"}) dialog.AddTab(kTabs, page);
        dialog.SetTextFilter(kLine, IsAscii);
        dialog.SetTextFilter(kText, IsAscii);
        dialog.SetShortening(kPath, platform::Shortening::Middle);
    }
    void OnCommand(int id) override { heard.push_back("command " + std::to_string(id)); }
    void OnTextChanged(int id) override { heard.push_back("changed " + std::to_string(id)); }
    void OnTabChanged(int id) override { heard.push_back("tab " + std::to_string(id)); }
    void OnTextRefused(int id, const std::string& characters) override {
        heard.push_back("refused " + std::to_string(id) + " " + characters);
    }
    bool TakesDroppedFile(const std::string& path) override { return path.ends_with(".ovt"); }
    void OnFileDropped(const std::string& path) override { heard.push_back("dropped " + path); }

    bool Heard(const std::string& what) const { return std::find(heard.begin(), heard.end(), what) != heard.end(); }
};

class FaceCalls : public ::testing::Test {
protected:
    void SetUp() override {
        face = MakeFaceDriver();
        face->Open(Template(), recorder);
    }
    void TearDown() override { face.reset(); }
    platform::DialogHost& Host() { return face->Host(); }

    Recorder recorder;
    std::unique_ptr<FaceDriver> face;
};

TEST_F(FaceCalls, TheUsersChangesAreReportedAndTheProgramsAreNot) {
    SCOPED_TRACE(face->Name());
    Host().SetText(kLine, "set");
    Host().SelectTab(kTabs, 1);
    EXPECT_TRUE(recorder.heard.empty());
    for (const int id : {kLine, kText}) {
        SCOPED_TRACE(id);
        recorder.heard.clear();
        face->Type(id, "typed");
        EXPECT_EQ(Host().Text(id), "typed");
        EXPECT_TRUE(recorder.Heard("changed " + std::to_string(id)));
    }
    recorder.heard.clear();
    face->ChooseTab(kTabs, 2);
    EXPECT_EQ(Host().SelectedTab(kTabs), 2);
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"tab 13"});
}

TEST_F(FaceCalls, AFilteredEditRefusesAPasteAndNamesTheCharacters) {
    SCOPED_TRACE(face->Name());
    struct Case {
        int id;
        const char* pasted;
        const char* kept;     // the text afterwards
        const char* refusal;  // what the handler hears; null: nothing refused
    };
    const Case cases[] = {
        {kLine, "plain", "plain", nullptr},
        {kLine,
         "x\xE2\x82\xAC"
         "y\xE2\x82\xAC"
         "z\xC3\xA9",
         "plain", "refused 10 \xE2\x82\xAC \xC3\xA9"},
        {kText, "one", "one", nullptr},
        {kText, "two \xF0\x9F\x98\x80", "one", "refused 11 \xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        recorder.heard.clear();
        face->Paste(c.id, c.pasted);
        EXPECT_EQ(Host().Text(c.id), c.kept);
        const bool refused = std::any_of(recorder.heard.begin(), recorder.heard.end(),
                                         [](const std::string& h) { return h.starts_with("refused"); });
        EXPECT_EQ(refused, c.refusal != nullptr);
        if (c.refusal) {
            EXPECT_TRUE(recorder.Heard(c.refusal)) << testing::PrintToString(recorder.heard);
        }
    }
    // Typed, a refused character is left out and the rest goes in.
    face->Type(kLine,
               "a\xC3\xA9"
               "b");
    EXPECT_EQ(Host().Text(kLine), "ab");
}

TEST_F(FaceCalls, ALongTextIsShortenedWhereItWasAskedTo) {
    SCOPED_TRACE(face->Name());
    Host().SetText(kPath, "ab");
    EXPECT_FALSE(Host().IsShortened(kPath));
    const std::string path = "/home/someone/cards/a rather long folder name/business card.ovt";
    Host().SetText(kPath, path);
    EXPECT_TRUE(Host().IsShortened(kPath));
    EXPECT_EQ(Host().Text(kPath), path) << "the text stays whole";
    Host().SetShortening(kPath, platform::Shortening::None);
    EXPECT_FALSE(Host().IsShortened(kPath));
    EXPECT_FALSE(Host().IsShortened(kLine)) << "an edit scrolls instead";
}

TEST_F(FaceCalls, TheWindowMenuGivesItsEntriesCommands) {
    SCOPED_TRACE(face->Name());
    EXPECT_TRUE(face->OpenWindowMenu().empty());
    Host().SetWindowMenu({{kGo, "Go there"}, {platform::kNoControl, ""}, {kOther, "Something else"}});
    const std::vector<platform::MenuEntry> shown = face->OpenWindowMenu();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].command, kGo);
    EXPECT_EQ(shown[0].text, "Go there");
    EXPECT_EQ(shown[1].command, platform::kNoControl);
    EXPECT_EQ(shown[2].command, kOther);
    EXPECT_TRUE(recorder.heard.empty()) << "opening the menu gives no command";
    face->ChooseMenuEntry(kOther);
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"command 20"});
    EXPECT_FALSE(face->Ended());
}

TEST_F(FaceCalls, CommandKeysWorkWhereTheirButtonCanBeClicked) {
    SCOPED_TRACE(face->Name());
    Host().SetShortcut(kGo, "Ctrl+G");
    Host().SetShortcut(kNext, "Ctrl+PgDown");
    EXPECT_FALSE(Host().KeysText("Ctrl+G").empty());
    Host().Focus(kLine);
    struct Step {
        const char* keys;
        const char* heard;  // null: nothing
    };
    const Step steps[] = {{"Ctrl+G", "command 14"}, {"Ctrl+PgDown", "command 21"}, {"Ctrl+J", nullptr}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys);
        recorder.heard.clear();
        face->PressKeys(step.keys);
        EXPECT_EQ(recorder.heard, step.heard ? std::vector<std::string>{step.heard} : std::vector<std::string>{});
    }
    // A hidden button's keys do nothing; keys taken back do nothing.
    Host().Show(kGo, false);
    Host().SetShortcut(kNext, "");
    recorder.heard.clear();
    face->PressKeys("Ctrl+G");
    face->PressKeys("Ctrl+PgDown");
    EXPECT_TRUE(recorder.heard.empty()) << testing::PrintToString(recorder.heard);
}

TEST_F(FaceCalls, TabVisitsTheControlsInTheOrderGiven) {
    SCOPED_TRACE(face->Name());
    Host().SetTabOrder({kText, kLine, kGo});
    Host().Focus(kText);
    const int forward[] = {kLine, kGo, kText, kLine};
    for (const int id : forward) {
        face->PressTab(false);
        EXPECT_EQ(Host().Focused(), id);
    }
    face->PressTab(true);
    EXPECT_EQ(Host().Focused(), kText);
    // A control that is not shown is passed over.
    Host().Show(kLine, false);
    face->PressTab(false);
    EXPECT_EQ(Host().Focused(), kGo);
}

TEST_F(FaceCalls, ThePointerShowsTheWindowBusy) {
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Pointer(), platform::PointerLook::Normal);
    Host().SetPointer(platform::PointerLook::Busy);
    EXPECT_EQ(face->Pointer(), platform::PointerLook::Busy);
    Host().SetPointer(platform::PointerLook::Normal);
    EXPECT_EQ(face->Pointer(), platform::PointerLook::Normal);
}

TEST_F(FaceCalls, DroppedFilesReachTheHandlerThatTakesThem) {
    SCOPED_TRACE(face->Name());
    EXPECT_FALSE(face->DropFile("/tmp/card.ovt")) << "a window that takes no files";
    Host().AcceptDroppedFiles(true);
    EXPECT_FALSE(face->DropFile("/tmp/notes.txt"));
    EXPECT_TRUE(recorder.heard.empty());
    EXPECT_TRUE(face->DropFile("/tmp/card.ovt"));
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"dropped /tmp/card.ovt"});
}

}  // namespace
}  // namespace ovlet::window
