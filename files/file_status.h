// What is at a path, asked without opening it.
#pragma once

#include <string>

namespace ovlet::files {

enum class PathPresence {
    Present,       // something is there (it may still not be readable)
    NoSuchFile,    // the folder is there, the file is not
    NoSuchFolder,  // a folder on the way is missing, or is a file
    NoAccess,      // the system refuses to say
};

PathPresence FindPath(const std::string& path);

// Whether a file, folder or link of that name is there (a link counts as
// itself, whatever it names).
bool NameIsTaken(const std::string& path);

// Whether a write's error number means the disk (or the user's quota on it)
// is full.
bool MeansDiskFull(int errorNumber);

// "folder/name", joined as UTF-8 text (a std::filesystem path made from a
// std::string goes through a code page on Windows).
std::string JoinPath(const std::string& folder, const std::string& name);

// Makes the folder and the folders on its way; true when it is there.
bool MakeFolders(const std::string& path);

// The folder the running program's file is in (UTF-8, no separator at its
// end); empty when the system does not say.
std::string ProgramFolder();

}  // namespace ovlet::files
