#include "platform/win32/key_chord.h"

#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace ovlet::platform::win32 {
namespace {

// The system's virtual-key codes of the named keys.
constexpr std::array<std::pair<std::string_view, unsigned>, 22> kNamedKeys{{
    {"backspace", 0x08}, {"tab", 0x09},    {"enter", 0x0D},  {"return", 0x0D}, {"esc", 0x1B},   {"escape", 0x1B},
    {"space", 0x20},     {"pgup", 0x21},   {"pageup", 0x21}, {"pgdown", 0x22}, {"pgdn", 0x22},  {"pagedown", 0x22},
    {"end", 0x23},       {"home", 0x24},   {"left", 0x25},   {"up", 0x26},     {"right", 0x27}, {"down", 0x28},
    {"ins", 0x2D},       {"insert", 0x2D}, {"del", 0x2E},    {"delete", 0x2E},
}};
constexpr unsigned kF1 = 0x70;
constexpr int kLastFunctionKey = 24;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<unsigned> KeyCode(const std::string& name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 'A');
        if (c >= '0' && c <= '9') return static_cast<unsigned>(c);
        return std::nullopt;
    }
    for (const auto& [known, code] : kNamedKeys) {
        if (name == known) return code;
    }
    if (name[0] == 'f' && name.size() <= 3 && std::isdigit(static_cast<unsigned char>(name[1])) &&
        (name.size() == 2 || std::isdigit(static_cast<unsigned char>(name[2])))) {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= kLastFunctionKey) return kF1 + static_cast<unsigned>(number - 1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<KeyChord> ReadKeys(const std::string& keys) {
    KeyChord chord;
    std::string_view rest = keys;
    while (true) {
        const std::size_t plus = rest.find('+');
        // A last part of its own: the key ("Ctrl++" is not written).
        if (plus == std::string_view::npos) break;
        const std::string modifier = Lower(rest.substr(0, plus));
        bool* flag = modifier == "ctrl"    ? &chord.ctrl
                     : modifier == "shift" ? &chord.shift
                     : modifier == "alt"   ? &chord.alt
                                           : nullptr;
        if (!flag || *flag) return std::nullopt;
        *flag = true;
        rest.remove_prefix(plus + 1);
    }
    if (rest.empty()) return std::nullopt;
    const std::optional<unsigned> key = KeyCode(Lower(rest));
    if (!key) return std::nullopt;
    chord.key = *key;
    return chord;
}

}  // namespace ovlet::platform::win32
