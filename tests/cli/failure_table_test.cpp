// Every command against every way a file can fail it: what it reads is
// missing, a folder, a FIFO, a device, too large or damaged; what it writes
// is in a read-only folder, read-only, a folder, on a full disk, a link, or
// private. Each row: exit code, message, and the old file as it was.
//
// The permission rows run as an ordinary user (uid 65534) when the suite runs
// as root, as in CI, where every permission check would pass. That user runs
// a copy of the tool in a folder anyone can enter: the build folder may be
// private (a clone in root's home or in a `mktemp -d` folder is mode 0700).
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "../card/card_test_support.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace {

namespace fs = std::filesystem;

void Give(const fs::path& path) {
    [[maybe_unused]] int r = ::lchown(path.c_str(), test_support::kNobody, test_support::kNobody);
}

// The tool the ordinary user can run: a copy of it, and of the drawing
// program it starts, in a folder anyone can enter. "" when that cannot be set
// up, with `why` saying why; the tool itself when the suite is not root.
std::string ToolForNobody(std::string& why) {
    if (!test_support::RunningAsRoot()) return OVLET_BIN;
    static test_support::TempFolder folder;
    static std::string copy, problem;
    static bool made = false;
    if (!made) {
        made = true;
        const fs::path tool(OVLET_BIN);
        std::error_code ec;
        ::chmod(folder.Path().c_str(), 0755);
        for (const char* name : {"ovlet", "ovlet-draw"}) {
            const fs::path from = tool.parent_path() / name;
            if (!fs::exists(from)) continue;
            fs::copy_file(from, folder / name, fs::copy_options::overwrite_existing, ec);
            if (ec) problem = "cannot copy " + from.string() + " to " + folder.Path().string() + ": " + ec.message();
            ::chmod((folder / name).c_str(), 0755);
        }
        copy = (folder / "ovlet").string();
        test_support::ToolSetup setup;
        setup.asNobody = true;
        const test_support::ToolResult run = test_support::RunTool(copy, {"--version"}, setup);
        if (problem.empty() && run.code != 0) {
            problem = "the ordinary user (uid 65534) cannot run " + copy + " (exit " + std::to_string(run.code) +
                      "): a folder above " + folder.Path().string() +
                      " is private; set TMPDIR to a folder anyone can enter";
        }
    }
    why = problem;
    return problem.empty() ? copy : std::string();
}

// Whether the ordinary user can write in `folder`; `why` says why not.
bool NobodyCanWriteIn(const fs::path& folder, std::string& why) {
    if (!test_support::RunningAsRoot()) return true;
    test_support::ToolSetup setup;
    setup.asNobody = true;
    if (test_support::RunShell("test -w '" + folder.string() + "'", setup).code == 0) return true;
    why = "the ordinary user (uid 65534) cannot write in " + folder.string() +
          ": a folder above it is private; set TMPDIR to a folder anyone can enter";
    return false;
}

std::string Text(const fs::path& path) {
    const test_support::Bytes bytes = test_support::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void PutText(const fs::path& path, const std::string& text, unsigned mode = 0644) {
    test_support::WriteFileBytes(path, test_support::Bytes(text.begin(), text.end()));
    ::chmod(path.c_str(), mode);
    Give(path);
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The inputs every row can use, owned by the ordinary user.
class Fixture {
public:
    Fixture() {
        const fs::path d = dir.Path();
        ::chmod(d.c_str(), 0755);
        Give(d);
        fs::copy_file(test_support::kSample, d / "card.ovt");
        fs::copy_file(test_support::kPicture, d / "photo.jpg");
        test_support::WriteCutCopy(test_support::kSample, d / "cut.ovt", 60);
        PutText(d / "people.csv", "FirstName,LastName\nAnn,Lee\n");
        PutText(d / "one.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
        PutText(d / "none.vcf", "no card here\r\n");
        PutText(d / "text.jpg", "this is no picture at all");
        ::mkfifo((d / "fifo").c_str(), 0644);
        ::mkdir((d / "folder").c_str(), 0755);
        // Files larger than their limits that take no room on the disk.
        PutText(d / "huge.csv", "");
        [[maybe_unused]] int r = ::truncate((d / "huge.csv").c_str(), (64 << 20) + 1);
        PutText(d / "huge.vcf", "");
        r = ::truncate((d / "huge.vcf").c_str(), (64 << 20) + 1);
        PutText(d / "huge.jpg", "\xFF\xD8\xFF\xE0");
        r = ::truncate((d / "huge.jpg").c_str(), (2LL << 30) + 1);
        for (const auto& e : fs::directory_iterator(d)) Give(e.path());
    }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }

    test_support::TempFolder dir;
};

struct Command {
    const char* name;
    const char* inputRole;  // "card", "picture", "csv", "vcf" or "" for none
    // The command's words for an input and an output ("" where it has none).
    std::vector<std::string> (*words)(const Fixture&, const std::string& input, const std::string& output);
    const char* outputKind;  // "file", "folder" or "" for none
};

std::vector<std::string> W(std::initializer_list<std::string> words) {
    std::vector<std::string> out;
    for (const auto& w : words) {
        if (!w.empty()) out.push_back(w);
    }
    return out;
}

const Command kCommands[] = {
    {"show", "card",
     [](const Fixture&, const std::string& in, const std::string&) {
         return W({"show", in});
     },
     ""},
    {"show --json", "card",
     [](const Fixture&, const std::string& in, const std::string&) {
         return W({"show", "--json", in});
     },
     ""},
    {"make --from", "card",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"make", "--from", in.empty() ? f / "card.ovt" : in, out.empty() ? f / "made.ovt" : out});
     },
     "file"},
    {"make --picture", "picture",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W(
             {"make", out.empty() ? f / "made.ovt" : out, "City=Oslo", "--picture", in.empty() ? f / "photo.jpg" : in});
     },
     "file"},
    {"make --csv", "csv",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"make", "--csv", in.empty() ? f / "people.csv" : in, "-o", out.empty() ? f / "batch" : out});
     },
     "folder"},
    {"picture", "card",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"picture", in.empty() ? f / "card.ovt" : in, out.empty() ? f / "out.jpg" : out});
     },
     "file"},
    {"export", "card",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"export", "--vcard", in.empty() ? f / "card.ovt" : in, "-o", out.empty() ? f / "out.vcf" : out});
     },
     "file"},
    {"import", "vcf",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"import", in.empty() ? f / "one.vcf" : in, "-o", out.empty() ? f / "imported.ovt" : out});
     },
     "file"},
    {"import --all", "vcf",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"import", in.empty() ? f / "one.vcf" : in, "--all", "-o", out.empty() ? f / "all" : out});
     },
     "folder"},
    {"import --picture", "picture",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"import", f / "one.vcf", "-o", out.empty() ? f / "imported.ovt" : out, "--picture",
                   in.empty() ? f / "photo.jpg" : in});
     },
     ""},
    {"qr", "card",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"qr", in.empty() ? f / "card.ovt" : in, "-o", out.empty() ? f / "out.png" : out});
     },
     "file"},
#ifdef OVLET_HAVE_RENDER
    {"render", "card",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"render", in.empty() ? f / "card.ovt" : in, "-o", out.empty() ? f / "out.png" : out, "--width=300"});
     },
     "file"},
#endif
    {"decode", "picture",
     [](const Fixture& f, const std::string& in, const std::string& out) {
         return W({"decode", in.empty() ? f / "photo.jpg" : in, out.empty() ? f / "out.pam" : out});
     },
     "file"},
    {"info", "picture",
     [](const Fixture&, const std::string& in, const std::string&) {
         return W({"info", in});
     },
     ""},
};

std::string Line(const std::vector<std::string>& words) {
    std::string line = "ovlet";
    for (const auto& w : words) line += " " + w;
    return line;
}

TEST(OvletFailures, WhatACommandReads) {
    const Fixture f;
    struct Kind {
        const char* name;
        std::string card, picture, csv, vcf;  // the input for each role, "" where the kind does not apply
        int code;
        std::string message;  // after the input's path
    };
    const Kind kinds[] = {
        {"sound", f / "card.ovt", f / "photo.jpg", f / "people.csv", f / "one.vcf", 0, ""},
        {"missing", f / "missing", f / "missing", f / "missing", f / "missing", 2, ": no such file"},
        {"folder", f / "folder", f / "folder", f / "folder", f / "folder", 2, ": is a folder"},
        {"FIFO", f / "fifo", f / "fifo", f / "fifo", f / "fifo", 2, ": is a FIFO, not a regular file"},
        {"device", "/dev/zero", "/dev/zero", "/dev/zero", "/dev/zero", 2, ": is a device, not a regular file"},
        {"read error", "/proc/self/mem", "/proc/self/mem", "/proc/self/mem", "/proc/self/mem", 2,
         ": Input/output error"},
        {"too large", "", f / "huge.jpg", f / "huge.csv", f / "huge.vcf", 2, ": larger than "},
        {"damaged card", f / "cut.ovt", "", "", "", 3, " is damaged or truncated"},
        {"vCard without a card", "", "", "", f / "none.vcf", 3, ""},
        {"no picture", "", f / "text.jpg", "", "", 4, ""},
    };
    for (const Command& command : kCommands) {
        for (const Kind& kind : kinds) {
            const std::string role = command.inputRole;
            const std::string input = role == "card"      ? kind.card
                                      : role == "picture" ? kind.picture
                                      : role == "csv"     ? kind.csv
                                                          : kind.vcf;
            if (input.empty()) continue;
            const std::vector<std::string> words = command.words(f, input, "");
            SCOPED_TRACE(std::string(kind.name) + ": " + Line(words));
            const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, words);
            EXPECT_EQ(run.code, kind.code) << run.err;
            if (kind.code == 2) {
                EXPECT_NE(run.err.find("cannot read " + input + kind.message), std::string::npos) << run.err;
            } else if (!kind.message.empty()) {
                EXPECT_NE(run.err.find(input + kind.message), std::string::npos) << run.err;
            }
            if (kind.code != 0) {
                EXPECT_NE(run.err, "");
            }
        }
    }
}

// A way writing a command's output can go, and what the command answers.
struct WriteKind {
    const char* name;
    int code;
    const char* message;  // in the error output
    bool asNobody;
    long long fileLimit;
};

// Runs `check(command, kind, fixture)` for every command whose output is
// `outputKind` and every kind, each in a fixture of its own.
template <typename Check>
void ForEachWriteCase(const char* outputKind, std::span<const WriteKind> kinds, const Check& check) {
    for (const Command& command : kCommands) {
        if (std::string(command.outputKind) != outputKind) continue;
        for (const WriteKind& kind : kinds) {
            const Fixture f;
            check(command, kind, f);
        }
    }
}

// Runs the tool with `words` as `kind` asks (as nobody, or under a file size
// limit); nothing, with the failure added, when that cannot be set up.
std::optional<test_support::ToolResult> RunAs(const WriteKind& kind, const fs::path& folder,
                                              const std::vector<std::string>& words) {
    test_support::ToolSetup setup;
    setup.asNobody = kind.asNobody;
    setup.fileLimit = kind.fileLimit;
    std::string program = OVLET_BIN, why;
    if (kind.asNobody && ((program = ToolForNobody(why)).empty() || !NobodyCanWriteIn(folder, why))) {
        ADD_FAILURE() << "this case cannot be set up: " << why;
        return std::nullopt;
    }
    return test_support::RunTool(program, words, setup);
}

TEST(OvletFailures, WhatACommandWrites) {
    const WriteKind kinds[] = {
        {"new file", 0, "", false, -1},
        {"0600 target", 0, "", false, -1},
        {"symlink target", 0, "", false, -1},
        {"standard output", 0, "", false, -1},
        {"target is a folder", 2, "Is a directory", false, -1},
        {"read-only target", 2, "Permission denied", true, -1},
        {"read-only target folder", 2, "Permission denied", true, -1},
        {"full disk", 2, "File too large", false, 100},
    };
    const std::string old = "the old content";
    ForEachWriteCase("file", kinds, [&](const Command& command, const WriteKind& kind, const Fixture& f) {
        const fs::path d = f.dir.Path();
        const std::string name = kind.name;
        fs::path target = d / "target";
        if (name == "read-only target folder") {
            ::mkdir((d / "locked").c_str(), 0755);
            target = d / "locked" / "target";
        }
        if (name == "0600 target") PutText(target, old, 0600);
        if (name == "symlink target") {
            PutText(d / "real", old, 0640);
            ASSERT_EQ(::symlink("real", target.c_str()), 0);
            Give(target);
        }
        if (name == "target is a folder") ::mkdir(target.c_str(), 0755);
        if (name == "read-only target") PutText(target, old, 0444);
        if (name == "read-only target folder") {
            PutText(target, old, 0666);
            ::chmod((d / "locked").c_str(), 0555);
            Give(d / "locked");
        }
        if (name == "full disk") PutText(target, old, 0644);
        const std::string out = name == "standard output" ? "-" : target.string();

        const std::vector<std::string> words = command.words(f, "", out);
        SCOPED_TRACE(name + ": " + Line(words));
        const std::vector<std::string> before = Names(target.parent_path());
        const std::optional<test_support::ToolResult> result = RunAs(kind, d, words);
        if (!result) return;
        const test_support::ToolResult& run = *result;
        EXPECT_EQ(run.code, kind.code) << run.err;
        if (kind.code != 0) {
            EXPECT_NE(run.err.find(target.string()), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(kind.message), std::string::npos) << run.err;
            if (fs::is_regular_file(target)) {
                EXPECT_EQ(Text(target), old) << "the old file is as it was";
            }
            EXPECT_EQ(Names(target.parent_path()), before) << "nothing is left behind";
            return;
        }
        if (name == "standard output") {
            EXPECT_GT(run.out.size(), 20u);
            EXPECT_EQ(Names(d), before);
            return;
        }
        EXPECT_GT(test_support::ReadFileBytes(target).size(), 20u);
        if (name == "0600 target") {
            struct stat st {};
            ::stat(target.c_str(), &st);
            EXPECT_EQ(st.st_mode & 07777, 0600u);
        }
        if (name == "symlink target") {
            EXPECT_TRUE(fs::is_symlink(target)) << "a link stays a link";
            EXPECT_NE(Text(d / "real"), old) << "the file it names gets the content";
            struct stat st {};
            ::stat((d / "real").c_str(), &st);
            EXPECT_EQ(st.st_mode & 07777, 0640u);
        }
    });
}

// Batches write many cards into a folder: the same failures, and a card that
// is there already is never replaced.
TEST(OvletFailures, WhatABatchWrites) {
    const WriteKind kinds[] = {
        {"new folder", 0, "", false, -1},
        {"a card of that name is there", 0, "", false, -1},
        {"a file where the folder goes", 2, "cannot make the folder", false, -1},
        {"read-only folder", 2, "Permission denied", true, -1},
        {"full disk", 2, "File too large", false, 100},
    };
    const std::string old = "the old content";
    ForEachWriteCase("folder", kinds, [&](const Command& command, const WriteKind& kind, const Fixture& f) {
        const fs::path d = f.dir.Path();
        const std::string name = kind.name;
        const fs::path folder = d / "cards";
        if (name == "a file where the folder goes") {
            PutText(folder, old);
        } else if (name != "new folder") {
            ::mkdir(folder.c_str(), 0755);
            Give(folder);
            PutText(folder / "Ann_Lee.ovt", old);
        }
        if (name == "read-only folder") ::chmod(folder.c_str(), 0555);
        const std::vector<std::string> words = command.words(f, "", folder.string());
        SCOPED_TRACE(name + ": " + Line(words));
        const std::optional<test_support::ToolResult> result = RunAs(kind, d, words);
        if (!result) return;
        const test_support::ToolResult& run = *result;
        EXPECT_EQ(run.code, kind.code) << run.err;
        EXPECT_NE(run.err.find(kind.message), std::string::npos) << run.err;
        if (name == "a file where the folder goes") {
            EXPECT_EQ(Text(folder), old);
            return;
        }
        std::vector<std::string> expected;
        if (name == "new folder") expected = {"Ann_Lee.ovt"};
        if (name == "a card of that name is there") expected = {"Ann_Lee-2.ovt", "Ann_Lee.ovt"};
        if (kind.code != 0) expected = {"Ann_Lee.ovt"};
        EXPECT_EQ(Names(folder), expected);
        if (name != "new folder") {
            EXPECT_EQ(Text(folder / "Ann_Lee.ovt"), old);
        }
    });
}

#if !defined(__SANITIZE_ADDRESS__)
// A card that says it holds a 2 GiB picture, in a sparse 4 GiB file: what
// does not need the picture never reads it, so it runs in little memory.
TEST(OvletFailures, WhatDoesNotNeedThePictureNeverReadsIt) {
    test_support::TempFolder dir;
    const fs::path card = dir / "sparse.ovt";
    test_support::Bytes head = test_support::ReadFileBytes(test_support::kSample);
    card::CardRecord record;
    record.Company = "Sparse";
    card::RecordOnlySide side(record);
    head = card::EncodeCardFields(record, 0x7FFFFFFF);
    test_support::WriteFileBytes(card, head);
    ASSERT_EQ(::truncate(card.c_str(), 4LL << 30), 0);
    const std::vector<std::string> commands[] = {
        {"show", card.string()},
        {"show", "--json", card.string()},
        {"export", "--vcard", "--no-photo", card.string()},
        {"qr", card.string(), "-o", (dir / "q.png").string()},
    };
    for (const auto& words : commands) {
        SCOPED_TRACE(Line(words));
        test_support::ToolSetup setup;
        setup.memoryLimit = 256LL << 20;
        const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, words, setup);
        EXPECT_EQ(run.code, 0) << run.err;
    }
    EXPECT_NE(
        test_support::RunTool(OVLET_BIN, {"show", "--json", card.string()}).out.find("\"PictureLength\": 2147483647"),
        std::string::npos);
}

// Cards that say they hold far more than a card may (1.5 GiB of text, a
// 2 GiB picture, in sparse files): every command refuses them as damaged in
// little memory, before reading what they declare.
TEST(OvletFailures, CardsDeclaringHugeSizesAreDamaged) {
    test_support::TempFolder dir;
    test_support::Bytes field = card::EncodeCardFields(card::CardRecord{}, 0);
    const std::size_t notice = std::strlen(card::kCardNotice);
    field.resize(8 + (notice < 255 ? 1 : 3) + notice + 4);  // version, notice, reserved word
    field.insert(field.end(), {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x60});
    test_support::WriteFileBytes(dir / "field.ovt", field);
    ASSERT_EQ(::truncate((dir / "field.ovt").c_str(), 2LL << 30), 0);
    card::CardRecord record;
    record.Company = "Sparse";
    test_support::WriteFileBytes(dir / "picture.ovt", card::EncodeCardFields(record, 0x7FFFFFFF));
    ASSERT_EQ(::truncate((dir / "picture.ovt").c_str(), 3LL << 30), 0);
    for (const char* card : {"field.ovt", "picture.ovt"}) {
        const std::string path = (dir / card).string();
        const std::vector<std::string> commands[] = {
            {"show", path},
            {"picture", path, (dir / "p.jpg").string()},
            {"export", "--vcard", path},
            {"html", path, "-o", (dir / "c.html").string()},
            {"make", "--from", path, (dir / "m.ovt").string()},
#ifdef OVLET_HAVE_RENDER
            {"thumbnail", path, (dir / "t.png").string()},
#endif
        };
        for (const auto& words : commands) {
            if (std::string(card) == "picture.ovt" && words.front() == "show") continue;  // show only counts it
            SCOPED_TRACE(Line(words));
            test_support::ToolSetup setup;
            setup.memoryLimit = 1LL << 30;
            const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, words, setup);
            EXPECT_EQ(run.code, 3) << run.err;
            EXPECT_NE(run.err.find(" is damaged or truncated"), std::string::npos) << run.err;
        }
    }
}
#endif

// No command takes a missing result for success: a card without a picture
// has none to write.
TEST(OvletFailures, PictureOfACardWithoutOneIsNoSuccess) {
    test_support::TempFolder dir;
    const std::string card = (dir / "plain.ovt").string();
    ASSERT_EQ(test_support::RunTool(OVLET_BIN, {"make", card, "City=Oslo"}).code, 0);
    const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, {"picture", card, (dir / "p.jpg").string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("has no picture; nothing was written"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "p.jpg"));
}

}  // namespace
}  // namespace ovlet::cli
