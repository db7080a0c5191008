#include "files/free_names.h"

#include "files/ascii_text.h"
#include "files/file_status.h"

namespace files {
std::string FreeNames::Take(const std::string& stem, const std::string& extension) {
    unsigned long& next = nextNumber.try_emplace(LowerAscii(stem + extension), 1).first->second;
    for (;; ++next) {
        const std::string name = next == 1 ? stem + extension : stem + "-" + std::to_string(next) + extension;
        const std::string key = LowerAscii(name);
        if (taken.count(key)) continue;
        taken.insert(key);
        // A file already there is never replaced.
        if (NameIsTaken(folder + "/" + name)) continue;
        ++next;
        return name;
    }
}

}  // namespace files
