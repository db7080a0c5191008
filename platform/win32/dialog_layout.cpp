#include "platform/win32/dialog_layout.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "files/utf16.h"

namespace ovlet::platform::win32 {
namespace {

using namespace style;

// Little-endian writer of the template's WORD-aligned fields.
class TemplateWriter {
public:
    void Word(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Byte(std::uint8_t value) { bytes.push_back(value); }
    // A NUL-terminated UTF-16 string.
    void String(std::u16string_view text) {
        for (const char16_t c : text) {
            // A NUL inside would end the string early and shift every field after it.
            Word(c == u'\0' ? u' ' : static_cast<std::uint16_t>(c));
        }
        Word(0);
    }
    // Items start on a DWORD boundary.
    void AlignDword() {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
    }
    std::vector<std::uint8_t> bytes;
};

std::string Shown(const TextFor& translate, const char* context, const std::string& text) {
    if (!translate || text.empty()) return text;
    return translate(context, text);
}

}  // namespace

ControlClass ClassOf(const ControlTemplate& control) {
    const std::uint32_t tab = control.tabStop ? kTabStop : 0;
    const std::uint32_t base = kChild | kVisible | tab;
    switch (control.kind) {
        case ControlKind::Static:
            // Texts are shown as they are: an ampersand in a name is no mnemonic.
            return {ClassAtom::Static, nullptr, base | kGroup | kSsNoPrefix, 0};
        case ControlKind::Icon:
            return {ClassAtom::Static, nullptr, base | kSsIcon | kSsCenterImage, 0};
        case ControlKind::Edit:
            return {ClassAtom::Edit, nullptr, base | kBorder | kEsAutoHScroll, 0};
        case ControlKind::MultiLineEdit:
            return {ClassAtom::Edit, nullptr, base | kBorder | kVScroll | kEsMultiLine | kEsAutoVScroll | kEsWantReturn,
                    0};
        case ControlKind::PushButton:
            return {ClassAtom::Button, nullptr, base | kBsPushButton, 0};
        case ControlKind::DefaultPushButton:
            return {ClassAtom::Button, nullptr, base | kBsDefPushButton, 0};
        case ControlKind::OwnerDrawButton:
            return {ClassAtom::Button, nullptr, base | kBsOwnerDraw, 0};
        case ControlKind::GroupBox:
            return {ClassAtom::Button, nullptr, base | kBsGroupBox, 0};
        case ControlKind::TabControl:
            // Behind the controls of its pages, which it must not paint over.
            return {ClassAtom::Static, kTabControlClass, base | kClipSiblings, 0};
        case ControlKind::PicturePanel:
            return {ClassAtom::Static, nullptr, base | kSsOwnerDraw, 0};
    }
    return {ClassAtom::Static, nullptr, base, 0};
}

std::uint32_t DialogStyle(const DialogTemplate& dialog) {
    const std::uint32_t common = kPopup | kDsSetFont | kDsCenter;
    if (dialog.caption.empty()) return common;
    return common | kCaption | kSysMenu | kDsModalFrame;
}

std::vector<std::uint8_t> BuildTemplate(const DialogTemplate& dialog, const TextFor& translate) {
    TemplateWriter out;
    // DLGTEMPLATEEX.
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature
    out.Dword(0);      // helpID
    out.Dword(0);      // exStyle
    out.Dword(DialogStyle(dialog));
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(0);
    out.Short(0);
    out.Short(dialog.width);
    out.Short(dialog.height);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.String(files::Utf16FromUtf8(Shown(translate, dialog.context, dialog.caption)));
    out.Word(static_cast<std::uint16_t>(dialog.pointSize));
    out.Word(400);  // FW_NORMAL
    out.Byte(0);    // not italic
    out.Byte(1);    // DEFAULT_CHARSET
    out.String(kDialogFace);
    // DLGITEMTEMPLATEEX each.
    for (const ControlTemplate& control : dialog.controls) {
        out.AlignDword();
        const ControlClass kind = ClassOf(control);
        out.Dword(0);  // helpID
        out.Dword(kind.exStyle);
        out.Dword(control.startsHidden ? kind.style & ~kVisible : kind.style);
        out.Short(control.x);
        out.Short(control.y);
        out.Short(control.width);
        out.Short(control.height);
        out.Dword(static_cast<std::uint32_t>(control.id));
        if (kind.className) {
            out.String(kind.className);
        } else {
            out.Word(0xFFFF);
            out.Word(static_cast<std::uint16_t>(kind.atom));
        }
        // An icon control's text would name an icon resource: it gets its icon at start.
        const std::string text = control.kind == ControlKind::Icon ? std::string() : control.text;
        out.String(files::Utf16FromUtf8(Shown(translate, dialog.context, text)));
        out.Word(0);  // no creation data
    }
    return std::move(out.bytes);
}

namespace {

// a * b / c rounded to the nearest, halves away from zero (c > 0).
int ScaleRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    const long long q = product >= 0 ? (product + half) / c : -((-product + half) / c);
    return static_cast<int>(q);
}

}  // namespace

int HorizontalPixels(int units, int baseX) {
    return ScaleRounded(units, baseX, 4);
}

int VerticalPixels(int units, int baseY) {
    return ScaleRounded(units, baseY, 8);
}

BaseUnits BaseUnitsOf(int lettersWidth, int characterHeight) {
    return {(lettersWidth / 26 + 1) / 2, characterHeight};
}

bool IsAddressForShell(const std::string& url) {
    static const char* const kSchemes[] = {"http://", "https://", "mailto:"};
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F) return false;
    }
    for (const char* scheme : kSchemes) {
        const std::size_t n = std::char_traits<char>::length(scheme);
        if (url.size() <= n) continue;
        bool same = true;
        for (std::size_t i = 0; i < n && same; ++i) {
            same = std::tolower(static_cast<unsigned char>(url[i])) == scheme[i];
        }
        if (same) return true;
    }
    return false;
}

}  // namespace ovlet::platform::win32
