// Commands export, import and qr, and what they share with batch making.
#include "cli/exchange_commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "card/card_file.h"
#include "card/codepage.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "exchange/web_card.h"
#include "files/file_status.h"
#include "files/input_file.h"
#include "files/terminal_text.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::cli {
namespace qr = exchange::qr;
namespace vcard = exchange::vcard;

// ------------------------------------------------------------------ export

CLI::App* DeclareExport(CLI::App& tool, ExportOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "export", catalogue::TranslateLater("ovlet", "The card as a vCard 4.0 (or 3.0) for address books"));
    command->add_flag("--vcard", options.vcard, "Write a vCard (4.0 unless --vcard3)");
    command->add_flag("--vcard3", options.vcard3, "Write a vCard 3.0");
    command->add_flag("--no-photo", options.noPhoto, "Leave the picture out");
    command->add_option("-o,--output", options.output, "The vCard file to write ('-' or none: standard output)")
        ->type_name("OUT.vcf");
    AddCardArgument(*command, options.card);
    return command;
}

int RunExport(const ExportOptions& o) {
    if (!o.vcard && !o.vcard3) {
        PrintError(
            "ovlet export: name the format (--vcard or --vcard3)\n"
            "Usage: ovlet export --vcard CARD [-o OUT.vcf] [--vcard3] [--no-photo]\n");
        return kExitUsage;
    }
    vcard::WriteOptions options;
    if (o.vcard3) options.version = vcard::Version::V3_0;
    options.photo = !o.noPhoto;
    const std::string out = o.output.empty() ? "-" : o.output;
    card::CardRecord record;
    // Without the photo the picture's bytes are never read.
    card::CardReadOptions read;
    read.readPicture = options.photo;
    if (int rc = LoadCardForTool("export", o.card, record, read); rc != kExitOk) return rc;
    std::string warning;
    const std::string text = vcard::EncodeVCard(record, options, &warning);
    if (!warning.empty()) Report("export", warning);
    return WriteOutputFile("export", out, text.data(), text.size());
}

namespace {

// ------------------------------------------------------------------ import

// What an import tells about the file and its cards: every card's issues
// until kMaxShown lines are printed, then only a count, so a file with a
// million unknown lines neither floods the terminal nor is kept in memory.
class ImportReport {
public:
    static constexpr std::size_t kMaxShown = 100;

    void File(const char* input, const vcard::ReadSummary& summary) {
        if (summary.errors.empty() && summary.warnings.empty()) return;
        Report("import", std::string(input) + ":");
        Print("error: ", summary.errors);
        Print("", summary.warnings);
    }

    void Card(std::size_t index, const vcard::ImportedCard& card) {
        notShown += card.issuesNotKept;
        if (card.unmapped.empty() && card.warnings.empty() && card.errors.empty()) return;
        if (shown < kMaxShown) {
            PrintError("ovlet import: card %zu \"%s\" (line %zu):\n", index + 1,
                       files::TerminalSafe(card.displayName).c_str(), card.firstLine);
        }
        Print("error: ", card.errors);
        Print("", card.warnings);
        Print("not imported: ", card.unmapped);
    }

    void Finish() const {
        if (notShown > 0) PrintError("ovlet import: %zu more reports not shown\n", notShown);
    }

private:
    void Print(const char* kind, const std::vector<vcard::Issue>& issues) {
        for (const auto& issue : issues) {
            if (shown >= kMaxShown) {
                ++notShown;
                continue;
            }
            ++shown;
            std::string where = issue.line ? "line " + std::to_string(issue.line) : std::string();
            if (!issue.property.empty()) where += (where.empty() ? "" : " ") + issue.property;
            PrintError("  %s%s%s%s\n", kind, where.c_str(), where.empty() ? "" : ": ",
                       files::TerminalSafe(issue.text).c_str());
        }
    }

    std::size_t shown = 0;
    std::size_t notShown = 0;
};

}  // namespace

CLI::App* DeclareImport(CLI::App& tool, ImportOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "import",
        catalogue::TranslateLater(
            "ovlet", "Cards from a vCard file (2.1, 3.0, 4.0), with a report of what has no field on a card"));
    AddOutputOption(*command, options.output, "The card to write (with --all: the folder)", "OUT");
    command->add_flag("--all", options.all, "Import every card of the file into the folder named by -o");
    command->add_option("--picture", options.picture, "Give the card this picture (JPEG or PNG)")->type_name("FILE");
    command->add_option("VCF", options.input, "The vCard file ('-': standard input)")->required();
    command->footer(
        "Usage: ovlet import VCF -o CARD.ovt [--picture FILE]\n"
        "       ovlet import VCF --all -o FOLDER [--picture FILE]");
    return command;
}

int RunImport(const ImportOptions& o) {
    const char* input = o.input.c_str();
    const char* out = o.output.c_str();
    const char* picture = o.picture.empty() ? nullptr : o.picture.c_str();
    const bool all = o.all;
    std::vector<std::uint8_t> pictureBytes;
    if (picture) {
        if (int rc = LoadPictureFile("import", picture, pictureBytes); rc != kExitOk) return rc;
    }

    std::string bytes;
    if (int rc = LoadTextInput("import", input, bytes); rc != kExitOk) return rc;
    ImportReport report;
    if (!all) {
        // The first card is imported; the others are only counted.
        std::optional<vcard::ImportedCard> first;
        const vcard::ReadSummary summary = vcard::ReadVCards(bytes, [&](vcard::ImportedCard&& card) {
            if (!first) first = std::move(card);
            return true;
        });
        report.File(input, summary);
        if (!first) return kExitDamaged;
        report.Card(0, *first);
        report.Finish();
        if (!first->ok()) {
            PrintError("ovlet import: the card is damaged; nothing was written\n");
            return kExitDamaged;
        }
        if (picture) first->record.SetPicture(pictureBytes);
        if (const card::Result<void> written = WriteCardTo(out, first->record); !written) {
            Report("import", written.Error().Describe());
            return kExitFile;
        }
        // The card itself may have gone to standard output.
        std::fprintf(files::NamesStandardOutput(out, true) ? stderr : stdout, "%s: \"%s\"\n",
                     files::TerminalSafe(out).c_str(), files::TerminalSafe(first->displayName).c_str());
        if (summary.cards > 1) {
            PrintError(
                "ovlet import: the file holds %zu cards; only the first was imported (--all -o FOLDER "
                "imports them all)\n",
                summary.cards);
        }
        return summary.errors.empty() ? kExitOk : kExitDamaged;
    }

    if (!files::MakeFolders(out)) {
        PrintError("ovlet import: cannot make the folder %s\n", files::TerminalSafe(out).c_str());
        return kExitFile;
    }
    // The cards are read one at a time, each written as soon as it is read
    // and then let go: a file of any number of cards costs the same per card.
    // Each is written without waiting for the disk, and the folder's file
    // system is synced once at the end.
    files::FreeNames names(out);
    std::size_t index = 0;
    int rc = kExitOk;
    const vcard::ReadSummary summary = vcard::ReadVCards(bytes, [&](vcard::ImportedCard&& card) {
        const std::size_t i = index++;
        report.Card(i, card);
        if (!card.ok()) {
            PrintError("ovlet import: card %zu is damaged and was not written\n", i + 1);
            rc = kExitDamaged;
            return true;
        }
        // The picture --picture names is shared by every card, never copied into each.
        const bool own = !picture && card.record.HasPicture();
        const card::Result<std::string> path =
            WriteBatchCard(names, CardNameForFile(card.record), card.record,
                           picture ? pictureBytes.data()
                           : own   ? card.record.PictureBytes.data()
                                   : nullptr,
                           picture ? pictureBytes.size()
                           : own   ? static_cast<std::size_t>(card.record.PictureLength)
                                   : 0);
        if (!path) {
            Report("import", path.Error().Describe());
            rc = kExitFile;
            return false;
        }
        Print("%s: \"%s\"\n", files::TerminalSafe(path.Value()).c_str(), files::TerminalSafe(card.displayName).c_str());
        return true;
    });
    report.File(input, summary);
    report.Finish();
    if (const files::Result<void> synced = files::SyncFileSystem(out); !synced) {
        Report("import", synced.Error().Describe());
        return kExitFile;
    }
    if (rc == kExitOk && !summary.errors.empty()) rc = kExitDamaged;
    return rc;
}

// ------------------------------------------------------------------ qr

CLI::App* DeclareQr(CLI::App& tool, QrOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "qr", catalogue::TranslateLater(
                  "ovlet", "A QR code a phone reads the contact from (vCard 3.0, no photo or general information)"));
    AddOutputOption(*command, options.output, "The PNG file to write", "OUT.png");
    command->add_option("--size", options.size, "Width and height of the picture (at least 2 pixels a module)")
        ->type_name("PIXELS")
        ->check(CLI::Range(1, 1000000));
    command->add_flag("--vcard3", options.vcard3, "Accepted as before; the code always holds a vCard 3.0");
    AddCardArgument(*command, options.card);
    return command;
}

int RunQr(const QrOptions& o) {
    const char* card = o.card.c_str();
    const char* out = o.output.c_str();
    const int pixels = o.size;
    card::CardRecord record;
    // The code leaves the photo out: its bytes are never read.
    card::CardReadOptions read;
    read.readPicture = false;
    if (int rc = LoadCardForTool("qr", card, record, read); rc != kExitOk) return rc;
    const exchange::Result<qr::CardCode> made = qr::EncodeCard(record);
    if (!made) {
        PrintError("ovlet qr: %s\n", made.Error().Describe().c_str());
        return kExitUsage;
    }
    const qr::CardCode& code = made.Value();
    const exchange::Result<std::vector<std::uint8_t>> png = qr::EncodePng(code.code, pixels);
    if (!png) {
        PrintError("ovlet qr: %s\n", png.Error().Describe().c_str());
        return kExitUsage;
    }
    if (int rc = WriteOutputFile("qr", out, png->data(), png->size()); rc != kExitOk) return rc;
    std::fprintf(files::NamesStandardOutput(out, true) ? stderr : stdout,
                 "%s: QR code version %d, error correction %c, %d x %d modules, %zu bytes of vCard\n",
                 files::TerminalSafe(out).c_str(), code.code.version, code.code.level, code.code.width, code.code.width,
                 code.text.size());
    return kExitOk;
}

// ------------------------------------------------------------------ html

CLI::App* DeclareHtml(CLI::App& tool, HtmlOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "html",
        catalogue::TranslateLater(
            "ovlet", "The card as one self-contained web page (h-card, picture, links, vCard and QR code inside)"));
    AddOutputOption(*command, options.output, "The HTML file to write ('-': standard output)", "OUT.html");
    AddCardArgument(*command, options.card);
    return command;
}

int RunHtml(const HtmlOptions& o) {
    card::CardRecord record;
    if (int rc = LoadCardForTool("html", o.card, record); rc != kExitOk) return rc;
    std::string warning;
    const std::string page = exchange::EncodeWebCard(record, &warning);
    if (!warning.empty()) Report("html", warning);
    return WriteOutputFile("html", o.output, page.data(), page.size());
}

}  // namespace ovlet::cli
