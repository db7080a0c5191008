// Commands that take cards beyond the desktop: vCard export and import, QR
// codes, and cards made in batches from a spreadsheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct CardRecord;

namespace ovlet_cli {

int RunExport(int argc, char** argv);
int RunImport(int argc, char** argv);
int RunQr(int argc, char** argv);
// "make": a batch from --csv, otherwise the single card of RunMake.
int RunMakeCommand(int argc, char** argv);

// A file name for a card from a person's or company's name (UTF-8): letters,
// digits and a few safe marks only, never hidden or a device name, at most 60
// bytes before ".ovt". `taken` holds the names already given out (lower case)
// and receives the new one; a name already in `folder` is not used again.
std::string UniqueCardFileName(const std::string& folder, const std::string& nameUtf8, std::set<std::string>& taken);

// Helpers the commands share.

// Reads a whole input file of at most `maxBytes`.
bool ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error);
// Writes a file completely or leaves the one there unchanged.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size, std::string& error);
// Reads a picture for a card: JPEG or PNG only. Returns an exit code.
int LoadPictureFile(const char* command, const char* path, std::vector<std::uint8_t>& bytes);
bool WriteCardTo(const std::string& path, CardRecord& record, std::string& error);
// The name a card's file is named after: the person, else the company (UTF-8).
std::string CardNameForFile(const CardRecord& record);

}  // namespace ovlet_cli
