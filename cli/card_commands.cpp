// Card commands: show, make, picture.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "card/card_summary.h"
#include "card/codepage.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/exchange_commands.h"
#include "cli/tool_support.h"
#include "files/terminal_text.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::cli {
namespace {

std::string JsonString(const std::string& ansi) {
    const std::string utf8 = card::Utf8FromAnsi(ansi);
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

// Prints a possibly multi-line value with continuation lines under the first.
void PrintLabelled(const std::string& label, const std::string& ansi) {
    std::string utf8 = card::Utf8FromAnsi(ansi);
    Print("%-22s ", label.c_str());
    std::size_t start = 0;
    bool first = true;
    while (true) {
        std::size_t end = utf8.find('\n', start);
        std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = files::TerminalSafe(line);
        if (first) {
            Print("%s\n", line.c_str());
        } else {
            Print("%-22s %s\n", "", line.c_str());
        }
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void PrintCardText(const card::CardRecord& r, std::int32_t pictureLength) {
    for (const auto& f : card::kCardFields) {
        std::string label = *f.group ? std::string(f.group) + " " + f.label : f.label;
        PrintLabelled(label, r.*f.member);
    }
    PrintLabelled("Picture:", pictureLength > 0 ? std::to_string(pictureLength) + " bytes" : "none");
    Print("\nSummary\n");
    for (const char* name : card::kDisplayStringOrder)
        PrintLabelled(std::string("  ") + name, r.*card::FindCardString(name)->member);
}

void PrintCardJson(const card::CardRecord& r, std::int32_t pictureLength) {
    Print("{\n");
    for (const auto& f : card::kCardFields) Print("  \"%s\": %s,\n", f.name, JsonString(r.*f.member).c_str());
    Print("  \"PictureLength\": %d,\n", pictureLength);
    for (std::size_t i = 0; i < card::kDisplayStringOrder.size(); ++i) {
        const char* name = card::kDisplayStringOrder[i];
        Print("  \"%s\": %s%s\n", name, JsonString(r.*card::FindCardString(name)->member).c_str(),
              i + 1 < card::kDisplayStringOrder.size() ? "," : "");
    }
    Print("}\n");
}

// Undoes the two escapes a value may carry on the command line: "\n" and "\\".
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'n' || s[i + 1] == '\\')) {
            out += s[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

int LoadCardForTool(const char* command, const std::string& path, card::CardRecord& record,
                    const card::CardReadOptions& options, std::int32_t* pictureLength) {
    card::RecordOnlySide side(record);
    const card::Result<card::CardReading> read = card::ReadCardFile(path, record, side, options);
    if (pictureLength) *pictureLength = read ? read->pictureLength : 0;
    if (read) return kExitOk;
    // "cannot read PATH: REASON", or "card PATH is damaged or truncated".
    Report(command, read.Error().Describe());
    switch (read.Error().kind) {
        case card::CardError::Kind::PastEnd:
        case card::CardError::Kind::Damaged:
            return kExitDamaged;
        default:
            return kExitFile;
    }
}

// A UTF-8 value for a field, in the card's code page; multi-line fields store
// their line breaks as CR LF. Returns an error text, or "" when it fits.
std::string FieldValueFromUtf8(const card::CardFieldInfo& field, const std::string& utf8, std::string& ansi) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        if (utf8[i] == '\n') {
            if (!field.multiLine) return std::string("field ") + field.name + " holds one line only";
            text += "\r\n";
        } else {
            text += utf8[i];
        }
    }
    char32_t bad = 0;
    auto converted = card::AnsiFromUtf8(text, &bad);
    if (!converted) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "field %s: character U+%04X cannot be stored in a card (Windows-1252)",
                      field.name, static_cast<unsigned>(bad));
        return buf;
    }
    if (converted->size() > card::kMaxCardFieldBytes) {
        return std::string("field ") + field.name + " is longer than a card may hold (1 MiB)";
    }
    ansi = std::move(*converted);
    return {};
}

CLI::App* DeclareShow(CLI::App& tool, ShowOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "show", catalogue::TranslateLater("ovlet", "Print a card's fields, picture size and summary"));
    command->add_flag("--json", options.json, "Print the card as JSON (UTF-8, exact values)");
    AddCardArgument(*command, options.card);
    return command;
}

int RunShow(const ShowOptions& options) {
    card::CardRecord record;
    // Showing a card never touches its picture's bytes, only counts them.
    card::CardReadOptions read;
    read.readPicture = false;
    std::int32_t pictureLength = 0;
    if (int rc = LoadCardForTool("show", options.card, record, read, &pictureLength); rc != kExitOk) return rc;
    if (options.json) {
        PrintCardJson(record, pictureLength);
    } else {
        PrintCardText(record, pictureLength);
    }
    return kExitOk;
}

CLI::App* DeclareMake(CLI::App& tool, MakeOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "make", catalogue::TranslateLater("ovlet", "Write a new card, or one card per row of a CSV file"));
    command->add_option("--from", options.from, "Start from this card (the template of a batch)")->type_name("CARD");
    command->add_option("--picture", options.picture, "The card's picture (JPEG or PNG)")->type_name("FILE");
    command->add_option("--csv", options.csv, "One card per row; the header row names the fields")
        ->type_name("PEOPLE.csv");
    command->add_option("-o,--output", options.output, "The card to write (with --csv: the folder)")->type_name("OUT");
    command->add_option("ARGS", options.words, "OUT, the card to write, and Field=Value for its fields")
        ->type_name("OUT|Field=Value");
    command->footer(
        "Usage: ovlet make [--from CARD] OUT [Field=Value ...] [--picture FILE]\n"
        "       ovlet make --csv PEOPLE.csv -o FOLDER [--picture FILE] [--from TEMPLATE.ovt]\n"
        "A value may hold \\n for a line break (multi-line fields only) and \\\\ for a backslash.\n"
        "Field names: Company StreetAddress City StateProvince PostalCode Country WebSite\n"
        "  FirstName LastName MiddleName JobTitle EMail Fax Department Phone1Description\n"
        "  Phone1Number Phone2Description Phone2Number GeneralInformation");
    return command;
}

int RunMake(const MakeOptions& options) {
    static const char* kUsage = "Usage: ovlet make [--from CARD] OUT [Field=Value ...] [--picture FILE]\n";
    if (!options.csv.empty()) return RunMakeBatch(options);
    std::string out = options.output;
    std::vector<std::pair<const card::CardFieldInfo*, std::string>> values;
    for (const std::string& word : options.words) {
        if (const auto eq = word.find('='); eq != std::string::npos) {
            const card::CardFieldInfo* field = card::FindCardField(word.substr(0, eq));
            if (!field) {
                Report("make", "unknown field '" + word.substr(0, eq) + "' (see 'ovlet make --help')");
                return kExitUsage;
            }
            std::string ansi;
            if (std::string error = FieldValueFromUtf8(*field, Unescape(word.substr(eq + 1)), ansi); !error.empty()) {
                Report("make", error);
                return kExitUsage;
            }
            values.emplace_back(field, std::move(ansi));
        } else if (out.empty()) {
            out = word;
        } else {
            PrintError("ovlet make: unexpected argument '%s'\n%s", files::TerminalSafe(word).c_str(), kUsage);
            return kExitUsage;
        }
    }
    if (out.empty()) {
        PrintError("ovlet make: name the card to write\n%s", kUsage);
        return kExitUsage;
    }
    card::CardRecord record;
    if (!options.from.empty()) {
        if (int rc = LoadCardForTool("make", options.from, record); rc != kExitOk) return rc;
    }
    for (auto& [field, value] : values) {
        // Kept in full, as a card file may hold it, but the window could not
        // have typed it: say so, as import does.
        if (field->limit > 0 && value.size() > static_cast<std::size_t>(field->limit)) {
            Report("make", "warning: " + OverLimitWarning(*field, value.size()));
        }
        record.*field->member = std::move(value);
    }
    if (!options.picture.empty()) {
        std::vector<std::uint8_t> bytes;
        if (int rc = LoadPictureFile("make", options.picture, bytes); rc != kExitOk) return rc;
        record.SetPicture(std::move(bytes));
    }
    if (const card::Result<void> written = WriteCardTo(out, record); !written) {
        Report("make", written.Error().Describe());
        return kExitFile;
    }
    return kExitOk;
}

CLI::App* DeclarePicture(CLI::App& tool, PictureOptions& options) {
    CLI::App* command =
        tool.add_subcommand("picture", catalogue::TranslateLater("ovlet", "Write the card's picture bytes unchanged"));
    AddCardArgument(*command, options.card);
    command->add_option("OUT", options.output, "The picture file to write");
    command->add_option("-o,--output", options.output, "The picture file to write (instead of OUT)")->type_name("OUT");
    return command;
}

int RunPicture(const PictureOptions& options) {
    if (options.output.empty()) {
        PrintError("ovlet picture: name the picture file to write\nUsage: ovlet picture CARD OUT\n");
        return kExitUsage;
    }
    card::CardRecord record;
    if (int rc = LoadCardForTool("picture", options.card, record); rc != kExitOk) return rc;
    if (!record.HasPicture()) {
        // Nothing to write is no success: a script must not take an old or
        // missing file for the card's picture.
        Report("picture", "card " + options.card + " has no picture; nothing was written");
        return kExitFile;
    }
    return WriteOutputFile("picture", options.output, record.PictureBytes.data(),
                           static_cast<std::size_t>(record.PictureLength));
}

}  // namespace ovlet::cli
