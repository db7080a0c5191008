// make --csv: one card per row of a spreadsheet saved as CSV.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_file.h"
#include "card/card_record.h"
#include "cli/commands.h"
#include "cli/exchange_commands.h"

namespace ovlet_cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxCsvBytes = 64u << 20;
constexpr std::size_t kMaxErrorsShown = 20;

struct CsvRow {
    std::size_t number = 0;  // 1-based record number; the header is row 1
    std::size_t line = 0;    // the line the row starts on
    std::vector<std::string> cells;
};

// The separator a spreadsheet used: a comma, or a semicolon or tab where the
// header row holds no comma (spreadsheets in many countries save those).
char GuessDelimiter(std::string_view text) {
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (commas == 0 && semicolons > 0) return ';';
    if (commas == 0 && tabs > 0) return '\t';
    return ',';
}

// Reads CSV as RFC 4180 describes it: quoted cells may hold separators, line
// breaks and doubled quotes. Rows end in CR LF, LF or CR.
bool ParseCsv(std::string_view text, char delimiter, std::vector<CsvRow>& rows, std::string& error) {
    std::size_t i = 0;
    std::size_t line = 1;
    std::size_t number = 0;
    const std::size_t n = text.size();
    auto endOfLine = [&](std::size_t& pos) {
        if (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ++pos;
        ++pos;
        ++line;
    };
    while (i < n) {
        CsvRow row;
        row.number = ++number;
        row.line = line;
        while (true) {
            std::string cell;
            if (i < n && text[i] == '"') {
                const std::size_t openLine = line;
                ++i;
                while (true) {
                    if (i >= n) {
                        error = "row " + std::to_string(row.number) + " (line " + std::to_string(openLine) +
                                "), column " + std::to_string(row.cells.size() + 1) +
                                ": a quoted value is not closed before the end of the file";
                        return false;
                    }
                    const char c = text[i];
                    if (c == '"' && i + 1 < n && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                    } else if (c == '"') {
                        ++i;
                        break;
                    } else if (c == '\r' || c == '\n') {
                        const std::size_t start = i;
                        endOfLine(i);
                        cell.append(text.substr(start, i - start));
                    } else {
                        cell += c;
                        ++i;
                    }
                }
                if (i < n && text[i] != delimiter && text[i] != '\r' && text[i] != '\n') {
                    error = "row " + std::to_string(row.number) + " (line " + std::to_string(line) + "), column " +
                            std::to_string(row.cells.size() + 1) + ": text follows the closing quote";
                    return false;
                }
            } else {
                while (i < n && text[i] != delimiter && text[i] != '\r' && text[i] != '\n') cell += text[i++];
            }
            row.cells.push_back(std::move(cell));
            if (i < n && text[i] == delimiter) {
                ++i;
                if (i == n) row.cells.emplace_back();
                continue;
            }
            if (i < n) endOfLine(i);
            break;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length == 0 || s.size() - i < length || (length == 2 && lead < 0xC2)) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

bool IsBlank(const CsvRow& row) {
    for (const auto& cell : row.cells) {
        if (!cell.empty()) return false;
    }
    return true;
}

}  // namespace

int RunMakeBatch(const MakeOptions& options) {
    static const char* kUsage = "Usage: ovlet make --csv PEOPLE.csv -o FOLDER [--picture FILE] [--from TEMPLATE.ovt]\n";
    if (options.output.empty() || !options.words.empty()) {
        std::fprintf(stderr, "ovlet make: %s\n%s",
                     options.output.empty() ? "name the folder for the cards with -o"
                                            : "a batch takes its fields from the CSV file, not from the command line",
                     kUsage);
        return kExitUsage;
    }
    const char* csv = options.csv.c_str();
    const char* out = options.output.c_str();
    const char* picture = options.picture.empty() ? nullptr : options.picture.c_str();
    const char* from = options.from.empty() ? nullptr : options.from.c_str();

    CardRecord templateCard;
    if (from) {
        if (int rc = LoadCardForTool("make", from, templateCard); rc != kExitOk) return rc;
    }
    if (picture) {
        std::vector<std::uint8_t> bytes;
        if (int rc = LoadPictureFile("make", picture, bytes); rc != kExitOk) return rc;
        templateCard.SetPicture(std::move(bytes));
    }

    std::string text;
    std::string error;
    if (!ReadInputFile(csv, kMaxCsvBytes, text, error)) {
        std::fprintf(stderr, "ovlet make: %s\n", error.c_str());
        return kExitFile;
    }
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    std::vector<CsvRow> rows;
    if (!ParseCsv(body, GuessDelimiter(body), rows, error)) {
        std::fprintf(stderr, "ovlet make: %s: %s\n", csv, error.c_str());
        return kExitUsage;
    }

    std::vector<std::string> errors;
    auto fail = [&](const CsvRow& row, std::size_t column, const std::string& what) {
        std::string where = "row " + std::to_string(row.number) + " (line " + std::to_string(row.line) + ")";
        if (column) where += ", column " + std::to_string(column);
        errors.push_back(where + ": " + what);
    };

    if (rows.empty() || IsBlank(rows.front())) {
        std::fprintf(stderr, "ovlet make: %s: the first row must name the fields (as 'ovlet show --json' does)\n", csv);
        return kExitUsage;
    }
    std::vector<const CardFieldInfo*> columns;
    for (std::size_t c = 0; c < rows.front().cells.size(); ++c) {
        const std::string& name = rows.front().cells[c];
        const CardFieldInfo* field = FindCardField(name);
        if (!field) {
            fail(rows.front(), c + 1,
                 name.empty() ? "the column has no field name"
                              : "'" + name + "' is not a card field (see 'ovlet --help')");
        }
        for (std::size_t k = 0; field && k < columns.size(); ++k) {
            if (columns[k] == field) fail(rows.front(), c + 1, "the field " + name + " is named twice");
        }
        columns.push_back(field);
    }

    auto reportErrors = [&] {
        for (std::size_t e = 0; e < errors.size() && e < kMaxErrorsShown; ++e) {
            std::fprintf(stderr, "ovlet make: %s: %s\n", csv, errors[e].c_str());
        }
        if (errors.size() > kMaxErrorsShown) {
            std::fprintf(stderr, "ovlet make: ... and %zu more\n", errors.size() - kMaxErrorsShown);
        }
        std::fprintf(stderr, "ovlet make: no card was written\n");
        return kExitUsage;
    };
    if (!errors.empty()) return reportErrors();

    std::vector<CardRecord> cards;
    std::vector<std::string> warnings;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (IsBlank(row)) continue;
        std::size_t used = row.cells.size();
        while (used > columns.size() && row.cells[used - 1].empty()) --used;
        if (used != columns.size()) {
            fail(row, 0,
                 std::to_string(used) + " values, but the header names " + std::to_string(columns.size()) + " columns");
            continue;
        }
        CardRecord record = templateCard;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const CardFieldInfo& field = *columns[c];
            std::string ansi;
            if (!IsUtf8(row.cells[c])) {
                fail(row, c + 1, "the value is not UTF-8 text (save the file as UTF-8)");
                continue;
            }
            if (std::string bad = FieldValueFromUtf8(field, row.cells[c], ansi); !bad.empty()) {
                fail(row, c + 1, bad);
                continue;
            }
            if (field.limit > 0 && ansi.size() > static_cast<std::size_t>(field.limit)) {
                warnings.push_back("row " + std::to_string(row.number) + ", column " + std::to_string(c + 1) + ": " +
                                   field.name + " is " + std::to_string(ansi.size()) + " characters long, over the " +
                                   std::to_string(field.limit) + " that can be typed into it; kept in full");
            }
            record.*field.member = std::move(ansi);
        }
        cards.push_back(std::move(record));
    }
    // Every row is checked before the first card is written.
    if (!errors.empty()) return reportErrors();
    if (cards.empty()) {
        std::fprintf(stderr, "ovlet make: %s has no rows below the header; no card was written\n", csv);
        return kExitUsage;
    }
    for (const auto& w : warnings) std::fprintf(stderr, "ovlet make: %s: %s\n", csv, w.c_str());

    std::error_code ec;
    fs::create_directories(out, ec);
    if (!fs::is_directory(out, ec)) {
        std::fprintf(stderr, "ovlet make: cannot make the folder %s\n", out);
        return kExitFile;
    }
    std::set<std::string> taken;
    for (auto& record : cards) {
        const std::string path = (fs::path(out) / UniqueCardFileName(out, CardNameForFile(record), taken)).string();
        if (!WriteCardTo(path, record, error)) {
            std::fprintf(stderr, "ovlet make: %s\n", error.c_str());
            return kExitFile;
        }
        std::printf("%s\n", path.c_str());
    }
    return kExitOk;
}

}  // namespace ovlet_cli
