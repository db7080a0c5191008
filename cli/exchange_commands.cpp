// Commands export, import and qr, and what they share with batch making.
#include "cli/exchange_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "card/card_file.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "exchange/web_card.h"

namespace ovlet_cli {

namespace fs = std::filesystem;

// ------------------------------------------------------------------ shared helpers

bool ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        error = path + " is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    bytes.clear();
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) {
            error = path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB";
            return false;
        }
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// Writes a new file beside the target and renames it over the target once it
// is complete, so that a failed write leaves an existing file as it was.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size, std::string& error) {
    fs::path target = path;
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    errno = 0;
    bool ok = true;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    const int writeErrno = errno;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        error = "cannot write " + path + ": " + std::strerror(writeErrno ? writeErrno : errno);
        ::unlink(temp.c_str());
    }
    return ok;
}

bool WriteCardTo(const std::string& path, CardRecord& record, std::string& error) {
    return WriteCardTo(path, record, error, DefaultCardFileOps());
}

bool WriteCardTo(const std::string& path, CardRecord& record, std::string& error, const CardFileOps& ops) {
    RecordOnlySide side(record);
    const CardWriteResult result = WriteCardFile(path, record, side, ops);
    if (result.outcome == CardWriteOutcome::Written) return true;
    error = result.error.empty() ? "cannot write " + path : result.error;
    return false;
}

namespace {

bool IsSafeAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Names a Windows machine keeps for devices, whatever the extension.
bool IsDeviceName(const std::string& stem) {
    static const char* kNames[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                   "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                   "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    const std::string lower = LowerAscii(stem);
    for (const char* n : kNames) {
        if (lower == n) return true;
    }
    return false;
}

// The name reduced to letters (any script), digits, '-', '.' and '_'.
std::string SafeStem(const std::string& utf8) {
    constexpr std::size_t kMaxStemBytes = 60;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        bool keep = IsSafeAscii(c);
        if (c >= 0xC0) {
            length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            keep = i + length <= utf8.size();
            for (std::size_t k = 1; keep && k < length; ++k) {
                keep = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
            }
            // Latin-1 multiplication and division signs are not letters.
            if (keep && length == 2 && c == 0xC3) {
                const auto n = static_cast<unsigned char>(utf8[i + 1]);
                keep = n != 0x97 && n != 0xB7;
            }
            if (!keep) length = 1;
        }
        if (keep) {
            if (out.size() + length > kMaxStemBytes) break;
            out.append(utf8, i, length);
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
        i += length;
    }
    while (!out.empty() && (out.back() == '_' || out.back() == '.' || out.back() == '-')) out.pop_back();
    std::size_t start = 0;
    while (start < out.size() && (out[start] == '_' || out[start] == '.' || out[start] == '-')) ++start;
    out.erase(0, start);
    if (out.empty()) out = "card";
    if (IsDeviceName(out)) out += '_';
    return out;
}

}  // namespace

std::string UniqueCardFileName(const std::string& folder, const std::string& nameUtf8, std::set<std::string>& taken) {
    const std::string stem = SafeStem(nameUtf8);
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem + ".ovt" : stem + "-" + std::to_string(n) + ".ovt";
        std::error_code ec;
        if (taken.count(LowerAscii(name))) continue;
        // A file already there is never replaced, nor one differing only in
        // case from a name given out, which would collide on Windows.
        if (fs::exists(fs::path(folder) / name, ec)) {
            taken.insert(LowerAscii(name));
            continue;
        }
        taken.insert(LowerAscii(name));
        return name;
    }
}

std::string CardNameForFile(const CardRecord& record) {
    std::string name;
    for (const std::string* part : {&record.FirstName, &record.MiddleName, &record.LastName}) {
        if (part->empty()) continue;
        if (!name.empty()) name += ' ';
        name += *part;
    }
    if (name.empty()) name = record.Company;
    return codepage::Utf8FromAnsi(name);
}

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
    const char* card = o.card.c_str();
    const char* out = o.output.empty() ? nullptr : o.output.c_str();
    CardRecord record;
    if (int rc = LoadCardForTool("export", card, record); rc != kExitOk) return rc;
    const std::string text = vcard::EncodeVCard(record, options);
    if (!out || std::string_view(out) == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFile;
    }
    std::string error;
    if (!WriteFileReplacing(out, text.data(), text.size(), error)) {
        std::fprintf(stderr, "ovlet export: %s\n", error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

namespace {

// ------------------------------------------------------------------ import

// vCard files larger than this are refused before they are read.
constexpr std::size_t kMaxVCardFileBytes = 64u << 20;

// What an import tells about the file and its cards: every card's issues
// until kMaxShown lines are printed, then only a count, so a file with a
// million unknown lines neither floods the terminal nor is kept in memory.
class ImportReport {
public:
    static constexpr std::size_t kMaxShown = 100;

    void File(const char* input, const vcard::ReadSummary& summary) {
        if (summary.errors.empty() && summary.warnings.empty()) return;
        std::fprintf(stderr, "ovlet import: %s:\n", input);
        Print("error: ", summary.errors);
        Print("", summary.warnings);
    }

    void Card(std::size_t index, const vcard::ImportedCard& card) {
        notShown_ += card.issuesNotKept;
        if (card.unmapped.empty() && card.warnings.empty() && card.errors.empty()) return;
        if (shown_ < kMaxShown) {
            std::fprintf(stderr, "ovlet import: card %zu \"%s\" (line %zu):\n", index + 1, card.displayName.c_str(),
                         card.firstLine);
        }
        Print("error: ", card.errors);
        Print("", card.warnings);
        Print("not imported: ", card.unmapped);
    }

    void Finish() const {
        if (notShown_ > 0) std::fprintf(stderr, "ovlet import: %zu more reports not shown\n", notShown_);
    }

private:
    void Print(const char* kind, const std::vector<vcard::Issue>& issues) {
        for (const auto& issue : issues) {
            if (shown_ >= kMaxShown) {
                ++notShown_;
                continue;
            }
            ++shown_;
            std::string where = issue.line ? "line " + std::to_string(issue.line) : std::string();
            if (!issue.property.empty()) where += (where.empty() ? "" : " ") + issue.property;
            std::fprintf(stderr, "  %s%s%s%s\n", kind, where.c_str(), where.empty() ? "" : ": ", issue.text.c_str());
        }
    }

    std::size_t shown_ = 0;
    std::size_t notShown_ = 0;
};

// The next free file name for a name already given out is found in constant
// time: each name remembers the number it got to, and a number is tried once.
class FreeNames {
public:
    explicit FreeNames(std::string folder) : folder_(std::move(folder)) {}

    std::string Next(const std::string& nameUtf8) {
        const std::string stem = SafeStem(nameUtf8);
        int& n = next_[LowerAscii(stem)];
        for (;;) {
            ++n;
            const std::string name = n == 1 ? stem + ".ovt" : stem + "-" + std::to_string(n) + ".ovt";
            // A file already there is never replaced, nor one differing only in
            // case from a name given out, which would collide on Windows.
            if (!taken_.insert(LowerAscii(name)).second) continue;
            std::error_code ec;
            if (fs::exists(fs::path(folder_) / name, ec)) continue;
            return name;
        }
    }

private:
    std::string folder_;
    std::unordered_map<std::string, int> next_;
    std::unordered_set<std::string> taken_;
};

}  // namespace

int LoadPictureFile(const char* command, const char* path, std::vector<std::uint8_t>& bytes) {
    std::string data;
    std::string error;
    if (!ReadInputFile(path, 0x7FFFFFFF, data, error)) {
        std::fprintf(stderr, "ovlet %s: cannot read picture %s (%s)\n", command, path, error.c_str());
        return kExitFile;
    }
    const std::string type = vcard::PictureMediaType(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    if (type != "image/jpeg" && type != "image/png") {
        std::fprintf(stderr, "ovlet %s: picture %s is not a JPEG or PNG file (%s)\n", command, path, type.c_str());
        return kExitPicture;
    }
    bytes.assign(data.begin(), data.end());
    return kExitOk;
}

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
    if (!ReadInputFile(std::string_view(input) == "-" ? "/dev/stdin" : input, kMaxVCardFileBytes, bytes, error)) {
        std::fprintf(stderr, "ovlet import: %s\n", error.c_str());
        return kExitFile;
    }
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
            std::fprintf(stderr, "ovlet import: the card is damaged; nothing was written\n");
            return kExitDamaged;
        }
        if (picture) first->record.SetPicture(pictureBytes);
        if (!WriteCardTo(out, first->record, error)) {
            std::fprintf(stderr, "ovlet import: %s\n", error.c_str());
            return kExitFile;
        }
        std::printf("%s: \"%s\"\n", out, first->displayName.c_str());
        if (summary.cards > 1) {
            std::fprintf(stderr,
                         "ovlet import: the file holds %zu cards; only the first was imported (--all -o FOLDER "
                         "imports them all)\n",
                         summary.cards);
        }
        return summary.errors.empty() ? kExitOk : kExitDamaged;
    }

    std::error_code ec;
    fs::create_directories(out, ec);
    if (!fs::is_directory(out, ec)) {
        std::fprintf(stderr, "ovlet import: cannot make the folder %s\n", out);
        return kExitFile;
    }
    // Each card is written as soon as it is read and then let go. A batch
    // syncs once at the end, not twice per card: a file of 20,000 cards
    // takes seconds, not minutes.
    static const CardFileOps kBatchOps{DefaultCardFileOps().write, [](int) { return 0; }};
    FreeNames names(out);
    std::size_t index = 0;
    int rc = kExitOk;
    const vcard::ReadSummary summary = vcard::ReadVCards(bytes, [&](vcard::ImportedCard&& card) {
        const std::size_t i = index++;
        report.Card(i, card);
        if (!card.ok()) {
            std::fprintf(stderr, "ovlet import: card %zu is damaged and was not written\n", i + 1);
            rc = kExitDamaged;
            return true;
        }
        if (picture) card.record.SetPicture(pictureBytes);
        const std::string path = (fs::path(out) / names.Next(CardNameForFile(card.record))).string();
        if (!WriteCardTo(path, card.record, error, kBatchOps)) {
            std::fprintf(stderr, "ovlet import: %s\n", error.c_str());
            rc = kExitFile;
            return false;
        }
        std::printf("%s: \"%s\"\n", path.c_str(), card.displayName.c_str());
        return true;
    });
    report.File(input, summary);
    report.Finish();
    if (const int dir = ::open(out, O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        if (::syncfs(dir) != 0 && rc == kExitOk) {
            std::fprintf(stderr, "ovlet import: the cards in %s cannot be saved to disk: %s\n", out,
                         std::strerror(errno));
            rc = kExitFile;
        }
        ::close(dir);
    }
    if (rc == kExitOk && !summary.errors.empty()) rc = kExitDamaged;
    return rc;
}

// ------------------------------------------------------------------ qr

CLI::App* DeclareQr(CLI::App& tool, QrOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "qr", "A QR code a phone reads the contact from (vCard 3.0, no photo or general information)");
    command->add_option("-o,--output", options.output, "The PNG file to write")->type_name("OUT.png")->required();
    command->add_option("--size", options.size, "Width and height of the picture (at least 2 pixels a module)")
        ->type_name("PIXELS")
        ->check(CLI::Range(1, 1000000));
    command->add_flag("--vcard3", options.vcard3, "Accepted as before; the code always holds a vCard 3.0");
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunQr(const QrOptions& o) {
    const char* card = o.card.c_str();
    const char* out = o.output.c_str();
    const int pixels = o.size;
    CardRecord record;
    if (int rc = LoadCardForTool("qr", card, record); rc != kExitOk) return rc;
    qr::CardCode code;
    std::string error;
    if (!qr::EncodeCard(record, code, error)) {
        std::fprintf(stderr, "ovlet qr: %s\n", error.c_str());
        return kExitUsage;
    }
    std::vector<std::uint8_t> png;
    if (!qr::EncodePng(code.code, pixels, png, error)) {
        std::fprintf(stderr, "ovlet qr: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!WriteFileReplacing(out, png.data(), png.size(), error)) {
        std::fprintf(stderr, "ovlet qr: %s\n", error.c_str());
        return kExitFile;
    }
    std::printf("%s: QR code version %d, error correction %c, %d x %d modules, %zu bytes of vCard\n", out,
                code.code.version, code.code.level, code.code.width, code.code.width, code.text.size());
    return kExitOk;
}

// ------------------------------------------------------------------ html

CLI::App* DeclareHtml(CLI::App& tool, HtmlOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "html", "The card as one self-contained web page (h-card, picture, links, vCard and QR code inside)");
    command->add_option("-o,--output", options.output, "The HTML file to write ('-': standard output)")
        ->type_name("OUT.html")
        ->required();
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunHtml(const HtmlOptions& o) {
    CardRecord record;
    if (int rc = LoadCardForTool("html", o.card, record); rc != kExitOk) return rc;
    const std::string page = webcard::EncodeWebCard(record);
    std::string error;
    if (o.output == "-") {
        std::fwrite(page.data(), 1, page.size(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFile;
    }
    if (!WriteFileReplacing(o.output, page.data(), page.size(), error)) {
        std::fprintf(stderr, "ovlet html: %s\n", error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace ovlet_cli
