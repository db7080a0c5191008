// Cards and pictures shared by the vCard and QR tests, and the independent
// readers they are checked with.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "card/card_file.h"
#include "card_test_support.h"
#include "picture/any_pic_decoder.h"
#include "picture/win_bmp.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_files.h"

namespace ovlet::exchange {

// Bytes written as hex digits, two a byte ("-", as the checkers write an
// empty value, gives none).
inline std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

using Values = std::vector<std::pair<std::string, std::string>>;  // key, value

// Runs one of the Python checkers beside these tests on a file and reads what
// it prints: a line a value, the key, a tab and the value in hex. Any other
// line is the checker's complaint, and fails the test.
inline Values RunChecker(const char* script, const std::filesystem::path& file) {
    const std::string command =
        "/usr/bin/python3 '" OVLET_TESTS_DIR "/exchange/" + std::string(script) + "' '" + file.string() + "' 2>&1";
    Values values;
    std::istringstream lines(test_support::RunShell(command).out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            ADD_FAILURE() << script << ": " << line;
            continue;
        }
        values.emplace_back(line.substr(0, tab), FromHex(line.substr(tab + 1)));
    }
    return values;
}

// A 1 x 1 PNG (red, opaque) and the start of a GIF, as base64.
constexpr const char* kPngBase64 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP4z8DwHwAFAAH/VscvDQAAAABJRU5ErkJggg==";
constexpr const char* kGifBase64 = "R0lGODlhAQABAAAAACw=";

inline test_support::Bytes SamplePicture() {
    return test_support::ReadFileBytes(std::string(OVLET_SAMPLES_DIR) + "/sample.jpg");
}

// Every field at its typing limit (the multi-line fields with several lines),
// with the characters the escaping rules care about and Windows-1252 letters.
inline card::CardRecord AtLimitCard() {
    static const std::string kPattern = "Ab,;\\ \xE9\x80\"^:";
    card::CardRecord r;
    for (const auto& f : card::kCardFields) {
        std::string v;
        if (f.limit == 0) {
            v = "First line, with; marks \\ and \xA7\r\nSecond line \x80\r\n\r\nFourth";
        } else {
            while (v.size() < static_cast<std::size_t>(f.limit)) v += kPattern[v.size() % kPattern.size()];
        }
        r.*f.member = v;
    }
    r.Phone1Description = "Mobile";
    r.Phone2Description = "Fax line";
    r.SetPicture(SamplePicture());
    return r;
}

// A picture of the test corpus (tests/data/corpus/...).
inline test_support::Bytes CorpusPicture(const std::string& name) {
    return test_support::ReadFileBytes(std::string(OVLET_TESTS_DIR) + "/data/corpus/" + name);
}

// A picture's pixels as red, green, blue and alpha bytes, top line first, as
// the picture library decodes them (alpha 255 where it means nothing).
inline std::string LibraryPixels(const test_support::Bytes& picture) {
    picture::CAnyPicDecoder decoder;
    picture::CWinBmp bitmap;
    decoder.DecodeMemory("picture", picture.data(), static_cast<std::int32_t>(picture.size()), &bitmap, 32);
    std::string out;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            const std::uint8_t* p = line + 4 * x;
            out += {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]),
                    static_cast<char>(bitmap.HasAlpha() ? p[3] : 255)};
        }
    }
    return out;
}

// The same as ImageMagick, an independent reader, decodes a picture file.
inline std::string MagickPixels(const std::filesystem::path& file) {
    return test_support::RunShell("convert '" + file.string() + "' -depth 8 rgba:-").out;
}

inline card::CardRecord SampleCard() {
    card::CardRecord record;
    card::RecordOnlySide side(record);
    EXPECT_TRUE(card::ReadCardFile(std::string(OVLET_SAMPLES_DIR) + "/sample.ovt", record, side));
    return record;
}

// The sample card with values far past anything a card is laid out for: a
// company name of at least `companyBytes` bytes, a street of `streetLines`
// lines and a first name of 400 letters.
inline card::CardRecord OverlongCard(std::size_t companyBytes, int streetLines) {
    card::CardRecord card = SampleCard();
    std::string company;
    while (company.size() < companyBytes) company += "Harbour ";
    card.Company = company;
    std::string street;
    for (int i = 0; i < streetLines; ++i) street += "Line\r\n";
    card.StreetAddress = street;
    card.FirstName = std::string(400, 'W');
    return card;
}

}  // namespace ovlet::exchange
