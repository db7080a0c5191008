// Our vCards read by three independent parsers (ez-vcard, ical.js and
// evolution-data-server), and vCards that two of them write read by ours:
// pictures in any format leave as JPEG or PNG, parameters follow each
// version's grammar, control characters never reach an address book, and
// quoted-printable, escaped commas and 2.1 backslashes read as the peers
// read them. Each peer runs once for all files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card/codepage.h"
#include "exchange/vcard.h"
#include "exchange/vcard_text.h"
#include "peer_readers.h"
#include "tests/support/run_tool.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

constexpr const char* kFffd = "\xEF\xBF\xBD";

struct ExportCase {
    const char* name;
    card::CardRecord card;
    vcard::Version version;
    std::string fn;     // what every peer reads as FN (UTF-8)
    std::string title;  // and as TITLE
    std::string label;  // the first phone's label, "" for none
    const char* photo;  // the photo's media type, null for none
    test_support::Bytes picture;  // the card's own picture
};

// The bytes a peer gives for the photo: ez-vcard decodes them, ical.js and
// evolution give the base64 text (3.0) or the data: address (4.0).
test_support::Bytes PhotoBytes(const std::string& value) {
    std::string_view data = value;
    if (data.rfind("data:", 0) == 0) data.remove_prefix(data.find(',') + 1);
    auto bytes = vcard::Base64Decode(data);
    EXPECT_TRUE(bytes) << bytes.Error().Describe();
    return bytes ? std::move(bytes).Value() : test_support::Bytes{};
}

bool HasControl(const std::string& utf8) {
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\n' && c != '\r' && c != '\t') || c == 0x7F) return true;
    }
    return false;
}

TEST(VCardPeers, EzVCardIcalJsAndEvolutionReadEveryExport) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    card::CardRecord hostile;
    hostile.FirstName = "Ann\x1B[2J";
    hostile.LastName = "Lee\x07";
    hostile.JobTitle = std::string("Chief\x00\x7F", 7) + "\tof \"it\"";
    hostile.Phone1Description = "Desk \"A\" ^1 \x1B";
    hostile.Phone1Number = "555";
    const std::string hostileFn = std::string("Ann") + kFffd + "[2J Lee" + kFffd;
    const std::string hostileTitle = std::string("Chief") + kFffd + kFffd + "\tof \"it\"";
    const std::string fffd = kFffd;
    auto withPicture = [](const test_support::Bytes& picture) {
        card::CardRecord card;
        card.FirstName = "Pia";
        card.LastName = "Moss";
        card.SetPicture(picture);
        return card;
    };
    const card::CardRecord sample = SampleCard();
    const test_support::Bytes bmp = CorpusPicture("bmp/g/rgb32bf.bmp");
    const test_support::Bytes tga = CorpusPicture("tga/generated/im_rgba32_rle_tl.tga");
    const test_support::Bytes pict = CorpusPicture("pict/twelvemonkeys/mire32.pict");
    std::vector<ExportCase> cases;
    for (const auto version : {vcard::Version::V3_0, vcard::Version::V4_0}) {
        const bool v3 = version == vcard::Version::V3_0;
        cases.push_back({"sample", sample, version,
                         "Ren\xC3\xA9"
                         "e A. Okafor",
                         "Lead Engineer", "Office", "image/jpeg", sample.PictureBytes});
        // 3.0 cannot carry the quote and has no caret escapes: the caret is text.
        cases.push_back({"control characters and a quoted label",
                         hostile,
                         version,
                         hostileFn,
                         hostileTitle,
                         (v3 ? "Desk A ^1 " : "Desk \"A\" ^1 ") + fffd,
                         nullptr,
                         {}});
        cases.push_back({"BMP picture", withPicture(bmp), version, "Pia Moss", "", "", "image/png", bmp});
        cases.push_back({"Targa picture", withPicture(tga), version, "Pia Moss", "", "", "image/png", tga});
        cases.push_back({"PICT picture", withPicture(pict), version, "Pia Moss", "", "", "image/png", pict});
    }
    test_support::TempFolder dir;
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string text = vcard::EncodeVCard(cases[i].card, {cases[i].version});
        files.push_back(dir / (std::to_string(i) + ".vcf"));
        test_support::WriteFileBytes(files.back(), test_support::Bytes(text.begin(), text.end()));
    }
    const auto ez = peers::EzVCardRead(files);
    const auto ical = peers::IcalJsRead(files);
    const auto evolution = peers::EvolutionRead(files);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ExportCase& c = cases[i];
        const bool v3 = c.version == vcard::Version::V3_0;
        SCOPED_TRACE(std::string(c.name) + (v3 ? " 3.0" : " 4.0"));
        EXPECT_EQ(peers::One(ez[i], "FN"), c.fn);
        EXPECT_EQ(peers::One(ical[i], "FN"), c.fn);
        EXPECT_EQ(peers::One(evolution[i], "FN"), c.fn);
        if (!c.title.empty()) {
            EXPECT_EQ(peers::One(ez[i], "TITLE"), c.title);
            EXPECT_EQ(peers::One(ical[i], "TITLE"), c.title);
            EXPECT_EQ(peers::One(evolution[i], "TITLE"), c.title);
        }
        if (!c.label.empty()) {
            EXPECT_EQ(peers::One(ez[i], "TEL.LABEL"), c.label);
            EXPECT_EQ(peers::One(ical[i], "TEL;LABEL"), c.label);
            // evolution reads 3.0 by RFC 2426, where a caret escape shows.
            if (v3) {
                EXPECT_EQ(peers::One(evolution[i], "TEL;LABEL"), c.label);
            }
        }
        for (const auto* read : {&ez[i], &ical[i], &evolution[i]}) {
            for (const auto& [key, value] : *read) {
                if (key.rfind("PHOTO", 0) != 0) {
                    EXPECT_FALSE(HasControl(value)) << key;
                }
            }
        }
        if (!c.photo) {
            EXPECT_EQ(peers::All(ez[i], "PHOTO").size(), 0u);
            continue;
        }
        EXPECT_EQ(peers::One(ez[i], "PHOTO.type"), c.photo);
        const std::string subtype = vcard::Upper(std::string(c.photo).substr(6));
        if (v3) {
            EXPECT_EQ(peers::One(ical[i], "PHOTO;TYPE"), subtype);
            EXPECT_EQ(peers::One(evolution[i], "PHOTO;TYPE"), subtype);
        } else {
            EXPECT_EQ(peers::One(ical[i], "PHOTO").rfind("data:" + std::string(c.photo) + ";base64,", 0), 0u);
        }
        const std::string ezBytes = peers::One(ez[i], "PHOTO");
        const test_support::Bytes photo(ezBytes.begin(), ezBytes.end());
        EXPECT_EQ(PhotoBytes(peers::One(ical[i], "PHOTO")), photo);
        if (std::string(c.photo) == "image/jpeg") {
            EXPECT_EQ(photo, c.picture) << "a JPEG leaves as it is";
        } else {
            test_support::WriteFileBytes(dir / "photo.png", photo);
            EXPECT_EQ(MagickPixels(dir / "photo.png"), LibraryPixels(c.picture)) << "a PNG of the same pixels";
        }
    }
}

TEST(VCardPeers, WhatPeersWriteReadsAsThePeersReadIt) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    test_support::TempFolder dir;
    // ical.js escapes the comma of every data: address.
    const std::vector<std::filesystem::path> pictures = {
        std::string(OVLET_SAMPLES_DIR) + "/sample.jpg", std::string(OVLET_TESTS_DIR) + "/data/corpus/png/basn2c08.png"};
    const auto written = peers::IcalJsPhotos(dir.Path(), pictures);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE("ical.js photo " + pictures[i].filename().string());
        const test_support::Bytes text = test_support::ReadFileBytes(peers::One(written[i], "FILE"));
        const vcard::ReadResult read = vcard::DecodeVCards(std::string(text.begin(), text.end()));
        ASSERT_EQ(read.cards.size(), 1u);
        EXPECT_TRUE(read.cards[0].warnings.empty()) << read.cards[0].warnings.front().text;
        EXPECT_EQ(read.cards[0].record.PictureBytes, test_support::ReadFileBytes(pictures[i]));
    }

    // ez-vcard writes 2.1 notes in quoted-printable with soft line breaks
    // wherever the line is full: inside a character's bytes, and before a
    // space.
    std::string accents;
    for (int i = 0; i < 40; ++i) accents += "\xC3\xA9";
    const std::vector<std::string> notes = {
        "Tr\xC3\xA8s long texte avec des accents \xC3\xA9\xC3\xA8\xC3\xA0 \xC3\xA0 couper au milieu "
        "d'un caract\xC3\xA8re " +
            accents + " fin.",
        std::string(72, 'x') + " a space after the break",
        "Preis 5 \xE2\x82\xAC, " + std::string(60, '=') + " and on",
    };
    const auto ez = peers::EzVCardQuotedPrintable(dir.Path(), notes);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        SCOPED_TRACE("ez-vcard 2.1 note " + std::to_string(i));
        const test_support::Bytes text = test_support::ReadFileBytes(dir / (std::to_string(i) + ".vcf"));
        const vcard::ReadResult read = vcard::DecodeVCards(std::string(text.begin(), text.end()));
        ASSERT_EQ(read.cards.size(), 1u);
        EXPECT_TRUE(read.cards[0].warnings.empty()) << read.cards[0].warnings.front().text;
        EXPECT_EQ(card::Utf8FromAnsi(read.cards[0].record.GeneralInformation), peers::One(ez[i], "NOTE"));
    }

    // Backslashes and soft breaks in 2.1, as evolution reads them.
    struct Case {
        const char* name;
        std::string line;
    };
    const Case cases[] = {
        {"a doubled backslash", "NOTE:share \\\\\\\\server\\\\files \\\\x\r\n"},
        {"a soft break folded inside a character",
         "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:caf=C3=\r\n =A9 cr=C3=A8me\r\n"},
    };
    std::vector<std::filesystem::path> files;
    for (const auto& c : cases) {
        files.push_back(dir / (std::string(c.name) + ".vcf"));
        const std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Ann\r\n" + c.line + "END:VCARD\r\n";
        test_support::WriteFileBytes(files.back(), test_support::Bytes(text.begin(), text.end()));
    }
    const auto evolution = peers::EvolutionRead(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        const test_support::Bytes text = test_support::ReadFileBytes(files[i]);
        const vcard::ReadResult read = vcard::DecodeVCards(std::string(text.begin(), text.end()));
        ASSERT_EQ(read.cards.size(), 1u);
        EXPECT_EQ(card::Utf8FromAnsi(read.cards[0].record.GeneralInformation), peers::One(evolution[i], "NOTE"));
    }
}

}  // namespace
}  // namespace ovlet::exchange
