// Card commands: show, make, picture.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "card/card_summary.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "cli/exchange_commands.h"

namespace ovlet_cli {
namespace {

std::string JsonString(const std::string& ansi) {
    const std::string utf8 = codepage::Utf8FromAnsi(ansi);
    std::string out = "\"";
    for (unsigned char c : utf8) {
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
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// Prints a possibly multi-line value with continuation lines under the first.
void PrintLabelled(const std::string& label, const std::string& ansi) {
    std::string utf8 = codepage::Utf8FromAnsi(ansi);
    std::printf("%-22s ", label.c_str());
    std::size_t start = 0;
    bool first = true;
    while (true) {
        std::size_t end = utf8.find('\n', start);
        std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::printf(first ? "%s\n" : "%-22s %s\n", first ? line.c_str() : "", line.c_str());
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void PrintCardText(const CardRecord& r) {
    for (const auto& f : kCardFields) {
        std::string label = *f.group ? std::string(f.group) + " " + f.label : f.label;
        PrintLabelled(label, r.*f.member);
    }
    PrintLabelled("Picture:", r.HasPicture() ? std::to_string(r.PictureLength) + " bytes" : "none");
    std::printf("\nSummary\n");
    for (const char* name : kDisplayStringOrder)
        PrintLabelled(std::string("  ") + name, r.*FindCardString(name)->member);
}

void PrintCardJson(const CardRecord& r) {
    std::printf("{\n");
    for (const auto& f : kCardFields) std::printf("  \"%s\": %s,\n", f.name, JsonString(r.*f.member).c_str());
    std::printf("  \"PictureLength\": %d,\n", r.PictureLength);
    for (std::size_t i = 0; i < kDisplayStringOrder.size(); ++i) {
        const char* name = kDisplayStringOrder[i];
        std::printf("  \"%s\": %s%s\n", name, JsonString(r.*FindCardString(name)->member).c_str(),
                    i + 1 < kDisplayStringOrder.size() ? "," : "");
    }
    std::printf("}\n");
}

bool ReadFileBytes(const char* path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.clear();
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) out.insert(out.end(), chunk, chunk + in.gcount());
    return !in.bad();
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

int LoadCardForTool(const char* command, const std::string& path, CardRecord& record) {
    RecordOnlySide side(record);
    switch (ReadCardFile(path, record, side).outcome) {
        case CardReadOutcome::Read:
            return kExitOk;
        case CardReadOutcome::CannotOpen:
            std::fprintf(stderr, "ovlet %s: cannot open card %s\n", command, path.c_str());
            return kExitFile;
        case CardReadOutcome::PastEnd:
        case CardReadOutcome::Damaged:
            break;
    }
    std::fprintf(stderr, "ovlet %s: card %s is damaged or truncated\n", command, path.c_str());
    return kExitDamaged;
}

// A UTF-8 value for a field, in the card's code page; multi-line fields store
// their line breaks as CR LF. Returns an error text, or "" when it fits.
std::string FieldValueFromUtf8(const CardFieldInfo& field, const std::string& utf8, std::string& ansi) {
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
    auto converted = codepage::AnsiFromUtf8(text, &bad);
    if (!converted) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "field %s: character U+%04X cannot be stored in a card (Windows-1252)",
                      field.name, static_cast<unsigned>(bad));
        return buf;
    }
    ansi = std::move(*converted);
    return {};
}

CLI::App* DeclareShow(CLI::App& tool, ShowOptions& options) {
    CLI::App* command = tool.add_subcommand("show", "Print a card's fields, picture size and summary");
    command->add_flag("--json", options.json, "Print the card as JSON (UTF-8, exact values)");
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunShow(const ShowOptions& options) {
    CardRecord record;
    if (int rc = LoadCardForTool("show", options.card, record); rc != kExitOk) return rc;
    if (options.json) {
        PrintCardJson(record);
    } else {
        PrintCardText(record);
    }
    return kExitOk;
}

CLI::App* DeclareMake(CLI::App& tool, MakeOptions& options) {
    CLI::App* command = tool.add_subcommand("make", "Write a new card, or one card per row of a CSV file");
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
    std::vector<std::pair<const CardFieldInfo*, std::string>> values;
    for (const std::string& word : options.words) {
        if (const auto eq = word.find('='); eq != std::string::npos) {
            const CardFieldInfo* field = FindCardField(word.substr(0, eq));
            if (!field) {
                std::fprintf(stderr, "ovlet make: unknown field '%s' (see 'ovlet make --help')\n",
                             word.substr(0, eq).c_str());
                return kExitUsage;
            }
            std::string ansi;
            if (std::string error = FieldValueFromUtf8(*field, Unescape(word.substr(eq + 1)), ansi); !error.empty()) {
                std::fprintf(stderr, "ovlet make: %s\n", error.c_str());
                return kExitUsage;
            }
            values.emplace_back(field, std::move(ansi));
        } else if (out.empty()) {
            out = word;
        } else {
            std::fprintf(stderr, "ovlet make: unexpected argument '%s'\n%s", word.c_str(), kUsage);
            return kExitUsage;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "ovlet make: name the card to write\n%s", kUsage);
        return kExitUsage;
    }
    CardRecord record;
    if (!options.from.empty()) {
        if (int rc = LoadCardForTool("make", options.from, record); rc != kExitOk) return rc;
    }
    for (auto& [field, value] : values) record.*field->member = std::move(value);
    if (!options.picture.empty()) {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(options.picture.c_str(), bytes)) {
            std::fprintf(stderr, "ovlet make: cannot read picture %s\n", options.picture.c_str());
            return kExitFile;
        }
        if (bytes.size() > 0x7FFFFFFF) {
            std::fprintf(stderr, "ovlet make: picture %s is too large for a card\n", options.picture.c_str());
            return kExitFile;
        }
        record.SetPicture(std::move(bytes));
    }
    RecordOnlySide side(record);
    const CardWriteResult result = WriteCardFile(out, record, side);
    if (result.outcome != CardWriteOutcome::Written) {
        std::fprintf(stderr, "ovlet make: %s\n",
                     result.error.empty() ? (std::string("cannot write ") + out).c_str() : result.error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

CLI::App* DeclarePicture(CLI::App& tool, PictureOptions& options) {
    CLI::App* command = tool.add_subcommand("picture", "Write the card's picture bytes unchanged");
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    command->add_option("OUT", options.output, "The picture file to write");
    command->add_option("-o,--output", options.output, "The picture file to write (instead of OUT)")->type_name("OUT");
    return command;
}

int RunPicture(const PictureOptions& options) {
    if (options.output.empty()) {
        std::fprintf(stderr, "ovlet picture: name the picture file to write\nUsage: ovlet picture CARD OUT\n");
        return kExitUsage;
    }
    CardRecord record;
    if (int rc = LoadCardForTool("picture", options.card, record); rc != kExitOk) return rc;
    if (!record.HasPicture()) {
        std::fprintf(stderr, "ovlet picture: card %s has no picture\n", options.card.c_str());
        return kExitFile;
    }
    std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(record.PictureBytes.data()), record.PictureLength);
    out.close();
    if (!out) {
        std::fprintf(stderr, "ovlet picture: cannot write %s\n", options.output.c_str());
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace ovlet_cli
