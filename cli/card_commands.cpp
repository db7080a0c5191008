// Card commands: show, make, picture.
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

int RunShow(int argc, char** argv) {
    bool json = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            std::fprintf(stderr, "ovlet show: unexpected argument '%s'\nUsage: ovlet show [--json] CARD\n", argv[i]);
            return kExitUsage;
        }
    }
    if (!path) {
        std::fprintf(stderr, "Usage: ovlet show [--json] CARD\n");
        return kExitUsage;
    }
    CardRecord record;
    if (int rc = LoadCardForTool("show", path, record); rc != kExitOk) return rc;
    if (json) {
        PrintCardJson(record);
    } else {
        PrintCardText(record);
    }
    return kExitOk;
}

int RunMake(int argc, char** argv) {
    static const char* kUsage = "Usage: ovlet make [--from CARD] OUT [Field=Value ...] [--picture FILE]\n";
    const char* from = nullptr;
    const char* out = nullptr;
    const char* picture = nullptr;
    std::vector<std::pair<const CardFieldInfo*, std::string>> values;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--from" || arg == "--picture") && i + 1 < argc) {
            (arg == "--from" ? from : picture) = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "ovlet make: unknown option '%s'\n%s", arg.c_str(), kUsage);
            return kExitUsage;
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            const CardFieldInfo* field = FindCardField(arg.substr(0, eq));
            if (!field) {
                std::fprintf(stderr, "ovlet make: unknown field '%s' (see 'ovlet --help')\n",
                             arg.substr(0, eq).c_str());
                return kExitUsage;
            }
            std::string ansi;
            if (std::string error = FieldValueFromUtf8(*field, Unescape(arg.substr(eq + 1)), ansi); !error.empty()) {
                std::fprintf(stderr, "ovlet make: %s\n", error.c_str());
                return kExitUsage;
            }
            values.emplace_back(field, std::move(ansi));
        } else if (!out) {
            out = argv[i];
        } else {
            std::fprintf(stderr, "ovlet make: unexpected argument '%s'\n%s", argv[i], kUsage);
            return kExitUsage;
        }
    }
    if (!out) {
        std::fprintf(stderr, "%s", kUsage);
        return kExitUsage;
    }
    CardRecord record;
    if (from) {
        if (int rc = LoadCardForTool("make", from, record); rc != kExitOk) return rc;
    }
    for (auto& [field, value] : values) record.*field->member = std::move(value);
    if (picture) {
        std::vector<std::uint8_t> bytes;
        if (!ReadFileBytes(picture, bytes)) {
            std::fprintf(stderr, "ovlet make: cannot read picture %s\n", picture);
            return kExitFile;
        }
        if (bytes.size() > 0x7FFFFFFF) {
            std::fprintf(stderr, "ovlet make: picture %s is too large for a card\n", picture);
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

int RunPicture(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: ovlet picture CARD OUT\n");
        return kExitUsage;
    }
    CardRecord record;
    if (int rc = LoadCardForTool("picture", argv[1], record); rc != kExitOk) return rc;
    if (!record.HasPicture()) {
        std::fprintf(stderr, "ovlet picture: card %s has no picture\n", argv[1]);
        return kExitFile;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(record.PictureBytes.data()), record.PictureLength);
    out.close();
    if (!out) {
        std::fprintf(stderr, "ovlet picture: cannot write %s\n", argv[2]);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace ovlet_cli
