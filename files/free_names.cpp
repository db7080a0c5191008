#include "files/free_names.h"

#include "files/ascii_text.h"
#include "files/file_status.h"

namespace ovlet::files {

std::string FoldNameCase(const std::string& utf8) {
    std::string out = LowerAscii(utf8);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        auto lead = static_cast<unsigned char>(out[i]);
        auto& next = reinterpret_cast<unsigned char&>(out[i + 1]);
        if (lead == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
            next = static_cast<unsigned char>(next + 0x20);  // À..Þ -> à..þ, not ×
        } else if (lead == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD)) {
            next = static_cast<unsigned char>(next + 1);  // Š Œ Ž -> š œ ž
        } else if (lead == 0xC5 && next == 0xB8) {
            out[i] = static_cast<char>(0xC3);  // Ÿ -> ÿ
            next = 0xBF;
        }
    }
    return out;
}

std::string FreeNames::Take(const std::string& stem, const std::string& extension) {
    unsigned long& next = nextNumber.try_emplace(FoldNameCase(stem + extension), 1).first->second;
    for (;; ++next) {
        const std::string name = next == 1 ? stem + extension : stem + "-" + std::to_string(next) + extension;
        const std::string key = FoldNameCase(name);
        if (taken.count(key)) continue;
        taken.insert(key);
        // A file already there is never replaced.
        if (NameIsTaken(folder + "/" + name)) continue;
        ++next;
        return name;
    }
}

}  // namespace ovlet::files
