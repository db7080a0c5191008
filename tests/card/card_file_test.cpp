#include "card/card_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "card/archive_string.h"
#include "card_test_support.h"
#include "tests/support/byte_writer.h"

namespace ovlet::card {
namespace {

const std::size_t kNoticeLength = std::strlen(kCardNotice);

test_support::Bytes Head() {
    test_support::Bytes b = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    WriteArchiveString(b, kCardNotice);
    b.insert(b.end(), 4, 0);
    return b;
}

// A card file from its nineteen strings (in file order) and a picture.
test_support::Bytes CardBytes(const std::vector<std::string>& fields, std::int32_t pictureLength = 0,
                              const test_support::Bytes& picture = {}) {
    test_support::Bytes b = Head();
    for (std::size_t i = 0; i < 19; ++i) WriteArchiveString(b, i < fields.size() ? fields[i] : "");
    test_support::PutU32Le(b, static_cast<std::uint32_t>(pictureLength));
    b.insert(b.end(), picture.begin(), picture.end());
    return b;
}

test_support::Bytes Write(CardRecord& record, FakeWindow& window) {
    test_support::TempFolder dir;
    const auto path = dir / "card.ovt";
    EXPECT_EQ(FailureOf(WriteCardFile(path.string(), record, window)), kNoFailure);
    return test_support::ReadFileBytes(path);
}

TEST(CardFile, EmptyCardIs36PlusNoticeBytes) {
    CardRecord record;
    FakeWindow window;
    const test_support::Bytes bytes = Write(record, window);
    ASSERT_EQ(bytes.size(), 36 + kNoticeLength);
    EXPECT_EQ(bytes, CardBytes({}));
}

TEST(CardFile, CompanyAbcMatchesTheByteExample) {
    CardRecord record;
    record.Company = "abc";
    FakeWindow window;
    test_support::Bytes expected = Head();
    expected.insert(expected.end(), {3, 'a', 'b', 'c'});
    expected.insert(expected.end(), 18 + 4, 0);
    EXPECT_EQ(Write(record, window), expected);
}

TEST(CardFile, MultiLineFieldsComeFromTheirControls) {
    CardRecord record;
    record.StreetAddress = "stale";
    FakeWindow window;
    window.street = "1 Main St\r\nSuite 2";
    window.info = "hello";
    CardRecord back;
    FakeWindow readWindow;
    const test_support::Bytes bytes = Write(record, window);
    EXPECT_TRUE(ReadCardBytes(bytes.data(), bytes.size(), back, readWindow));
    EXPECT_EQ(readWindow.street, "1 Main St\r\nSuite 2");
    EXPECT_EQ(back.StreetAddress, "1 Main St\r\nSuite 2");
    EXPECT_EQ(readWindow.info, "hello");
}

struct ReadCase {
    const char* name;
    test_support::Bytes bytes;
    Failure outcome;
    std::string company;
    std::int32_t pictureLength;
    const char* message;  // the message shown, or null for none
};

TEST(CardFile, ReadOutcomes) {
    test_support::Bytes otherVersion = CardBytes({"v"});
    otherVersion[7] = 0x40;  // 2.0
    test_support::Bytes wideCompany = Head();
    wideCompany.insert(wideCompany.end(), {0xFF, 0xFE, 0xFF, 0x02, 'O', 0, 'K', 0});
    for (int i = 0; i < 18; ++i) wideCompany.push_back(0);
    wideCompany.insert(wideCompany.end(), 4, 0);
    test_support::Bytes doubleMarker = Head();
    doubleMarker.insert(doubleMarker.end(), {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0});
    test_support::Bytes endsAfterInfo = CardBytes({"x"});
    endsAfterInfo.resize(endsAfterInfo.size() - 4);
    const ReadCase cases[] = {
        {"empty file", {}, CardError::Kind::PastEnd, "", 0, kPastEndMessage},
        {"version other than 1.0", otherVersion, kNoFailure, "v", 0, nullptr},
        {"wide-text company", wideCompany, kNoFailure, "OK", 0, nullptr},
        {"second wide marker", doubleMarker, CardError::Kind::Damaged, "", 0, kDamagedMessage},
        {"picture length -5", CardBytes({"neg"}, -5), kNoFailure, "neg", 0, nullptr},
        {"ends right after the last field", endsAfterInfo, kNoFailure, "x", 0, nullptr},
        {"picture shorter than its length", CardBytes({"p"}, 1000, test_support::Bytes(10, 7)), kNoFailure, "p", 10,
         nullptr},
        {"hostile picture length", CardBytes({"h"}, 0x7FFFFFFF), kNoFailure, "h", 0, nullptr},
        {"one-byte picture", CardBytes({"one"}, 1, test_support::Bytes(1, 7)), kNoFailure, "one", 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardRecord record;
        FakeWindow window;
        const auto result = ReadCardBytes(c.bytes.data(), c.bytes.size(), record, window);
        EXPECT_EQ(FailureOf(result), c.outcome);
        EXPECT_EQ(record.Company, c.company);
        EXPECT_EQ(record.PictureLength, c.pictureLength);
        EXPECT_EQ(record.PictureBytes.size(), static_cast<std::size_t>(c.pictureLength));
        if (c.message) {
            ASSERT_EQ(NotesOf(result).size(), 1u);
            EXPECT_EQ(NotesOf(result)[0].icon, CardMessageIcon::Stop);
            EXPECT_EQ(CardNoteText(NotesOf(result)[0]), c.message);
            EXPECT_TRUE(record.NameLine.empty()) << "no summary is composed for a card that stopped";
        } else {
            EXPECT_TRUE(NotesOf(result).empty());
            EXPECT_EQ(record.EMailLine, "E-Mail: ");
        }
    }
}

// The English words of each note, its reason in place.
TEST(CardFile, NotesInEnglish) {
    const std::pair<CardNote, const char*> cases[] = {
        {{CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}},
         "Unable to open file with this name.  Please try a different name."},
        {{CardMessageIcon::Stop, CardNoteId::PastEnd, {}}, "An attempt was made to access an unnamed file past its end."},
        {{CardMessageIcon::Stop, CardNoteId::Damaged, {}}, "The card file is damaged and cannot be read."},
        {{CardMessageIcon::Exclamation, CardNoteId::PictureNotShown, {"Decoder error: Unknown file type.\n"}},
         "The card's picture cannot be shown.\n\nDecoder error: Unknown file type.\n"},
        // A reason holding a marker is put in as it is.
        {{CardMessageIcon::Exclamation, CardNoteId::PictureNotShown, {"50%1"}},
         "The card's picture cannot be shown.\n\n50%1"},
    };
    for (const auto& [note, text] : cases) EXPECT_EQ(CardNoteText(note), text);
}

TEST(CardFile, UnopenableFileKeepsTheLabelAndClearsThePath) {
    CardRecord record;
    FakeWindow window;
    const auto result = ReadCardFile("/nonexistent/dir/card.ovt", record, window);
    EXPECT_EQ(FailureOf(result), CardError::Kind::CannotOpen);
    EXPECT_EQ(record.CurrentPath, "");
    EXPECT_EQ(record.CurrentFileLabel, "/nonexistent/dir/card.ovt");
    ASSERT_EQ(NotesOf(result).size(), 1u);
    EXPECT_EQ(NotesOf(result)[0], (CardNote{CardMessageIcon::Exclamation, CardNoteId::CannotOpen, {}}));
}

#ifndef _WIN32
// POSIX only: FIFOs, /dev/zero and modes (files_win32_test.cpp has the Windows cases).
// Only a regular file is a card: the rest is refused before a byte is read
// (a FIFO would block, a device never end).
TEST(CardFile, Posix_ReadsOnlyRegularFiles) {
    test_support::TempFolder dir;
    ::mkfifo((dir / "fifo").c_str(), 0644);
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "fifo").string(), "is a FIFO, not a regular file"},
        {dir.Path().string(), "is a folder"},
        {"/dev/zero", "is a device, not a regular file"},
        {(dir / "missing.ovt").string(), "no such file"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        CardRecord record;
        FakeWindow window;
        const auto result = ReadCardFile(path, record, window);
        EXPECT_EQ(FailureOf(result), CardError::Kind::CannotOpen);
        EXPECT_EQ(result.Error().Describe(), "cannot read " + path + ": " + reason);
        ASSERT_EQ(NotesOf(result).size(), 1u);
        EXPECT_EQ(CardNoteText(NotesOf(result)[0]), kCannotOpenCardMessage);
    }
}
#endif

// A card that says it holds a 2 GiB picture in a sparse 4 GiB file: reading
// its text does not touch the picture, and the count is still right.
TEST(CardFile, ReadingWithoutThePictureNeverTouchesIt) {
    test_support::TempFolder dir;
    const auto path = dir / "sparse.ovt";
    test_support::WriteFileBytes(path, CardBytes({"Acme"}, 0x7FFFFFFF));
    std::filesystem::resize_file(path, 4ull << 30);
    CardRecord record;
    FakeWindow window;
    CardReadOptions options;
    options.readPicture = false;
    const auto result = ReadCardFile(path.string(), record, window, options);
    ASSERT_EQ(FailureOf(result), kNoFailure);
    EXPECT_EQ(result->pictureLength, 0x7FFFFFFF);
    EXPECT_FALSE(result->pictureShort);
    EXPECT_FALSE(record.HasPicture());
    EXPECT_EQ(record.Company, "Acme");
    EXPECT_TRUE(window.shownBytes.empty());
}

// A field or a picture over its limit is refused before anything is
// allocated for it, however many bytes the file holds (a sparse file holds
// gigabytes for nothing); a card over them is never written either.
TEST(CardFile, SizesOverTheLimitsAreDamagedBeforeAnyAllocation) {
    test_support::TempFolder dir;
    // Company says it is 1.5 GiB long, in the 32-bit form; the file holds it.
    test_support::Bytes hugeField = Head();
    hugeField.insert(hugeField.end(), {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x60});
    const auto fieldPath = dir / "field.ovt";
    test_support::WriteFileBytes(fieldPath, hugeField);
    std::filesystem::resize_file(fieldPath, 2ull << 30);
    // A picture of 200 MiB that the file holds (zeros, sparse).
    const auto picturePath = dir / "picture.ovt";
    test_support::WriteFileBytes(picturePath, CardBytes({"Acme"}, 200 << 20));
    std::filesystem::resize_file(picturePath, 201ull << 20);
    struct Case {
        const char* name;
        std::filesystem::path path;
        bool readPicture;
        Failure outcome;
        std::string company;
    };
    const Case cases[] = {
        {"a 1.5 GiB field", fieldPath, true, CardError::Kind::Damaged, ""},
        {"a 1.5 GiB field, picture not wanted", fieldPath, false, CardError::Kind::Damaged, ""},
        {"a 200 MiB picture", picturePath, true, CardError::Kind::Damaged, "Acme"},
        {"a 200 MiB picture, only counted", picturePath, false, kNoFailure, "Acme"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardRecord record;
        FakeWindow window;
        CardReadOptions options;
        options.readPicture = c.readPicture;
        const auto result = ReadCardFile(c.path.string(), record, window, options);
        EXPECT_EQ(FailureOf(result), c.outcome);
        EXPECT_EQ(record.Company, c.company);
        EXPECT_FALSE(record.HasPicture());
        if (c.outcome == CardError::Kind::Damaged) {
            ASSERT_EQ(NotesOf(result).size(), 1u);
            EXPECT_EQ(CardNoteText(NotesOf(result)[0]), kDamagedMessage);
        }
    }
    // The limits themselves: a field of exactly 1 MiB is read, one byte more is not.
    for (const std::size_t length : {kMaxCardFieldBytes, kMaxCardFieldBytes + 1}) {
        SCOPED_TRACE(length);
        const test_support::Bytes bytes = CardBytes({"", std::string(length, 'a')});
        CardRecord record;
        FakeWindow window;
        const auto result = ReadCardBytes(bytes.data(), bytes.size(), record, window);
        EXPECT_EQ(FailureOf(result), length == kMaxCardFieldBytes ? kNoFailure : CardError::Kind::Damaged);
        EXPECT_EQ(record.StreetAddress.size(), length == kMaxCardFieldBytes ? length : 0u);
    }
    // What could not be read back is not written.
    CardRecord record;
    record.GeneralInformation = std::string(kMaxCardFieldBytes + 1, 'g');
    RecordOnlySide side(record);
    const auto out = dir / "out.ovt";
    auto written = WriteCardFile(out.string(), record, side);
    EXPECT_EQ(FailureOf(written), CardError::Kind::CannotOpen);
    EXPECT_EQ(written.Error().Describe(),
              "cannot write " + out.string() + ": GeneralInformation is longer than a card may hold (1 MiB)");
    record.GeneralInformation.clear();
    const test_support::Bytes picture(kMaxCardPictureBytes + 1, 0);
    written = WriteCardWithPicture(out.string(), record, picture.data(), picture.size());
    EXPECT_EQ(FailureOf(written), CardError::Kind::CannotOpen);
    EXPECT_EQ(written.Error().Describe(), "cannot write " + out.string() + ": the picture is larger than a card may hold (128 MiB)");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FailureOf(WriteCardWithPicture(out.string(), record, picture.data(), kMaxCardPictureBytes)),
              kNoFailure);
}

// The panel gets the picture's bytes in memory: reading a card writes no file.
TEST(CardFile, PictureIsHandedOverInMemory) {
    test_support::TempFolder dir;
    const test_support::Bytes picture = {0xFF, 0xD8, 0xFF, 1, 2, 3, 4};
    const auto path = dir / "pic.ovt";
    test_support::WriteFileBytes(path, CardBytes({"pic"}, static_cast<std::int32_t>(picture.size()), picture));
    CardRecord record;
    FakeWindow window;
    const auto result = ReadCardFile(path.string(), record, window);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->pictureShown);
    ASSERT_EQ(window.shownBytes.size(), 1u);
    EXPECT_EQ(window.shownBytes[0], picture);
    EXPECT_EQ(record.ImageSizeText, "64 x 48");
    EXPECT_EQ(record.CurrentPath, path.string());
}

TEST(CardFile, UndecodablePictureIsKeptAndSavedAgain) {
    const test_support::Bytes picture(300, 0xAB);
    const test_support::Bytes original = CardBytes({"Acme"}, 300, picture);
    CardRecord record;
    FakeWindow window;
    window.decodes = false;
    const auto result = ReadCardBytes(original.data(), original.size(), record, window);
    ASSERT_EQ(FailureOf(result), kNoFailure);
    EXPECT_FALSE(result->pictureShown);
    EXPECT_EQ(record.ImageSizeText, "N/A");
    ASSERT_EQ(NotesOf(result).size(), 1u);
    EXPECT_EQ(NotesOf(result)[0], (CardNote{CardMessageIcon::Exclamation, CardNoteId::PictureNotShown,
                                         {"Decoder error: unknown file type."}}));
    EXPECT_EQ(Write(record, window), original);
}

// Every prefix of the sample card reads without harm, with the outcome that
// belongs to where it was cut.
TEST(CardFile, TruncationSweepOverTheSampleCard) {
    const test_support::Bytes full =
        test_support::ReadFileBytes(std::filesystem::path(OVLET_SAMPLES_DIR) / "sample.ovt");
    ASSERT_GT(full.size(), 1000u);
    CardRecord whole;
    FakeWindow wholeWindow;
    ASSERT_EQ(FailureOf(ReadCardBytes(full.data(), full.size(), whole, wholeWindow)), kNoFailure);
    const std::size_t pictureStart = full.size() - static_cast<std::size_t>(whole.PictureLength);
    const std::size_t lengthStart = pictureStart - 4;
    // Every cut in the text and the picture length, then every 37th in the
    // picture bytes; each read from memory, from a file, and from a file
    // without its picture.
    test_support::TempFolder dir;
    const auto path = dir / "cut.ovt";
    for (std::size_t cut = 0; cut <= full.size();
         cut = cut < lengthStart + 8 || cut == full.size() ? cut + 1 : std::min(cut + 37, full.size())) {
        SCOPED_TRACE(cut);
        const test_support::Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        test_support::WriteFileBytes(path, prefix);
        for (int way = 0; way < 3; ++way) {
            SCOPED_TRACE(way == 0 ? "memory" : way == 1 ? "file" : "file without picture");
            CardRecord record;
            FakeWindow window;
            window.decodes = false;
            CardReadOptions options;
            options.readPicture = way != 2;
            const auto result = way == 0 ? ReadCardBytes(prefix.data(), prefix.size(), record, window)
                                                   : ReadCardFile(path.string(), record, window, options);
            if (cut < lengthStart) {
                ASSERT_EQ(FailureOf(result), CardError::Kind::PastEnd);
                continue;
            }
            ASSERT_EQ(FailureOf(result), kNoFailure);
            for (const auto& f : kCardFields) ASSERT_EQ(record.*f.member, whole.*f.member) << f.name;
            const std::size_t expected = cut < pictureStart ? 0 : cut - pictureStart;
            ASSERT_EQ(result->pictureLength, static_cast<std::int32_t>(expected));
            ASSERT_EQ(record.PictureLength, options.readPicture ? static_cast<std::int32_t>(expected) : 0);
            ASSERT_TRUE(std::equal(record.PictureBytes.begin(), record.PictureBytes.end(),
                                   full.begin() + static_cast<std::ptrdiff_t>(pictureStart)));
        }
    }
}

std::string RandomText(std::mt19937& rng) {
    static const std::size_t kLengths[] = {0, 1, 20, 254, 255, 256, 65533, 65534, 65535, 70000};
    const std::size_t length = kLengths[rng() % std::size(kLengths)];
    std::string s(length, ' ');
    for (auto& c : s) c = static_cast<char>(1 + rng() % 255);
    return s;
}

TEST(CardFile, WriteReadWriteIsByteForByteForRandomCards) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        CardRecord record;
        FakeWindow window;
        for (const auto& f : kCardFields) record.*f.member = RandomText(rng);
        window.street = record.StreetAddress;
        window.info = record.GeneralInformation;
        if (round % 3 != 0) {
            test_support::Bytes picture(rng() % 5000 + 1);
            for (auto& b : picture) b = static_cast<std::uint8_t>(rng());
            record.SetPicture(picture);
        }
        const test_support::Bytes first = Write(record, window);
        CardRecord back;
        FakeWindow backWindow;
        ASSERT_EQ(FailureOf(ReadCardBytes(first.data(), first.size(), back, backWindow)), kNoFailure);
        for (const auto& f : kCardFields) ASSERT_EQ(back.*f.member, record.*f.member) << f.name;
        EXPECT_EQ(Write(back, backWindow), first);
        // The file reader's buffer boundaries fall inside the long fields.
        test_support::TempFolder dir;
        test_support::WriteFileBytes(dir / "r.ovt", first);
        CardRecord fromFile;
        FakeWindow fileWindow;
        ASSERT_EQ(FailureOf(ReadCardFile((dir / "r.ovt").string(), fromFile, fileWindow)), kNoFailure);
        for (const auto& f : kCardFields) ASSERT_EQ(fromFile.*f.member, record.*f.member) << f.name;
        EXPECT_EQ(fromFile.PictureBytes, back.PictureBytes);
    }
}

// Failing writes, injected through the file operations the save uses.
long FailAfter(int fd, const void* data, unsigned long size);
int gWritesLeft = 0;
int gWriteErrno = ENOSPC;
long FailAfter(int fd, const void* data, unsigned long size) {
    if (gWritesLeft-- <= 0) {
        errno = gWriteErrno;
        return -1;
    }
    return DefaultCardFileOps().write(fd, data, size < 100 ? size : 100);
}
int FailingFsync(int) {
    errno = EIO;
    return -1;
}

TEST(CardFile, FailedSaveLeavesTheOldCardIntact) {
    struct Case {
        const char* name;
        int writesBeforeFailure;
        int error;
        bool failFsync;
        const char* messageStart;
    };
    const Case cases[] = {
        {"disk full at once", 0, ENOSPC, false, "Disk full while accessing "},
        {"disk full in the picture", 10, ENOSPC, false, "Disk full while accessing "},
        {"input/output error", 3, EIO, false, "An error occurred while writing "},
        {"flush to disk fails", 1000000, 0, true, "An error occurred while writing "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder dir;
        const auto path = dir / "card.ovt";
        const test_support::Bytes old = CardBytes({"Old Company"}, 3, {1, 2, 3});
        test_support::WriteFileBytes(path, old);
        CardRecord record;
        FakeWindow window;
        record.Company = "New Company";
        record.SetPicture(test_support::Bytes(5000, 9));
        gWritesLeft = c.writesBeforeFailure;
        gWriteErrno = c.error;
        const CardFileOps ops{FailAfter, c.failFsync ? FailingFsync : DefaultCardFileOps().fsync};
        const auto result = WriteCardFile(path.string(), record, window, ops);
        EXPECT_EQ(FailureOf(result), CardError::Kind::WriteFailed);
        EXPECT_EQ(result.Error().Describe().rfind(c.messageStart, 0), 0u) << result.Error().Describe();
        EXPECT_NE(result.Error().Describe().find(path.string()), std::string::npos);
        EXPECT_EQ(test_support::ReadFileBytes(path), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no partial file left";
    }
}

TEST(CardFile, SaveThatCannotOpenWritesNothing) {
    test_support::TempFolder dir;
    CardRecord record;
    FakeWindow window;
    EXPECT_EQ(FailureOf(WriteCardFile((dir / "missing" / "card.ovt").string(), record, window)),
              CardError::Kind::CannotOpen);
    EXPECT_EQ(FailureOf(WriteCardFile(dir.Path().string(), record, window)), CardError::Kind::CannotOpen);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

#ifndef _WIN32
// POSIX only: FIFOs, /dev/zero and modes (files_win32_test.cpp has the Windows cases).
TEST(CardFile, Posix_SaveReplacesTheCardAndKeepsItsPermissions) {
    test_support::TempFolder dir;
    const auto path = dir / "card.ovt";
    test_support::WriteFileBytes(path, {1, 2, 3});
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    CardRecord record;
    record.City = "Oslo";
    FakeWindow window;
    ASSERT_EQ(FailureOf(WriteCardFile(path.string(), record, window)), kNoFailure);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(test_support::ReadFileBytes(path), CardBytes({"", "", "Oslo"}));
}
#endif

TEST(CardRecord, ClearCardRestoresTheNewCardState) {
    CardRecord record;
    for (const auto& f : kCardFields) record.*f.member = "x";
    for (const auto& s : kCardStateStrings) record.*s.member = "y";
    record.CurrentPath = "/a/b.ovt";
    record.SetPicture({1, 2, 3});
    record.ClearCard();
    const CardRecord fresh;
    for (const auto& f : kCardFields) EXPECT_EQ(record.*f.member, fresh.*f.member) << f.name;
    for (const auto& s : kCardStateStrings) EXPECT_EQ(record.*s.member, fresh.*s.member) << s.name;
    EXPECT_EQ(record.CurrentFileLabel, "Untitled");
    EXPECT_EQ(record.ImageSizeText, "N/A");
    EXPECT_EQ(record.CurrentPath, "");
    EXPECT_EQ(record.PictureLength, 0);
    EXPECT_TRUE(record.PictureBytes.empty());
}

}  // namespace
}  // namespace ovlet::card
