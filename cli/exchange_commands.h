// Commands that take cards beyond the desktop: vCard export and import, QR
// codes, and cards made in batches from a spreadsheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace CLI {
class App;
}
struct CardRecord;
struct CardFileOps;

namespace ovlet_cli {

struct ExportOptions {
    std::string card;
    std::string output;  // "" or "-": standard output
    bool vcard = false;
    bool vcard3 = false;
    bool noPhoto = false;
};
CLI::App* DeclareExport(CLI::App& tool, ExportOptions& options);
int RunExport(const ExportOptions& options);

struct ImportOptions {
    std::string input;  // "-": standard input
    std::string output;
    std::string picture;
    bool all = false;
};
CLI::App* DeclareImport(CLI::App& tool, ImportOptions& options);
int RunImport(const ImportOptions& options);

struct QrOptions {
    std::string card;
    std::string output;
    int size = 0;  // pixels a side; 0 for the default
    bool vcard3 = false;
};
CLI::App* DeclareQr(CLI::App& tool, QrOptions& options);
int RunQr(const QrOptions& options);

struct HtmlOptions {
    std::string card;
    std::string output;  // "-": standard output
};
CLI::App* DeclareHtml(CLI::App& tool, HtmlOptions& options);
int RunHtml(const HtmlOptions& options);

// make --csv PEOPLE.csv -o FOLDER: one card per row (RunMake hands over to it).
int RunMakeBatch(const MakeOptions& options);

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
// The same with the file operations of a batch (see import --all).
bool WriteCardTo(const std::string& path, CardRecord& record, std::string& error, const CardFileOps& ops);
// The name a card's file is named after: the person, else the company (UTF-8).
std::string CardNameForFile(const CardRecord& record);

}  // namespace ovlet_cli
