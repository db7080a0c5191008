// The scripted face plays the user as a screen would: hidden and disabled
// controls take nothing, Enter presses the focused button, the clock fires
// timers in order, and the desktop answers from its script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/scripted_face.h"

namespace ovlet::platform {
namespace {

constexpr int kEdit = 10;
constexpr int kButton = 11;
constexpr int kLabel = 12;

const platform::DialogTemplate kDialog{
    200,
    "Caption",
    100,
    50,
    8,
    {
        {kLabel, ControlKind::Static, "Name:", 0, 0, 20, 8},
        {kEdit, ControlKind::Edit, "", 20, 0, 50, 12, true},
        {kButton, ControlKind::PushButton, "Go", 0, 20, 30, 14, true},
        {kIdOk, ControlKind::DefaultPushButton, "OK", 40, 20, 30, 14, true},
    },
};

// Records what the face asks of it.
class Recorder : public platform::DialogHandler {
public:
    std::vector<std::string> events;
    void OnInit(platform::DialogHost& dialog) override {
        DialogHandler::OnInit(dialog);
        events.push_back("init");
    }
    void OnCommand(int id) override {
        events.push_back("command " + std::to_string(id));
        DialogHandler::OnCommand(id);
    }
    void OnTimer(int timer) override { events.push_back("timer " + std::to_string(timer)); }
    platform::DialogHost* Host() const { return host; }
};

class ScriptedFaceTest : public ::testing::Test {
protected:
    platform::ScriptedFace face;
    Recorder handler;
};

TEST_F(ScriptedFaceTest, HiddenOrDisabledControlsTakeNoClickNorTyping) {
    auto dialog = face.Open(kDialog, handler);
    ASSERT_EQ(handler.events, std::vector<std::string>{"init"});
    dialog->Show(kButton, false);
    dialog->Click(kButton);
    dialog->Show(kButton, true);
    dialog->Enable(kButton, false);
    dialog->Click(kButton);
    dialog->Enable(kEdit, false);
    dialog->Type(kEdit, "text");
    dialog->Click(kLabel);  // not a button
    EXPECT_EQ(handler.events, std::vector<std::string>{"init"});
    EXPECT_EQ(dialog->Text(kEdit), "");
    dialog->Enable(kButton, true);
    dialog->Click(kButton);
    EXPECT_EQ(handler.events.back(), "command 11");
}

TEST_F(ScriptedFaceTest, TypingKeepsToTheLimitInCharactersNotBytes) {
    auto dialog = face.Open(kDialog, handler);
    dialog->SetLimit(kEdit, 3);
    dialog->Type(kEdit, "\xC3\xA9t\xC3\xA9s");  // "étés": four characters, six bytes
    EXPECT_EQ(dialog->Text(kEdit), "\xC3\xA9t\xC3\xA9");
    // The program's own text is not cut.
    dialog->SetText(kEdit, "longer than three");
    EXPECT_EQ(dialog->Text(kEdit), "longer than three");
}

TEST_F(ScriptedFaceTest, EnterPressesTheFocusedButtonElseIsOk) {
    auto dialog = face.Open(kDialog, handler);
    EXPECT_EQ(dialog->Focused(), kEdit);  // the first Tab stop
    dialog->Focus(kButton);
    dialog->PressEnter();
    EXPECT_EQ(handler.events.back(), "command 11");
    EXPECT_FALSE(dialog->Ended());
    dialog->Focus(kEdit);
    dialog->PressEnter();
    EXPECT_EQ(handler.events.back(), "command 1");
    EXPECT_TRUE(dialog->Ended());
    EXPECT_EQ(dialog->Result(), kIdOk);
    // An ended dialog takes nothing more.
    dialog->PressEscape();
    EXPECT_EQ(handler.events.back(), "command 1");
}

TEST_F(ScriptedFaceTest, TimersFireInOrderOfTimeAndEndWithTheDialog) {
    auto dialog = face.Open(kDialog, handler);
    dialog->StartTimer(1, 300);
    dialog->StartTimer(2, 200);
    dialog->Advance(199);
    EXPECT_EQ(handler.events.size(), 1u);
    dialog->Advance(401);  // at 600: 2 at 200, 1 at 300, 2 at 400, 1 and 2 at 600
    EXPECT_EQ(handler.events,
              (std::vector<std::string>{"init", "timer 2", "timer 1", "timer 2", "timer 1", "timer 2"}));
    dialog->StopTimer(2);
    dialog->End(kIdCancel);
    dialog->Advance(10000);
    EXPECT_EQ(handler.events.size(), 6u);
    EXPECT_FALSE(dialog->TimerRunning(1));
}

TEST_F(ScriptedFaceTest, RunDialogPlaysTheScriptsInOrderAndEscapesWithout) {
    face.runScripts.push_back([](platform::ScriptedDialog& d) { d.Click(kIdOk); });
    EXPECT_EQ(face.RunDialog(kDialog, handler, nullptr), kIdOk);
    EXPECT_EQ(face.RunDialog(kDialog, handler, nullptr), kIdCancel);
    ASSERT_EQ(face.runs.size(), 2u);
    EXPECT_EQ(face.runs[0].caption, "Caption");
    EXPECT_TRUE(face.runs[1].ended);
}

TEST_F(ScriptedFaceTest, DesktopAnswersFromItsScriptThenAsAnEscape) {
    using platform::MessageAnswer;
    using platform::MessageButtons;
    platform::ScriptedDesktop& desktop = face.desktop;
    desktop.messageAnswers = {MessageAnswer::Yes};
    const auto ask = [&](MessageButtons buttons) {
        return desktop.Message(nullptr, "c", "t", platform::MessageIcon::Question, buttons);
    };
    // An OK box takes no scripted answer.
    EXPECT_EQ(ask(MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(ask(MessageButtons::YesNoCancel), MessageAnswer::Cancel);
    desktop.fileAnswers = {std::string("/tmp/a.ovt"), std::nullopt};
    EXPECT_EQ(desktop.ChooseFile(nullptr, {}), std::optional<std::string>("/tmp/a.ovt"));
    EXPECT_EQ(desktop.ChooseFile(nullptr, {}), std::nullopt);
    EXPECT_EQ(desktop.ChooseFile(nullptr, {}), std::nullopt);
    EXPECT_EQ(desktop.Of("message").size(), 4u);
    EXPECT_EQ(desktop.Of("file").size(), 3u);
}

}  // namespace
}  // namespace ovlet::platform
