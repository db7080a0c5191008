// The value encodings against independent implementations: Python's base64,
// binascii and uuid modules (run as a child process) and published tables.
#include "exchange/vcard_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/name_uuid.h"
#include "tests/support/run_tool.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

// Bytes of every value, the test pattern for length n.
std::string Pattern(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += static_cast<char>((i * 37 + 11) & 0xFF);
    return out;
}

struct Reference {
    std::string base64;
    std::string quotedPrintable;  // without soft line breaks
};

// Python's encodings of Pattern(n) for n = 0 .. 47: every length mod 3 and
// mod 4 many times over, with every byte value class in the pattern.
const std::map<std::size_t, Reference>& References() {
    static const std::map<std::size_t, Reference> references = [] {
        std::istringstream lines(
            test_support::RunShell("/usr/bin/python3 '" OVLET_TESTS_DIR "/exchange/encodings_reference.py'").out);
        std::map<std::size_t, Reference> out;
        std::size_t n = 0;
        std::string b64, qp;
        while (lines >> n >> b64 >> qp) out[n] = {b64 == "-" ? "" : FromHex(b64), qp == "-" ? "" : FromHex(qp)};
        return out;
    }();
    return references;
}

TEST(VCardEncodings, Base64MatchesPythonForEveryLength) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    ASSERT_EQ(References().size(), 48u) << "python3 did not answer";
    for (const auto& [n, ref] : References()) {
        SCOPED_TRACE(n);
        const std::string data = Pattern(n);
        EXPECT_EQ(vcard::Base64Encode(reinterpret_cast<const std::uint8_t*>(data.data()), n), ref.base64);
        // Padded, unpadded and folded input all decode to the same bytes.
        std::string unpadded = ref.base64;
        while (!unpadded.empty() && unpadded.back() == '=') unpadded.pop_back();
        std::string folded;
        for (std::size_t i = 0; i < ref.base64.size(); ++i)
            folded += (i % 5 == 4 ? "\r\n " : "") + ref.base64.substr(i, 1);
        for (const std::string& input : {ref.base64, unpadded, folded}) {
            const auto decoded = vcard::Base64Decode(input);
            ASSERT_TRUE(decoded) << input << ": " << decoded.Error().Describe();
            EXPECT_EQ(std::string(decoded->begin(), decoded->end()), data);
        }
        // One digit more than a whole number of groups is never valid data.
        if (unpadded.size() % 4 == 0) {
            const auto damaged = vcard::Base64Decode(unpadded + "A");
            ASSERT_FALSE(damaged) << unpadded;
            EXPECT_EQ(damaged.Error().kind, ExchangeError::Kind::Base64Damaged);
            EXPECT_NE(damaged.Error().Describe().find("middle of a base64 group"), std::string::npos);
        }
    }
}

TEST(VCardEncodings, QuotedPrintableDecodesPythonsEncoding) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    ASSERT_EQ(References().size(), 48u) << "python3 did not answer";
    for (const auto& [n, ref] : References()) {
        SCOPED_TRACE(n);
        EXPECT_EQ(vcard::QuotedPrintableDecode(ref.quotedPrintable), Pattern(n)) << ref.quotedPrintable;
    }
    // A malformed escape stands as it is; lower-case hex digits are read.
    EXPECT_EQ(vcard::QuotedPrintableDecode("a=4"), "a=4");
    EXPECT_EQ(vcard::QuotedPrintableDecode("=zz=e9="), "=zz\xE9=");
}

TEST(VCardEncodings, NameUuidsMatchPython) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    // SHA-1 of the FIPS 180 examples.
    const std::pair<std::string, std::string> digests[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    };
    for (const auto& [text, hex] : digests) {
        std::string got;
        for (const auto b : Sha1(text)) {
            char buf[3];
            std::snprintf(buf, sizeof buf, "%02x", b);
            got += buf;
        }
        EXPECT_EQ(got, hex) << text;
    }
    // Version-5 UUIDs of a few names against Python's uuid module (the DNS namespace).
    const UuidBytes dns = {0x6b, 0xa7, 0xb8, 0x10, 0x9d, 0xad, 0x11, 0xd1,
                           0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};
    const std::vector<std::string> names = {"python.org", "",
                                            "Ren\xC3\xA9"
                                            "e\nOkafor",
                                            std::string(200, 'x')};
    for (const std::string& name : names) {
        std::string hex;
        for (const char c : name) {
            char buf[3];
            std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
            hex += buf;
        }
        const std::string expected =
            test_support::RunShell(
                "/usr/bin/python3 -c \"import uuid; print(uuid.uuid5(uuid.NAMESPACE_DNS, bytes.fromhex('" + hex +
                "').decode()), end='')\"")
                .out;
        EXPECT_EQ(Version5Uuid(dns, name), expected) << name;
    }
}

TEST(VCardEncodings, EscapesOfEachVersion) {
    struct Case {
        const char* text;
        bool structured;
        vcard::Dialect dialect;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"a\\,b\\;c\\\\d\\ne\\Nf", false, vcard::Dialect::V30, {"a,b;c\\d\ne\nf"}},
        {"a\\,b\\;c\\\\d\\ne", false, vcard::Dialect::V21, {"a\\,b;c\\d\\ne"}},
        {"\\\\\\\\\\x\\", false, vcard::Dialect::V21, {"\\\\\\x\\"}},
        {"http\\://x\\/y", false, vcard::Dialect::V40, {"http://x/y"}},
        {"http\\://x", false, vcard::Dialect::V21, {"http\\://x"}},
        {"a;b\\;c;", true, vcard::Dialect::V40, {"a", "b;c", ""}},
        {"a;b\\;c;", true, vcard::Dialect::V21, {"a", "b;c", ""}},
        {"ends in a backslash\\", false, vcard::Dialect::V30, {"ends in a backslash\\"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(vcard::Unescape(c.text, c.structured, c.dialect), c.parts);
    }
    // What the writer escapes, the reader gives back, in both versions.
    const std::string hostile = "a\\b,c;d\\ne\r\nf\\\\,;";
    for (const vcard::Dialect d : {vcard::Dialect::V30, vcard::Dialect::V40}) {
        for (const bool compound : {false, true}) {
            const std::string written = vcard::EscapeText(hostile, d, compound);
            std::string expected = hostile;
            expected.replace(expected.find("\r\n"), 2, "\n");
            EXPECT_EQ(vcard::Unescape(written, false, d).front(), expected) << written;
            if (compound) {
                EXPECT_EQ(vcard::Unescape(written, true, d).size(), 1u) << written;
            }
        }
    }
    const std::string uri = "http://x/a,b;c\\d\r\n%2c%41";
    EXPECT_EQ(vcard::EscapeUri(uri), "http://x/a%2Cb%3Bc%5Cd%0D%0A%2c%41");
    EXPECT_EQ(vcard::UnescapeUri(vcard::EscapeUri(uri)), "http://x/a,b;c\\d\r\n,%41");
}

// Other character sets are the files' (tests/files/charset_test.cpp).
TEST(VCardEncodings, Utf16Text) {
    std::size_t invalid = 0;
    // UTF-16 with a surrogate pair, a lone surrogate and an odd last byte.
    const std::string le(
        "A\0=\xD8\x00\xDE\x00\xD8"
        "B\0x",
        11);
    EXPECT_EQ(vcard::Utf8FromUtf16(le, false, invalid),
              "A\xF0\x9F\x98\x80\xEF\xBF\xBD"
              "B\xEF\xBF\xBD");
    EXPECT_EQ(invalid, 2u);
}

}  // namespace
}  // namespace ovlet::exchange
