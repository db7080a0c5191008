// The Win32 face's templates as the system reads them, read back here by an
// independent walk of the documented layout; the dialog-unit arithmetic; the
// addresses the shell is given. Plain C++: runs on every system.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/dialog_layout.h"
#include "platform/win32/key_chord.h"
#include "resources/dialog_templates.h"

namespace ovlet::platform::win32 {
namespace {

// A reader of DLGTEMPLATEEX / DLGITEMTEMPLATEEX that fails the test on a short read.
class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& data) : bytes(data) {}
    std::uint16_t Word() {
        EXPECT_LE(pos + 2, bytes.size());
        if (pos + 2 > bytes.size()) return 0;
        const auto v = static_cast<std::uint16_t>(bytes[pos] | bytes[pos + 1] << 8);
        pos += 2;
        return v;
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    int Short() { return static_cast<std::int16_t>(Word()); }
    std::uint8_t Byte() { return pos < bytes.size() ? bytes[pos++] : 0; }
    std::u16string String() {
        std::u16string s;
        for (std::uint16_t c = Word(); c != 0 && pos <= bytes.size(); c = Word()) s.push_back(static_cast<char16_t>(c));
        return s;
    }
    // A class or title: an ordinal (0xFFFF, n) or a string.
    std::u16string OrdinalOrString(std::uint16_t& ordinal) {
        ordinal = 0;
        if (pos + 2 <= bytes.size() && bytes[pos] == 0xFF && bytes[pos + 1] == 0xFF) {
            Word();
            ordinal = Word();
            return {};
        }
        return String();
    }
    void AlignDword() {
        while (pos % 4) ++pos;
    }
    std::size_t pos = 0;
    const std::vector<std::uint8_t>& bytes;
};

struct ReadItem {
    std::uint32_t style;
    int x, y, cx, cy;
    std::uint32_t id;
    std::uint16_t classAtom;
    std::u16string className;
    std::u16string text;
    std::size_t offset;
};

struct ReadDialog {
    std::uint32_t style;
    int cx, cy;
    std::u16string caption;
    int pointSize;
    std::u16string face;
    std::vector<ReadItem> items;
};

ReadDialog Read(const std::vector<std::uint8_t>& bytes) {
    Reader in(bytes);
    ReadDialog d{};
    EXPECT_EQ(in.Word(), 1);
    EXPECT_EQ(in.Word(), 0xFFFF);
    EXPECT_EQ(in.Dword(), 0u);  // help id
    EXPECT_EQ(in.Dword(), 0u);  // extended style
    d.style = in.Dword();
    const int count = in.Word();
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 0);
    d.cx = in.Short();
    d.cy = in.Short();
    std::uint16_t ordinal = 0;
    EXPECT_TRUE(in.OrdinalOrString(ordinal).empty());  // menu
    EXPECT_TRUE(in.OrdinalOrString(ordinal).empty());  // class
    d.caption = in.String();
    d.pointSize = in.Word();
    EXPECT_EQ(in.Word(), 400);
    EXPECT_EQ(in.Byte(), 0);
    EXPECT_EQ(in.Byte(), 1);
    d.face = in.String();
    for (int i = 0; i < count; ++i) {
        in.AlignDword();
        ReadItem item{};
        item.offset = in.pos;
        EXPECT_EQ(in.Dword(), 0u);
        EXPECT_EQ(in.Dword(), 0u);
        item.style = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Dword();
        item.className = in.OrdinalOrString(item.classAtom);
        std::uint16_t titleOrdinal = 0;
        item.text = in.OrdinalOrString(titleOrdinal);
        EXPECT_EQ(titleOrdinal, 0);
        EXPECT_EQ(in.Word(), 0);  // creation data
        d.items.push_back(item);
    }
    EXPECT_EQ(in.pos, bytes.size()) << "bytes after the last item";
    return d;
}

std::u16string U16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

struct DialogCase {
    const char* name;
    const DialogTemplate& (*get)();
    bool caption;
};

const DialogCase kDialogs[] = {
    {"about", resources::AboutDialogTemplate, true},
    {"card", resources::CardDialogTemplate, true},
    {"splash", resources::SplashDialogTemplate, false},
};

TEST(Win32Template, EveryDialogReadsBackAsItsTemplate) {
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        const DialogTemplate& t = c.get();
        const ReadDialog d = Read(BuildTemplate(t));
        EXPECT_EQ(d.cx, t.width);
        EXPECT_EQ(d.cy, t.height);
        EXPECT_EQ(d.caption, U16(t.caption));
        EXPECT_EQ(d.pointSize, t.pointSize);
        EXPECT_EQ(d.face, std::u16string(kDialogFace));
        EXPECT_TRUE(d.style & style::kDsSetFont);
        EXPECT_TRUE(d.style & style::kPopup);
        // A caption brings the caption bar and the close box; the splash has neither, nor a frame.
        EXPECT_EQ((d.style & style::kCaption) == style::kCaption, c.caption);
        EXPECT_EQ((d.style & style::kSysMenu) != 0, c.caption);
        EXPECT_EQ((d.style & style::kDsModalFrame) != 0, c.caption);
        ASSERT_EQ(d.items.size(), t.controls.size());
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const ReadItem& item = d.items[i];
            const ControlTemplate& control = t.controls[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(item.offset % 4, 0u);
            EXPECT_EQ(item.x, control.x);
            EXPECT_EQ(item.y, control.y);
            EXPECT_EQ(item.cx, control.width);
            EXPECT_EQ(item.cy, control.height);
            EXPECT_EQ(item.id, static_cast<std::uint32_t>(control.id));
            EXPECT_EQ((item.style & (style::kChild | style::kVisible)), style::kChild | style::kVisible);
            EXPECT_EQ((item.style & style::kTabStop) != 0, control.tabStop);
            if (control.kind != ControlKind::Icon) {
                EXPECT_EQ(item.text, U16(control.text));
            }
        }
    }
}

// What each kind of control is made as.
TEST(Win32Template, EachKindIsMadeAsTheSystemsControl) {
    struct KindCase {
        ControlKind kind;
        std::uint16_t atom;
        const char16_t* className;
        std::uint32_t low;  // the control's own style bits (low word)
    };
    const KindCase cases[] = {
        {ControlKind::Static, 0x82, nullptr, style::kSsNoPrefix},
        {ControlKind::Icon, 0x82, nullptr, style::kSsIcon | style::kSsCenterImage},
        {ControlKind::Edit, 0x81, nullptr, style::kEsAutoHScroll},
        {ControlKind::MultiLineEdit, 0x81, nullptr, style::kEsMultiLine | style::kEsAutoVScroll | style::kEsWantReturn},
        {ControlKind::PushButton, 0x80, nullptr, style::kBsPushButton},
        {ControlKind::DefaultPushButton, 0x80, nullptr, style::kBsDefPushButton},
        {ControlKind::OwnerDrawButton, 0x80, nullptr, style::kBsOwnerDraw},
        {ControlKind::GroupBox, 0x80, nullptr, style::kBsGroupBox},
        {ControlKind::TabControl, 0, u"SysTabControl32", 0},
        {ControlKind::PicturePanel, 0x82, nullptr, style::kSsOwnerDraw},
    };
    for (const KindCase& c : cases) {
        // A control made hidden differs in its visibility alone.
        for (const bool hidden : {false, true}) {
            SCOPED_TRACE(static_cast<int>(c.kind) * 10 + hidden);
            const DialogTemplate t{7, "k", 50, 40, 8, {{-1, c.kind, "t", 1, 2, 3, 4, false, hidden}}};
            const ReadDialog d = Read(BuildTemplate(t));
            ASSERT_EQ(d.items.size(), 1u);
            EXPECT_EQ(d.items[0].classAtom, c.atom);
            EXPECT_EQ(d.items[0].className, c.className ? std::u16string(c.className) : std::u16string());
            EXPECT_EQ(d.items[0].style & 0xFFFF, c.low);
            EXPECT_EQ(d.items[0].style & style::kChild, style::kChild);
            EXPECT_EQ((d.items[0].style & style::kVisible) == 0, hidden);
            EXPECT_EQ(d.items[0].id, 0xFFFFFFFFu);
            // The icon's text would name a resource: it is left empty.
            EXPECT_EQ(d.items[0].text, c.kind == ControlKind::Icon ? u"" : u"t");
        }
    }
}

// Texts that are not plain: each stays one string and the fields after it stay in place.
TEST(Win32Template, OddTextsKeepTheLayout) {
    struct TextCase {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    };
    const TextCase cases[] = {
        {"accented", "Caf\xC3\xA9", u"Caf\u00E9"},
        {"beyond the first plane", "\xF0\x9F\x98\x80!", u"\U0001F600!"},
        {"not UTF-8",
         "A\xFF"
         "B",
         u"A\uFFFDB"},
        {"cut sequence", "ab\xE2\x82", u"ab\uFFFD\uFFFD"},
        {"NUL inside", std::string("x\0y", 3), u"x y"},
        {"empty", "", u""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DialogTemplate t{
            9,  c.utf8, 100,
            50, 8,      {{5, ControlKind::Static, c.utf8, 1, 2, 30, 8}, {6, ControlKind::Edit, "z", 4, 5, 6, 7, true}}};
        const ReadDialog d = Read(BuildTemplate(t));
        EXPECT_EQ(d.caption, c.utf16);
        ASSERT_EQ(d.items.size(), 2u);
        EXPECT_EQ(d.items[0].text, c.utf16);
        EXPECT_EQ(d.items[1].text, u"z");
        EXPECT_EQ(d.items[1].x, 4);
        EXPECT_EQ(d.items[1].id, 6u);
    }
}

TEST(Win32Template, TextsAreTranslatedInTheDialogsContext) {
    const DialogTemplate t{9, "Hello", 100, 50, 8, {{5, ControlKind::Static, "OK", 1, 2, 30, 8}}, "Ctx"};
    std::vector<std::string> contexts;
    const ReadDialog d = Read(BuildTemplate(t, [&](const char* context, const std::string& text) {
        contexts.emplace_back(context ? context : "(null)");
        return "<" + text + ">";
    }));
    EXPECT_EQ(d.caption, u"<Hello>");
    EXPECT_EQ(d.items[0].text, u"<OK>");
    EXPECT_EQ(contexts, (std::vector<std::string>{"Ctx", "Ctx"}));
}

// The three windows at 96 DPI in the dialog font (base units 6 by 13).
TEST(Win32DialogUnits, TheThreeDialogsInPixelsAt96Dpi) {
    struct SizeCase {
        const char* name;
        const DialogTemplate& (*get)();
        int width, height;  // pixels
    };
    const SizeCase cases[] = {
        {"card", resources::CardDialogTemplate, 431, 384},
        {"splash", resources::SplashDialogTemplate, 392, 244},
        {"about", resources::AboutDialogTemplate, 326, 132},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HorizontalPixels(c.get().width, 6), c.width);
        EXPECT_EQ(VerticalPixels(c.get().height, 13), c.height);
    }
}

TEST(Win32DialogUnits, RoundsHalvesAwayFromZero) {
    struct Case {
        int units, base, horizontal, vertical;
    };
    const Case cases[] = {
        {0, 6, 0, 0}, {1, 6, 2, 1},    {2, 6, 3, 2},   {-1, 6, -2, -1},          {-2, 6, -3, -2},
        {4, 7, 7, 4}, {8, 15, 30, 15}, {3, 13, 10, 5}, {32767, 6, 49151, 24575},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        EXPECT_EQ(HorizontalPixels(c.units, c.base), c.horizontal);
        EXPECT_EQ(VerticalPixels(c.units, c.base), c.vertical);
    }
}

TEST(Win32DialogUnits, BaseUnitsFromTheLettersWidth) {
    struct Case {
        int letters, height, x;
    };
    // 52 letters: the average rounded to the nearest whole pixel.
    const Case cases[] = {{285, 13, 5}, {286, 13, 6}, {337, 13, 6}, {338, 13, 7}, {364, 15, 7}, {0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letters);
        const BaseUnits units = BaseUnitsOf(c.letters, c.height);
        EXPECT_EQ(units.x, c.x);
        EXPECT_EQ(units.y, c.height);
    }
}

TEST(Win32Shell, OnlyWebAndMailAddressesAreHandedOver) {
    struct Case {
        const char* url;
        bool handed;
    };
    const Case cases[] = {
        {"https://ovlet.app/", true},
        {"HTTP://EXAMPLE.COM", true},
        {"mailto:a%40b@example.org", true},
        {"http://", false},
        {"file:///C:/Windows/System32/calc.exe", false},
        {"C:\\Windows\\System32\\calc.exe", false},
        {"calc", false},
        {"javascript:alert(1)", false},
        {"https://example.com/a b", false},
        {"https://example.com/\x01", false},
        {"https://example.com/\x7F", false},
        {"\thttps://example.com/", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(IsAddressForShell(c.url), c.handed);
    }
}

TEST(Win32Keys, PortableKeysReadAsTheSystemsCodes) {
    using platform::win32::KeyChord;
    using platform::win32::ReadKeys;
    struct Case {
        const char* keys;
        std::optional<KeyChord> chord;
    };
    const Case cases[] = {
        {"Ctrl+N", KeyChord{'N', true, false, false}},
        {"ctrl+shift+s", KeyChord{'S', true, true, false}},
        {"Shift+Ctrl+S", KeyChord{'S', true, true, false}},
        {"F1", KeyChord{0x70, false, false, false}},
        {"F12", KeyChord{0x7B, false, false, false}},
        {"Ctrl+PgDown", KeyChord{0x22, true, false, false}},
        {"Ctrl+PgUp", KeyChord{0x21, true, false, false}},
        {"Ctrl+Shift+Tab", KeyChord{0x09, true, true, false}},
        {"Del", KeyChord{0x2E, false, false, false}},
        {"Alt+7", KeyChord{'7', false, false, true}},
        {"", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"Ctrl+Ctrl+N", std::nullopt},
        {"Meta+N", std::nullopt},
        {"F0", std::nullopt},
        {"F25", std::nullopt},
        {"F1x", std::nullopt},
        {"Ctrl+NN", std::nullopt},
        {"Ctrl+\xC3\xA4", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        EXPECT_EQ(ReadKeys(c.keys), c.chord);
    }
}

}  // namespace
}  // namespace ovlet::platform::win32
