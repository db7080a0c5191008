// Free file names in one folder for names that may repeat, as a batch gives
// them out: "Ann_Lee.ovt", "Ann_Lee-2.ovt", "Ann_Lee-3.ovt", ...
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace ovlet::files {

class FreeNames {
public:
    explicit FreeNames(std::string folderPath) : folder(std::move(folderPath)) {}

    // A name for `stem` + `extension` that is neither in the folder nor one
    // given out before, also ignoring case (such names collide on Windows and
    // on disks that ignore case): ASCII and the letters of Windows-1252. It
    // is given out from then on. However often a stem repeats, this takes a
    // constant number of steps: each stem remembers where its count stands.
    //
    // The folder is only looked at: another program may take the name before
    // the file is written, so the writer claims it with the file itself
    // (WriteOptions::replace = false) and asks again when it was taken.
    std::string Take(const std::string& stem, const std::string& extension);

    const std::string& Folder() const { return folder; }

private:
    std::string folder;
    std::unordered_set<std::string> taken;                      // names given out, case folded
    std::unordered_map<std::string, unsigned long> nextNumber;  // folded stem + extension -> next number to try
};

// The UTF-8 name with the case of ASCII and of Windows-1252's letters folded
// to lower case: names equal after it are one name where case is ignored.
std::string FoldNameCase(const std::string& utf8);

}  // namespace ovlet::files
