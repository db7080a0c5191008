// Commands export, import and qr, and what they share with batch making.
#include "cli/exchange_commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "card/card_file.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "files/input_file.h"
#include "files/terminal_text.h"

namespace ovlet_cli {

namespace fs = std::filesystem;

// ------------------------------------------------------------------ export

CLI::App* DeclareExport(CLI::App& tool, ExportOptions& options) {
    CLI::App* command = tool.add_subcommand("export", "The card as a vCard 4.0 (or 3.0) for address books");
    command->add_flag("--vcard", options.vcard, "Write a vCard (4.0 unless --vcard3)");
    command->add_flag("--vcard3", options.vcard3, "Write a vCard 3.0");
    command->add_flag("--no-photo", options.noPhoto, "Leave the picture out");
    command->add_option("-o,--output", options.output, "The vCard file to write ('-' or none: standard output)")
        ->type_name("OUT.vcf");
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunExport(const ExportOptions& o) {
    if (!o.vcard && !o.vcard3) {
        std::fprintf(stderr,
                     "ovlet export: name the format (--vcard or --vcard3)\n"
                     "Usage: ovlet export --vcard CARD [-o OUT.vcf] [--vcard3] [--no-photo]\n");
        return kExitUsage;
    }
    vcard::WriteOptions options;
    if (o.vcard3) options.version = vcard::Version::V3_0;
    options.photo = !o.noPhoto;
    const std::string out = o.output.empty() ? "-" : o.output;
    CardRecord record;
    // Without the photo the picture's bytes are never read.
    CardReadOptions read;
    read.readPicture = options.photo;
    if (int rc = LoadCardForTool("export", o.card, record, read); rc != kExitOk) return rc;
    const std::string text = vcard::EncodeVCard(record, options);
    std::string error;
    if (!WriteFileReplacing(out, text.data(), text.size(), error)) {
        Report("export", error);
        return kExitFile;
    }
    return kExitOk;
}

namespace {

// ------------------------------------------------------------------ import

void PrintIssues(const char* kind, const std::vector<vcard::Issue>& issues) {
    for (const auto& issue : issues) {
        std::string where = issue.line ? "line " + std::to_string(issue.line) : std::string();
        if (!issue.property.empty()) where += (where.empty() ? "" : " ") + issue.property;
        std::fprintf(stderr, "  %s%s%s%s\n", kind, where.c_str(), where.empty() ? "" : ": ",
                     files::TerminalSafe(issue.text).c_str());
    }
}

void ReportCard(std::size_t index, const vcard::ImportedCard& card) {
    if (card.unmapped.empty() && card.warnings.empty() && card.errors.empty()) return;
    std::fprintf(stderr, "ovlet import: card %zu \"%s\" (line %zu):\n", index + 1,
                 files::TerminalSafe(card.displayName).c_str(), card.firstLine);
    PrintIssues("error: ", card.errors);
    PrintIssues("", card.warnings);
    PrintIssues("not imported: ", card.unmapped);
}

}  // namespace

CLI::App* DeclareImport(CLI::App& tool, ImportOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "import", "Cards from a vCard file (2.1, 3.0, 4.0), with a report of what has no field on a card");
    command->add_option("-o,--output", options.output, "The card to write (with --all: the folder)")
        ->type_name("OUT")
        ->required();
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
    std::string error;
    if (!ReadInputFile(input, files::kMaxTextFileBytes, bytes, error)) {
        Report("import", error);
        return kExitFile;
    }
    vcard::ReadResult result = vcard::DecodeVCards(bytes);
    if (!result.errors.empty() || !result.warnings.empty()) {
        Report("import", std::string(input) + ":");
        PrintIssues("error: ", result.errors);
        PrintIssues("", result.warnings);
    }
    if (result.cards.empty()) return kExitDamaged;

    auto prepare = [&](vcard::ImportedCard& card) {
        if (picture) card.record.SetPicture(pictureBytes);
    };
    if (!all) {
        vcard::ImportedCard& card = result.cards.front();
        ReportCard(0, card);
        if (!card.ok()) {
            std::fprintf(stderr, "ovlet import: the card is damaged; nothing was written\n");
            return kExitDamaged;
        }
        prepare(card);
        if (!WriteCardTo(out, card.record, error)) {
            Report("import", error);
            return kExitFile;
        }
        // The card itself may have gone to standard output.
        std::fprintf(std::string_view(out) == "-" ? stderr : stdout, "%s: \"%s\"\n", files::TerminalSafe(out).c_str(),
                     files::TerminalSafe(card.displayName).c_str());
        if (result.cards.size() > 1) {
            std::fprintf(stderr,
                         "ovlet import: the file holds %zu cards; only the first was imported (--all -o FOLDER "
                         "imports them all)\n",
                         result.cards.size());
        }
        return result.errors.empty() ? kExitOk : kExitDamaged;
    }

    std::error_code ec;
    fs::create_directories(out, ec);
    if (!fs::is_directory(out, ec)) {
        std::fprintf(stderr, "ovlet import: cannot make the folder %s\n", out);
        return kExitFile;
    }
    // Many cards into one folder: each is written without waiting for the
    // disk, and the folder's file system is synced once at the end.
    files::FreeNames names(out);
    int rc = result.errors.empty() ? kExitOk : kExitDamaged;
    for (std::size_t i = 0; i < result.cards.size(); ++i) {
        vcard::ImportedCard& card = result.cards[i];
        ReportCard(i, card);
        if (!card.ok()) {
            std::fprintf(stderr, "ovlet import: card %zu is damaged and was not written\n", i + 1);
            rc = kExitDamaged;
            continue;
        }
        const std::string name = UniqueCardFileName(names, CardNameForFile(card.record));
        const std::string path = (fs::path(out) / name).string();
        // The picture --picture names is shared by every card, never copied into each.
        bool written = false;
        if (picture) {
            files::WriteOptions options;
            options.durability = files::Durability::Later;
            const CardWriteResult shared =
                WriteCardWithPicture(path, card.record, pictureBytes.data(), pictureBytes.size(), options);
            written = shared.outcome == CardWriteOutcome::Written;
            error = shared.error;
        } else {
            written = WriteCardTo(path, card.record, error, files::Durability::Later);
        }
        if (!written) {
            Report("import", error);
            files::SyncFileSystem(out, error);
            return kExitFile;
        }
        std::printf("%s: \"%s\"\n", path.c_str(), files::TerminalSafe(card.displayName).c_str());
    }
    if (!files::SyncFileSystem(out, error)) {
        Report("import", error);
        return kExitFile;
    }
    return rc;
}

// ------------------------------------------------------------------ qr

CLI::App* DeclareQr(CLI::App& tool, QrOptions& options) {
    CLI::App* command = tool.add_subcommand("qr", "A QR code of the card's vCard without its photo");
    command->add_option("-o,--output", options.output, "The PNG file to write")->type_name("OUT.png")->required();
    command->add_option("--size", options.size, "Width and height of the picture")
        ->type_name("PIXELS")
        ->check(CLI::Range(1, 1000000));
    command->add_flag("--vcard3", options.vcard3, "Encode a vCard 3.0");
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunQr(const QrOptions& o) {
    const vcard::Version version = o.vcard3 ? vcard::Version::V3_0 : vcard::Version::V4_0;
    const char* card = o.card.c_str();
    const char* out = o.output.c_str();
    const int pixels = o.size;
    CardRecord record;
    // The code leaves the photo out: its bytes are never read.
    CardReadOptions read;
    read.readPicture = false;
    if (int rc = LoadCardForTool("qr", card, record, read); rc != kExitOk) return rc;
    qr::CardCode code;
    std::string error;
    if (!qr::EncodeCard(record, version, code, error)) {
        std::fprintf(stderr, "ovlet qr: %s\n", error.c_str());
        return kExitUsage;
    }
    std::vector<std::uint8_t> png;
    if (!qr::EncodePng(code.code, pixels, png, error)) {
        std::fprintf(stderr, "ovlet qr: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!WriteFileReplacing(out, png.data(), png.size(), error)) {
        Report("qr", error);
        return kExitFile;
    }
    if (code.noteLeftOut) {
        std::fprintf(stderr, "ovlet qr: the general information did not fit in the code and was left out\n");
    }
    std::fprintf(std::string_view(out) == "-" ? stderr : stdout,
                 "%s: QR code version %d, error correction %c, %d x %d modules, %zu bytes of vCard\n", out,
                 code.code.version, code.code.level, code.code.width, code.code.width, code.text.size());
    return kExitOk;
}

}  // namespace ovlet_cli
