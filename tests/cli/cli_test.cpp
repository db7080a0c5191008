// The ovlet tool as a script sees it: exit codes, output, files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../card/card_test_support.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace {

TEST(OvletTool, ExitCodes) {
    test_support::TempFolder dir;
    test_support::WriteCutCopy(test_support::kSample, dir / "cut.ovt", 60);
    const std::string d = dir.Path().string();
    const std::pair<std::string, int> cases[] = {
        {"", 1},
        {"--help", 0},
        {"--version", 0},
        {"frobnicate", 1},
        {"show", 1},
        {"show " + test_support::kSample, 0},
        {"show --json " + test_support::kSample, 0},
        {"show " + d + "/missing.ovt", 2},
        {"show " + d + "/cut.ovt", 3},
        {"make " + d + "/a.ovt Nickname=x", 1},
        {"make " + d +
             "/a.ovt 'City=\xC5\x81\xC3\xB3"
             "d\xC5\xBA'",
         1},
        {"make " + d + "/a.ovt 'City=two\\nlines'", 1},
        {"make " + d + "/no/such/dir/a.ovt City=x", 2},
        {"make " + d + "/a.ovt --picture " + d + "/missing.jpg", 2},
        // A picture that decodes but is no JPEG or PNG: the programs store only those two.
        {"make " + d + "/a.ovt --picture " OVLET_CORPUS_DIR "/bmp/g/pal4.bmp", 4},
        {"make --from " + d + "/cut.ovt " + d + "/b.ovt", 3},
        {"picture " + d + "/cut.ovt " + d + "/p.jpg", 3},
    };
    for (const auto& [args, code] : cases) {
        SCOPED_TRACE(args);
        EXPECT_EQ(test_support::Ovlet(args).code, code);
    }
}

TEST(OvletTool, MakeThenShowJsonGivesBackEveryField) {
    test_support::TempFolder dir;
    const std::string card = (dir / "made.ovt").string();
    // Words, not a shell line: the same on every system.
    ASSERT_EQ(
        test_support::RunTool(
            OVLET_BIN, {"make", card, "Company=Caf\xC3\xA9 \xE2\x82\xAC", "StreetAddress=1 Main St\\nSuite 2",
                        "City=Oslo", "GeneralInformation=line \"one\"\\nline two", "EMail=a@b.c", "Phone1Number=123"})
            .code,
        0);
    const std::string json = test_support::Ovlet("show --json " + card).out;
    const char* expected[] = {
        "\"Company\": \"Caf\xC3\xA9 \xE2\x82\xAC\"",
        "\"StreetAddress\": \"1 Main St\\r\\nSuite 2\"",
        "\"City\": \"Oslo\"",
        "\"GeneralInformation\": \"line \\\"one\\\"\\r\\nline two\"",
        "\"PictureLength\": 0",
        "\"EMailLine\": \"E-Mail: a@b.c\"",
        "\"Phone1Line\": \": 123\"",
        "\"AddressBlock\": \"1 Main St\\r\\nSuite 2\\nOslo,   \"",
    };
    for (const char* e : expected) EXPECT_NE(json.find(e), std::string::npos) << e << "\nin\n" << json;

    // --from keeps what it does not change, and a picture goes in unchanged.
    const std::string second = (dir / "second.ovt").string();
    ASSERT_EQ(test_support::Ovlet("make --from " + card + " " + second + " City=Bergen --picture " +
                                  OVLET_SAMPLES_DIR "/sample.jpg")
                  .code,
              0);
    const std::string json2 = test_support::Ovlet("show --json " + second).out;
    EXPECT_NE(json2.find("\"City\": \"Bergen\""), std::string::npos);
    EXPECT_NE(json2.find("\"EMail\": \"a@b.c\""), std::string::npos);
    ASSERT_EQ(test_support::Ovlet("picture " + second + " " + (dir / "p.jpg").string()).code, 0);
    EXPECT_EQ(test_support::ReadFileBytes(dir / "p.jpg"),
              test_support::ReadFileBytes(std::string(OVLET_SAMPLES_DIR) + "/sample.jpg"));
}

// A card from a stranger cannot drive the terminal: show escapes control
// characters; --json keeps the exact text as JSON escapes.
TEST(OvletTool, ShowEscapesControlCharactersAndJsonStaysExact) {
    test_support::TempFolder dir;
    const std::string card = (dir / "hostile.ovt").string();
    ASSERT_EQ(test_support::RunTool(OVLET_BIN, {"make", card, "Company=\x1b]0;owned\a\x1b[31mRed", "City=a\rb",
                                                "GeneralInformation=one\\ntwo\x1b[2J"})
                  .code,
              0);
    const std::string text = test_support::RunTool(OVLET_BIN, {"show", card}).out;
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\a'), std::string::npos);
    EXPECT_NE(text.find("\\x1b]0;owned\\x07\\x1b[31mRed"), std::string::npos) << text;
    EXPECT_NE(text.find("a\\rb"), std::string::npos) << text;
    EXPECT_NE(text.find("two\\x1b[2J"), std::string::npos) << text;
    const std::string json = test_support::RunTool(OVLET_BIN, {"show", "--json", card}).out;
    EXPECT_NE(json.find("\"Company\": \"\\u001b]0;owned\\u0007\\u001b[31mRed\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"City\": \"a\\rb\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"GeneralInformation\": \"one\\r\\ntwo\\u001b[2J\""), std::string::npos) << json;
}

TEST(OvletTool, ShowPrintsLabelsAndSummary) {
    const std::string text = test_support::Ovlet("show " + test_support::kSample).out;
    for (const char* e : {"Company:", "State/Province", "Phone 1 Desc:", "Picture:", "E-Mail: renee.okafor"}) {
        EXPECT_NE(text.find(e), std::string::npos) << e;
    }
}

#ifdef OVLET_HAVE_RENDER

TEST(OvletTool, RenderDrawsTheCardAsABusinessCard) {
    test_support::TempFolder dir;
    const std::string out = (dir / "card.png").string();
    ASSERT_EQ(test_support::Ovlet("render " + test_support::kSample + " -o " + out + " --width 850").code, 0);
    const test_support::Bytes png = test_support::ReadFileBytes(out);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto be32 = [&](std::size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(be32(16), 850);
    EXPECT_EQ(be32(20), 550);  // a business card's proportions, 85 x 55

    const std::pair<std::string, int> refusals[] = {
        {"render " + test_support::kSample, 1},
        {"render " + test_support::kSample + " -o " + out + " --width 10", 1},
        {"render " + (dir / "missing.ovt").string() + " -o " + out, 2},
        {"render " + test_support::kSample + " -o " + (dir / "no/dir/x.png").string(), 2},
    };
    for (const auto& [args, code] : refusals) {
        SCOPED_TRACE(args);
        EXPECT_EQ(test_support::Ovlet(args).code, code);
    }
}

#endif

#ifdef OVLET_HAVE_DRAW

// The decoders' trace: on standard error with --verbose or OVLET_TRACE, never
// otherwise, and a file name in it reaches the terminal escaped.
TEST(OvletTool, VerboseAndOvletTraceShowTheDecodersTrace) {
    test_support::TempFolder dir;
    // U+202E turns the rest of a line around on a terminal; names may hold it on every system.
    const std::string picture = (dir / "demo\xE2\x80\xAE.pict").string();
    std::filesystem::copy_file(OVLET_CORPUS_DIR "/pict/twelvemonkeys/demo.pict", picture);
    const std::string pam = (dir / "out.pam").string();
    test_support::ToolSetup unset;
    unset.unset = {"OVLET_TRACE"};
    test_support::ToolSetup traceOn;
    traceOn.variables = {{"OVLET_TRACE", "1"}};
    test_support::ToolSetup traceOff;
    traceOff.variables = {{"OVLET_TRACE", "0"}};
    struct Case {
        const char* name;
        std::vector<std::string> words;
        test_support::ToolSetup setup;
        bool traced;
    };
    const Case cases[] = {
        {"neither", {"decode", picture, pam}, unset, false},
        {"--verbose", {"--verbose", "decode", picture, pam}, unset, true},
        {"OVLET_TRACE=1", {"decode", picture, pam}, traceOn, true},
        {"OVLET_TRACE=0", {"decode", picture, pam}, traceOff, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, c.words, c.setup);
        EXPECT_EQ(run.code, 0) << run.err;
        if (!c.traced) {
            EXPECT_EQ(run.err, "");
            continue;
        }
        EXPECT_NE(run.err.find("demo\\u202e.pict. ---\n"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Mac PICT recognized.\n"), std::string::npos);
        EXPECT_NE(run.err.find("Opcode: "), std::string::npos);
        EXPECT_EQ(run.err.find("\xE2\x80\xAE"), std::string::npos);
    }
}

#endif

}  // namespace
}  // namespace ovlet::cli
