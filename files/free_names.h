// Free file names in one folder for names that may repeat, as a batch gives
// them out: "Ann_Lee.ovt", "Ann_Lee-2.ovt", "Ann_Lee-3.ovt", ...
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace files {

class FreeNames {
public:
    explicit FreeNames(std::string folderPath) : folder(std::move(folderPath)) {}

    // A name for `stem` + `extension` that is neither in the folder nor one
    // given out before, also ignoring case (such names collide on Windows);
    // it is given out from then on. However often a stem repeats, this takes
    // a constant number of steps: each stem remembers where its count stands.
    std::string Take(const std::string& stem, const std::string& extension);

private:
    std::string folder;
    std::unordered_set<std::string> taken;                      // names given out, in lower case
    std::unordered_map<std::string, unsigned long> nextNumber;  // lower-case stem + extension -> next number to try
};

}  // namespace files
