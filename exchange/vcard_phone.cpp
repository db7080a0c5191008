#include "exchange/vcard_phone.h"

namespace ovlet::exchange::vcard {
namespace {

// A Windows-1252 letter: ASCII, the Latin-1 letters and the few letters of 80-9F.
bool IsLetter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    return c;
}

struct Word {
    const char* text;  // lower case, Windows-1252
    bool PhoneKind::*member;
};

// The words people write for the kinds of phone, in English, German, French
// and Spanish, including the spellings without accents.
constexpr Word kWords[] = {
    // work
    {"work", &PhoneKind::work},
    {"office", &PhoneKind::work},
    {"business", &PhoneKind::work},
    {"company", &PhoneKind::work},
    {"b\xFCro", &PhoneKind::work},
    {"buero", &PhoneKind::work},
    {"buro", &PhoneKind::work},
    {"b\xFCrotelefon", &PhoneKind::work},
    {"arbeit", &PhoneKind::work},
    {"dienstlich", &PhoneKind::work},
    {"gesch\xE4"
     "ftlich",
     &PhoneKind::work},
    {"geschaeftlich", &PhoneKind::work},
    {"firma", &PhoneKind::work},
    {"bureau", &PhoneKind::work},
    {"travail", &PhoneKind::work},
    {"professionnel", &PhoneKind::work},
    {"trabajo", &PhoneKind::work},
    {"oficina", &PhoneKind::work},
    {"empresa", &PhoneKind::work},
    // home
    {"home", &PhoneKind::home},
    {"private", &PhoneKind::home},
    {"privat", &PhoneKind::home},
    {"privatnummer", &PhoneKind::home},
    {"zuhause", &PhoneKind::home},
    {"domicile", &PhoneKind::home},
    {"maison", &PhoneKind::home},
    {"priv\xE9", &PhoneKind::home},
    {"prive", &PhoneKind::home},
    {"casa", &PhoneKind::home},
    {"domicilio", &PhoneKind::home},
    {"particular", &PhoneKind::home},
    // mobile
    {"mobile", &PhoneKind::cell},
    {"cell", &PhoneKind::cell},
    {"cellular", &PhoneKind::cell},
    {"cellphone", &PhoneKind::cell},
    {"handy", &PhoneKind::cell},
    {"mobil", &PhoneKind::cell},
    {"mobiltelefon", &PhoneKind::cell},
    {"portable", &PhoneKind::cell},
    {"cellulaire", &PhoneKind::cell},
    {"m\xF3vil", &PhoneKind::cell},
    {"movil", &PhoneKind::cell},
    {"celular", &PhoneKind::cell},
    // fax
    {"fax", &PhoneKind::fax},
    {"facsimile", &PhoneKind::fax},
    {"telefax", &PhoneKind::fax},
    {"faxnummer", &PhoneKind::fax},
    {"t\xE9l\xE9"
     "copie",
     &PhoneKind::fax},
    {"telecopie", &PhoneKind::fax},
    {"t\xE9l\xE9"
     "copieur",
     &PhoneKind::fax},
    // pager
    {"pager", &PhoneKind::pager},
    {"piepser", &PhoneKind::pager},
    {"buscapersonas", &PhoneKind::pager},
};

bool WordEquals(std::string_view word, const char* lower) {
    std::size_t i = 0;
    for (; i < word.size() && lower[i] != '\0'; ++i) {
        if (FoldCase(static_cast<unsigned char>(word[i])) != static_cast<unsigned char>(lower[i])) return false;
    }
    return i == word.size() && lower[i] == '\0';
}

}  // namespace

PhoneKind KindFromDescription(std::string_view ansi) {
    PhoneKind kind;
    std::size_t pos = 0;
    while (pos < ansi.size()) {
        while (pos < ansi.size() && !IsLetter(static_cast<unsigned char>(ansi[pos]))) ++pos;
        std::size_t end = pos;
        while (end < ansi.size() && IsLetter(static_cast<unsigned char>(ansi[end]))) ++end;
        const std::string_view word = ansi.substr(pos, end - pos);
        if (!word.empty()) {
            for (const Word& w : kWords) {
                if (WordEquals(word, w.text)) kind.*w.member = true;
            }
        }
        pos = end;
    }
    return kind;
}

std::string DescriptionFromKind(const PhoneKind& kind) {
    std::string place = kind.work ? "Work" : kind.home ? "Home" : "";
    std::string what = kind.cell ? "Mobile" : kind.pager ? "Pager" : kind.fax ? "Fax" : "";
    if (place.empty() || what.empty()) return place + what;
    return place + " " + what;
}

std::string TypeList(const PhoneKind& kind, bool upper) {
    std::string out;
    auto add = [&](bool on, const char* lower, const char* capital) {
        if (!on) return;
        if (!out.empty()) out += ',';
        out += upper ? capital : lower;
    };
    add(kind.work, "work", "WORK");
    add(kind.home, "home", "HOME");
    add(kind.cell, "cell", "CELL");
    add(kind.fax, "fax", "FAX");
    add(kind.pager, "pager", "PAGER");
    return out;
}

}  // namespace ovlet::exchange::vcard
