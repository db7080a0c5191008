#include "cli/tool_support.h"

#include <chrono>
#include <cstdio>

#include "card/card_file.h"
#include "card/card_record.h"
#include "card/card_summary.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "files/ascii_text.h"
#include "files/console.h"
#include "files/input_file.h"
#include "files/terminal_text.h"
#include "picture/any_pic_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet_cli {

void Report(const char* command, const std::string& message) {
    PrintError("ovlet %s: %s\n", command, files::TerminalSafe(message, true).c_str());
}

int LoadTextInput(const char* command, const std::string& path, std::string& text) {
    std::string error;
    if (files::ReadWholeFile(path, {files::kMaxTextFileBytes, true}, text, error)) return kExitOk;
    Report(command, error);
    return kExitFile;
}

int WriteOutputFile(const char* command, const std::string& path, const void* data, std::size_t size) {
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    std::string error;
    if (files::WriteWholeFile(path, data, size, error, options)) return kExitOk;
    Report(command, error);
    return kExitFile;
}

bool WriteCardTo(const std::string& path, CardRecord& record, std::string& error, files::Durability durability) {
    RecordOnlySide side(record);
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    options.durability = durability;
    const CardWriteResult result = WriteCardFile(path, record, side, options);
    if (result.outcome == CardWriteOutcome::Written) return true;
    error = result.error.empty() ? "cannot write " + path : result.error;
    return false;
}

namespace {

// Whether the picture library can decode the bytes; `why` says why not.
bool Decodes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& why) {
    CAnyPicDecoder decoder;
    CWinBmp bitmap;
    try {
        decoder.DecodeMemory(path.c_str(), bytes.data(), static_cast<std::int32_t>(bytes.size()), &bitmap, 0);
    } catch (const CTextException& e) {
        why = MessageLine(e.GetText());
        return false;
    }
    return true;
}

}  // namespace

int LoadPictureFile(const char* command, const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::string error;
    if (!files::ReadWholeFile(path, {files::kMaxPictureBytes, false}, bytes, error)) {
        Report(command, error);
        return kExitFile;
    }
    const auto format = CAnyPicDecoder::DetectFormat(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    if (format != PictureFormat::Jpeg && format != PictureFormat::Png) {
        Report(command, "picture " + path + " is not a JPEG or PNG file (" + PictureFormatName(format) + ")");
        return kExitPicture;
    }
    std::string why;
    if (!Decodes(path, bytes, why)) {
        Report(command, "picture " + path + " cannot be decoded: " + why);
        return kExitPicture;
    }
    return kExitOk;
}

std::string CardNameForFile(const CardRecord& record) {
    return codepage::Utf8FromAnsi(CardName(record));
}

namespace {

bool IsSafeAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

// Names a Windows machine keeps for devices, whatever the extension.
bool IsDeviceName(const std::string& stem) {
    static const char* kNames[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                   "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                   "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    const std::string lower = files::LowerAscii(stem);
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

std::string UniqueCardFileName(files::FreeNames& names, const std::string& nameUtf8) {
    return names.Take(SafeStem(nameUtf8), ".ovt");
}

std::string OverLimitWarning(const CardFieldInfo& field, std::size_t length) {
    return std::string(field.name) + " is " + std::to_string(length) + " characters long, over the " +
           std::to_string(field.limit) + " that can be typed into it; kept in full";
}

void WarningLog::Add(std::string text) {
    ++count;
    if (kept.size() < kKept) kept.push_back(std::move(text));
}

void WarningLog::Print(const char* command, const std::string& prefix) const {
    for (const std::string& text : kept) Report(command, prefix + text);
    if (count > kept.size()) {
        Report(command, "... and " + std::to_string(count - kept.size()) + " more warnings");
    }
}

namespace {

long long NowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// Shown when standard error is a terminal and standard output is not: on a
// terminal the names of the cards scroll past and are progress enough.
Progress::Progress(const char* command, std::size_t total)
    : commandName(command),
      totalCards(total),
      enabled(files::IsTerminal(files::StandardStream::Error) && !files::IsTerminal(files::StandardStream::Output)),
      lastDrawn(NowMilliseconds()) {}

Progress::~Progress() {
    if (shown) std::fprintf(stderr, "\r\033[K");
}

void Progress::Step(std::size_t done) {
    if (!enabled) return;
    const long long now = NowMilliseconds();
    // Only a batch that takes a while shows it, a few times a second.
    if (now - lastDrawn < 250) return;
    lastDrawn = now;
    shown = true;
    std::fprintf(stderr, "\rovlet %s: %zu of %zu cards", commandName, done, totalCards);
    std::fflush(stderr);
}

}  // namespace ovlet_cli
