// Byte sources, the error type and the trace channel.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "picture/data_source.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

TEST(DataSource, ReadsAreCheckedAgainstTheEnd) {
    const std::uint8_t data[6] = {1, 2, 3, 4, 5, 6};
    CDataSource source;
    source.OpenData("six", data, 6);
    EXPECT_EQ(source.ReadBytes(2), data);
    EXPECT_EQ(source.ReadBytes(4), data + 2);  // exactly what is left
    EXPECT_EQ(source.GetBytesLeft(), 0);
    EXPECT_EQ(source.ReadBytes(0), data + 6);

    struct Case {
        const char* name;
        std::int32_t skipFirst;
        std::int32_t read;
    };
    constexpr Case kCases[] = {
        {"one past an empty rest", 6, 1},
        {"more than the whole", 0, 7},
        {"negative count", 3, -1},
        {"huge count", 1, 0x7FFFFFFF},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CDataSource s;
        s.OpenData("six", data, 6);
        s.ReadBytes(c.skipFirst);
        Failure failure = CatchFailure([&] { s.ReadBytes(c.read); });
        EXPECT_EQ(failure.code, DECERR_END_OF_DATA);
        EXPECT_EQ(failure.text, "End of file reached while decoding.\n");
        // The position stays where it was, inside the data.
        EXPECT_EQ(s.GetBytesLeft(), 6 - c.skipFirst);
        EXPECT_NO_THROW(s.CheckEndOfData());
    }
}

TEST(DataSource, CloseForgetsEverything) {
    const std::uint8_t data[2] = {1, 2};
    CDataSource source;
    source.OpenData("name", data, 2);
    EXPECT_STREQ(source.GetName(), "name");
    EXPECT_EQ(source.Close(), 0);
    EXPECT_EQ(source.GetName(), nullptr);
    EXPECT_EQ(source.GetReadPointer(), nullptr);
}

TEST(FileSource, OpenFileStatus) {
    test_support::TempFolder folder;
    test_support::WriteFileBytes(folder / "empty.jpg", {});
    test_support::WriteFileBytes(folder / "three.bin", {7, 8, 9});
    std::filesystem::create_directory(folder / "sub");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
#endif
    struct Case {
        const char* name;
        std::filesystem::path path;
        int status;
    };
    const Case kCases[] = {
        {"present", folder / "three.bin", 0},
        {"missing file in existing folder", folder / "missing.jpg", DECERR_FILE_NOT_FOUND},
        {"missing folder", folder / "nofolder" / "x.jpg", DECERR_PATH_NOT_FOUND},
        {"file used as a folder", folder / "three.bin" / "x.jpg", DECERR_PATH_NOT_FOUND},
        {"empty file", folder / "empty.jpg", DECERR_ACCESS},
        {"a folder is not a file", folder / "sub", DECERR_ACCESS},
#ifndef _WIN32
        {"a FIFO is refused at once, never waited on", folder / "fifo", DECERR_ACCESS},
#endif
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CFileSource source;
        const std::string path = c.path.string();
        EXPECT_EQ(source.OpenFile(path.c_str()), c.status);
        if (c.status == 0) {
            EXPECT_EQ(source.GetBytesLeft(), 3);
            EXPECT_EQ(source.ReadBytes(3)[2], 9);
            EXPECT_STREQ(source.GetName(), path.c_str());
        }
    }
}

TEST(TextException, RaiseDecoderErrorFormatsAndCopiesSurvive) {
    Failure failure = CatchFailure([] { RaiseDecoderError(DECERR_UNKNOWN_TYPE, "Unknown file type."); });
    EXPECT_EQ(failure.code, 8);
    EXPECT_EQ(failure.text, "Decoder error: Unknown file type.\n");

    // The formatted line is cut to 255 characters.
    std::string longText(400, 'x');
    failure = CatchFailure([&] { RaiseDecoderError(DECERR_FORMAT, longText.c_str()); });
    EXPECT_EQ(failure.text.size(), 255u);

    auto original = std::make_unique<CTextException>(5, "text");
    CTextException copy(*original);
    original.reset();
    EXPECT_EQ(copy.GetCode(), 5);
    EXPECT_STREQ(copy.GetText(), "text");
}

TEST(TextException, AMessageForAReportIsOneTrimmedLine) {
    const std::pair<const char*, const char*> cases[] = {
        {kEndOfDataText, "End of file reached while decoding."},
        {"Decoder error: Unsupported color conversion request\n",
         "Decoder error: Unsupported color conversion request"},
        {"  two\nlines \r\n", "two lines"},
        {"a\r\n\r\nb", "a b"},
        {"ends in a space\n next", "ends in a space next"},
        {"\n\n", ""},
        {nullptr, ""},
    };
    for (const auto& [text, line] : cases) {
        SCOPED_TRACE(text ? text : "(null)");
        EXPECT_EQ(MessageLine(text), line);
    }
}

std::string traced;
void CollectTrace(const char* text) {
    traced += text;
}

TEST(Trace, WritesOnlyWithASinkAndUpToItsLevel) {
    traced.clear();
    TraceMessage(0, "before any sink\n");
    SetTraceSink(CollectTrace);
    SetTraceLevel(1);
    TraceMessage(1, "level one %s\n");
    TraceMessage(2, "level two\n");
    Failure failure = CatchFailure([] { RaiseDecoderError(2, "bad"); });
    SetTraceSink(nullptr);
    SetTraceLevel(0);
    TraceMessage(0, "after\n");
    EXPECT_EQ(traced, "level one %s\nDecoder error: bad\n");
}

}  // namespace
}  // namespace ovlet::picture
