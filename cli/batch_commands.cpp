// make --csv: one card per row of a spreadsheet saved as CSV.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_file.h"
#include "card/card_record.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/exchange_commands.h"
#include "cli/tool_support.h"
#include "files/file_status.h"
#include "files/input_file.h"
#include "files/result.h"
#include "files/terminal_text.h"
#include "files/utf8.h"

namespace ovlet::cli {
namespace {

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

// Where a CSV file stops making sense, and why.
struct CsvError {
    std::size_t row = 0;
    std::size_t line = 0;
    std::size_t column = 0;
    std::string what;

    std::string Describe() const {
        return "row " + std::to_string(row) + " (line " + std::to_string(line) + "), column " +
               std::to_string(column) + ": " + what;
    }
};

// Reads CSV as RFC 4180 describes it: quoted cells may hold separators, line
// breaks and doubled quotes. Rows end in CR LF, LF or CR.
Result<std::vector<CsvRow>, CsvError> ParseCsv(std::string_view text, char delimiter) {
    std::vector<CsvRow> rows;
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
                        return CsvError{row.number, openLine, row.cells.size() + 1,
                                        "a quoted value is not closed before the end of the file"};
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
                    return CsvError{row.number, line, row.cells.size() + 1, "text follows the closing quote"};
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
    return rows;
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
        PrintError("ovlet make: %s\n%s",
                     options.output.empty() ? "name the folder for the cards with -o"
                                            : "a batch takes its fields from the CSV file, not from the command line",
                     kUsage);
        return kExitUsage;
    }
    const std::string& csv = options.csv;
    const std::string& out = options.output;

    // The template's fields are copied for each card; its picture, or the one
    // --picture names, is read once and shared by all of them.
    card::CardRecord templateCard;
    if (!options.from.empty()) {
        if (int rc = LoadCardForTool("make", options.from, templateCard); rc != kExitOk) return rc;
    }
    std::vector<std::uint8_t> picture = std::move(templateCard.PictureBytes);
    templateCard.ReleasePicture();
    if (!options.picture.empty()) {
        if (int rc = LoadPictureFile("make", options.picture, picture); rc != kExitOk) return rc;
    }

    std::string text;
    if (int rc = LoadTextInput("make", csv, text); rc != kExitOk) return rc;
    WarningLog warnings;
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    // Spreadsheets on Windows save CSV in the machine's code page.
    std::string converted;
    if (!files::IsValidUtf8(body)) {
        converted = card::Utf8FromAnsi(body);
        body = converted;
        Report("make", csv + " is not UTF-8 text; it is read as Windows-1252");
    }
    auto parsed = ParseCsv(body, GuessDelimiter(body));
    if (!parsed) {
        Report("make", csv + ": " + parsed.Error().Describe());
        return kExitUsage;
    }
    std::vector<CsvRow> rows = std::move(parsed).Value();

    std::vector<std::string> errors;
    auto where = [](const CsvRow& row, std::size_t column) {
        std::string place = "row " + std::to_string(row.number) + " (line " + std::to_string(row.line) + ")";
        if (column) place += ", column " + std::to_string(column);
        return place;
    };
    auto fail = [&](const CsvRow& row, std::size_t column, const std::string& what) {
        errors.push_back(where(row, column) + ": " + what);
    };

    if (rows.empty() || IsBlank(rows.front())) {
        Report("make", csv + ": the first row must name the fields (as 'ovlet show --json' does)");
        return kExitUsage;
    }
    // A column that names no field is left out with a warning; the others
    // make the cards.
    std::vector<const card::CardFieldInfo*> columns;
    std::size_t fieldColumns = 0;
    for (std::size_t c = 0; c < rows.front().cells.size(); ++c) {
        const std::string& name = rows.front().cells[c];
        const card::CardFieldInfo* field = card::FindCardField(name);
        if (!field) {
            warnings.Add(where(rows.front(), c + 1) + ": " +
                         (name.empty() ? "the column has no field name" : "'" + name + "' is not a card field") +
                         "; the column is left out (see 'ovlet make --help')");
        }
        for (std::size_t k = 0; field && k < columns.size(); ++k) {
            if (columns[k] == field) fail(rows.front(), c + 1, "the field " + name + " is named twice");
        }
        fieldColumns += field != nullptr;
        columns.push_back(field);
    }
    if (fieldColumns == 0) fail(rows.front(), 0, "no column names a card field (see 'ovlet make --help')");

    auto reportErrors = [&] {
        for (std::size_t e = 0; e < errors.size() && e < kMaxErrorsShown; ++e) Report("make", csv + ": " + errors[e]);
        if (errors.size() > kMaxErrorsShown) {
            Report("make", "... and " + std::to_string(errors.size() - kMaxErrorsShown) + " more");
        }
        warnings.Print("make", csv + ": ");
        Report("make", "no card was written");
        return kExitUsage;
    };
    if (!errors.empty()) return reportErrors();

    // Every row is checked before the first card is written; a row keeps
    // only its values in the card's code page until its card is written.
    struct Card {
        std::size_t row;
        std::vector<std::string> values;  // one per column; unused for columns left out
    };
    std::vector<Card> cards;
    std::size_t blankRows = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        CsvRow& row = rows[r];
        if (IsBlank(row)) {
            ++blankRows;
            continue;
        }
        std::size_t used = row.cells.size();
        while (used > columns.size() && row.cells[used - 1].empty()) --used;
        if (used != columns.size()) {
            fail(row, 0,
                 std::to_string(used) + " values, but the header names " + std::to_string(columns.size()) + " columns");
            continue;
        }
        Card card{r, std::vector<std::string>(columns.size())};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (!columns[c]) continue;
            const card::CardFieldInfo& field = *columns[c];
            std::string ansi;
            if (std::string bad = FieldValueFromUtf8(field, row.cells[c], ansi); !bad.empty()) {
                fail(row, c + 1, bad);
                continue;
            }
            if (field.limit > 0 && ansi.size() > static_cast<std::size_t>(field.limit)) {
                warnings.Add(where(row, c + 1) + ": " + OverLimitWarning(field, ansi.size()));
            }
            card.values[c] = std::move(ansi);
        }
        row.cells.clear();
        row.cells.shrink_to_fit();
        cards.push_back(std::move(card));
    }
    if (!errors.empty()) return reportErrors();
    if (cards.empty()) {
        warnings.Print("make", csv + ": ");
        Report("make", csv + " has no rows below the header; no card was written");
        return kExitUsage;
    }
    warnings.Print("make", csv + ": ");

    if (!files::MakeFolders(out)) {
        Report("make", "cannot make the folder " + out);
        return kExitFile;
    }
    // Thousands of cards into one folder: each is written without waiting for
    // the disk, and the folder's file system is synced once at the end.
    files::FreeNames names(out);
    Progress progress("make", cards.size());
    std::size_t written = 0;
    int rc = kExitOk;
    for (Card& card : cards) {
        card::CardRecord record = templateCard;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c]) record.*columns[c]->member = std::move(card.values[c]);
        }
        card.values.clear();
        card.values.shrink_to_fit();
        const card::Result<std::string> path =
            WriteBatchCard(names, CardNameForFile(record), record, picture.data(), picture.size());
        if (!path) {
            Report("make", path.Error().Describe());
            rc = kExitFile;
            break;
        }
        Print("%s\n", files::TerminalSafe(path.Value()).c_str());
        progress.Step(++written);
    }
    if (const files::Result<void> synced = files::SyncFileSystem(out); !synced) {
        Report("make", synced.Error().Describe());
        rc = kExitFile;
    }
    std::fflush(stdout);
    Report("make", std::to_string(written) + (written == 1 ? " card" : " cards") + " written to " + out + ", " +
                       std::to_string(blankRows) + (blankRows == 1 ? " blank row" : " blank rows") + " skipped, " +
                       std::to_string(warnings.Count()) + (warnings.Count() == 1 ? " warning" : " warnings"));
    return rc;
}

}  // namespace ovlet::cli
