// Commands that take cards beyond the desktop: vCard export and import, QR
// codes, and cards made in batches from a spreadsheet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/tool_support.h"

namespace CLI {
class App;
}
namespace ovlet::card {
struct CardRecord;
}  // namespace ovlet::card

namespace ovlet::cli {

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

}  // namespace ovlet::cli
