// The About dialog and the maker's splash, played as a user plays them:
// written once, run on the scripted face and on the Qt face.
#include <gtest/gtest.h>

#include "controls/picture_static.h"
#include "face_driver.h"
#include "maker/maker_about.h"
#include "maker/splash_dialog.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "viewer/viewer_about.h"

namespace ovlet::window {
namespace {

struct AboutCase {
    const char* name;
    const AboutForm& form;
    const char* caption;
    const char* version;
    const char* link;
};

const AboutCase kAboutCases[] = {
    {"maker", maker::kMakerAbout, "About Ovlet Maker", "Ovlet Maker Version 1.0",
     "Visit: https://ovlet.app/ for latest updates"},
    {"viewer", viewer::kViewerAbout, "About Ovlet Viewer", "Ovlet Viewer Version 1.0", "Download Ovlet Maker"},
};

class AboutScenario : public ::testing::TestWithParam<AboutCase> {
protected:
    // A new dialog on a new face (also again within one test).
    void SetUp() override {
        face.reset();
        about = std::make_unique<CAboutDialog>(GetParam().form);
        face = MakeFaceDriver();
        face->Open(resources::AboutDialogTemplate(), *about);
    }
    // The handler outlives the face's dialog.
    std::unique_ptr<CAboutDialog> about;
    std::unique_ptr<FaceDriver> face;
};

TEST_P(AboutScenario, ShowsTheProgramsTextsWithTheKeyboardOnOk) {
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(face->Caption(), GetParam().caption);
    EXPECT_EQ(face->Host().Text(resources::kIdVersionText), GetParam().version);
    EXPECT_EQ(face->Host().Text(resources::kIdAboutWebLink), GetParam().link);
    EXPECT_TRUE(face->IsVisible(resources::kIdAboutWebLink));
    EXPECT_EQ(face->AccessibleName(resources::kIdAboutWebLink), GetParam().link);
    EXPECT_EQ(face->Host().Focused(), resources::kIdOk);
    EXPECT_FALSE(face->Ended());
}

TEST_P(AboutScenario, TheLinkHandsTheWebSiteOverAndStays) {
    face->Click(resources::kIdAboutWebLink);
    const auto urls = face->Desktop().Of("url");
    ASSERT_EQ(urls.size(), 1u) << face->Name();
    EXPECT_EQ(urls[0].text, "https://ovlet.app/");
    EXPECT_FALSE(face->Ended());
    // Refused by the desktop: nothing is reported.
    face->Desktop().urlResult = false;
    face->Click(resources::kIdAboutWebLink);
    EXPECT_TRUE(face->Desktop().Of("message").empty());
}

// Each way out, and what the dialog ends with.
struct Way {
    const char* name;
    void (*leave)(FaceDriver&);
    int result;
};

const Way kWaysOut[] = {
    {"OK button", [](FaceDriver& f) { f.Click(resources::kIdOk); }, resources::kIdOk},
    {"Enter", [](FaceDriver& f) { f.PressEnter(); }, resources::kIdOk},
    {"Escape", [](FaceDriver& f) { f.PressEscape(); }, resources::kIdCancel},
    {"close box", [](FaceDriver& f) { f.CloseBox(); }, resources::kIdCancel},
};

TEST_P(AboutScenario, ClosesByButtonEnterEscapeAndCloseBox) {
    for (const Way& way : kWaysOut) {
        SCOPED_TRACE(std::string(face->Name()) + ": " + way.name);
        SetUp();
        way.leave(*face);
        EXPECT_TRUE(face->Ended());
        EXPECT_EQ(face->Result(), way.result);
        EXPECT_TRUE(face->Desktop().calls.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, AboutScenario, ::testing::ValuesIn(kAboutCases),
                         [](const auto& test) { return std::string(test.param.name); });

class SplashScenario : public ::testing::Test {
protected:
    void SetUp() override {
        face.reset();
        // A picture that is not there, then the shipped one.
        const maker::SplashPictureSource source{
            {"no such folder/maker.jpg", OVLET_SOURCE_DIR "/resources/data/maker.jpg"}, {}};
        splash = std::make_unique<maker::CSplashDialog>(source);
        face = MakeFaceDriver();
        face->Open(resources::SplashDialogTemplate(), *splash);
    }
    std::unique_ptr<maker::CSplashDialog> splash;
    std::unique_ptr<FaceDriver> face;
};

TEST_F(SplashScenario, ClosesAfterThreeSecondsWithoutAnyAction) {
    SCOPED_TRACE(face->Name());
    EXPECT_EQ(splash->PictureName(), "maker.jpg");
    ASSERT_NE(splash->Panel(), nullptr);
    EXPECT_EQ(splash->Panel()->GetPictureFile(), "maker.jpg");
    EXPECT_GT(splash->Panel()->PictureSize().first, 0);
    face->Advance(2999);
    EXPECT_FALSE(face->Ended());
    face->Advance(1);
    EXPECT_TRUE(face->Ended());
    EXPECT_EQ(face->Result(), resources::kIdCancel);
}

TEST_F(SplashScenario, EnterOrEscapeClosesItAtOnce) {
    for (const Way& way : {kWaysOut[1], kWaysOut[2]}) {
        SCOPED_TRACE(std::string(face->Name()) + ": " + way.name);
        SetUp();
        face->Advance(100);
        way.leave(*face);
        EXPECT_TRUE(face->Ended());
        // The timer ended with the window.
        face->Advance(5000);
        EXPECT_EQ(face->Result(), way.result);
    }
}

}  // namespace
}  // namespace ovlet::window
