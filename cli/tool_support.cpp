#include "cli/tool_support.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <new>
#include <utility>

#include "card/card_file.h"
#include "card/card_record.h"
#include "card/card_summary.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "files/ascii_text.h"
#include "files/console.h"
#include "files/file_status.h"
#include "files/input_file.h"
#include "files/terminal_text.h"
#include "picture/any_pic_decoder.h"
#include "picture/decode_outcome.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"
#include "resources/catalogue/decoder_lines.h"

namespace ovlet::cli {

void Report(const char* command, const std::string& message) {
    PrintError("ovlet %s: %s\n", command, files::TerminalSafe(message, true).c_str());
}

void WarnPictureLeftOut(const char* command, const std::string& warning) {
    if (!warning.empty()) Report(command, "the card's picture is left out: " + warning);
}

int LoadTextInput(const char* command, const std::string& path, std::string& text) {
    files::Result<std::string> read = files::ReadWholeText(path, {files::kMaxTextFileBytes, true});
    if (!read) {
        Report(command, read.Error().Describe());
        return kExitFile;
    }
    text = std::move(read).Value();
    return kExitOk;
}

int WriteOutputFile(const char* command, const std::string& path, const void* data, std::size_t size) {
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    const files::Result<void> written = files::WriteWholeFile(path, data, size, options);
    if (written) return kExitOk;
    Report(command, written.Error().Describe());
    return kExitFile;
}

card::Result<void> WriteCardTo(const std::string& path, card::CardRecord& record, files::Durability durability) {
    card::RecordOnlySide side(record);
    files::WriteOptions options;
    options.dashIsStandardOutput = true;
    options.durability = durability;
    card::Result<void> written = card::WriteCardFile(path, record, side, options);
    if (written || !written.Error().text.empty()) return written;
    card::CardError failure = written.Error();
    failure.text = "cannot write " + path;
    return failure;
}

namespace {

// Whether the picture library can decode the bytes; `why` says why not.
bool Decodes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& why) {
    picture::CWinBmp bitmap;
    const picture::Result<void> decoded =
        picture::DecodePicture(path.c_str(), bytes.data(), static_cast<std::int32_t>(bytes.size()), bitmap, 0);
    // Running out of memory ends the tool with its own message.
    if (!decoded && decoded.Error().kind == picture::DecodeError::Kind::OutOfMemory) throw std::bad_alloc();
    if (!decoded) why = catalogue::TranslateDecoderLine(decoded.Error().Describe());
    return static_cast<bool>(decoded);
}

}  // namespace

int LoadPictureFile(const char* command, const std::string& path, std::vector<std::uint8_t>& bytes) {
    // A card holds a picture of at most kMaxCardPictureBytes.
    files::Result<std::vector<std::uint8_t>> read = files::ReadWholeFile(path, {card::kMaxCardPictureBytes, false});
    if (!read) {
        Report(command, read.Error().Describe());
        return kExitFile;
    }
    bytes = std::move(read).Value();
    const auto format = picture::CAnyPicDecoder::DetectFormat(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    if (format != picture::PictureFormat::Jpeg && format != picture::PictureFormat::Png) {
        Report(command, "picture " + path + " is not a JPEG or PNG file (" + picture::PictureFormatName(format) + ")");
        return kExitPicture;
    }
    std::string why;
    if (!Decodes(path, bytes, why)) {
        Report(command, "picture " + path + " cannot be decoded: " + why);
        return kExitPicture;
    }
    return kExitOk;
}

std::string CardNameForFile(const card::CardRecord& record) {
    return card::Utf8FromAnsi(card::CardName(record));
}

namespace {

bool IsSafeAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

// Whether a character past ASCII may stand in a file name: letters of any
// script, not the controls, spaces, soft hyphen, symbols and superscript
// digits of Latin-1 (U+0080 to U+00BF), the multiplication and division
// signs, the punctuation block (dashes, quotes, invisible spaces and marks
// that turn a line around) or the other marks of Windows-1252.
bool IsNameCharacter(char32_t c) {
    if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
    if (c >= 0x2000 && c <= 0x206F) return false;
    if (c >= 0xFE00 && c <= 0xFE0F) return false;  // variation selectors
    return c != 0x20AC && c != 0x2122 && c != 0x02C6 && c != 0x02DC && c != 0xFEFF && c != 0xFFFD;
}

// Names a Windows machine keeps for devices, whatever the extension
// ("con.txt" is the console too): CON, PRN, AUX, NUL, COM1 to COM9 and LPT1
// to LPT9, where the digit may also be a superscript one, two or three.
bool IsDeviceName(const std::string& stem) {
    std::string first = files::LowerAscii(stem.substr(0, stem.find('.')));
    while (!first.empty() && (first.back() == ' ' || first.back() == '.')) first.pop_back();
    for (const char* name : {"con", "prn", "aux", "nul"}) {
        if (first == name) return true;
    }
    if (first.size() < 4 || (first.compare(0, 3, "com") != 0 && first.compare(0, 3, "lpt") != 0)) return false;
    const std::string digit = first.substr(3);
    return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}

// The name reduced to letters (any script), digits, '-', '.' and '_'.
std::string SafeStem(const std::string& utf8) {
    constexpr std::size_t kMaxStemBytes = 60;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        bool keep = IsSafeAscii(c);
        if (c >= 0xC2 && c <= 0xF4) {
            length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            keep = i + length <= utf8.size();
            char32_t code = c & (c >= 0xF0 ? 0x07 : c >= 0xE0 ? 0x0F : 0x1F);
            for (std::size_t k = 1; keep && k < length; ++k) {
                const auto b = static_cast<unsigned char>(utf8[i + k]);
                keep = (b & 0xC0) == 0x80;
                code = (code << 6) | (b & 0x3F);
            }
            if (!keep) length = 1;
            keep = keep && IsNameCharacter(code);
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
    // "con.txt" becomes "con_.txt", as "NUL" becomes "NUL_".
    if (IsDeviceName(out)) out.insert(std::min(out.find('.'), out.size()), "_");
    return out;
}

}  // namespace

std::string UniqueCardFileName(files::FreeNames& names, const std::string& nameUtf8) {
    return names.Take(SafeStem(nameUtf8), ".ovt");
}

card::Result<std::string> WriteBatchCard(files::FreeNames& names, const std::string& nameUtf8,
                                         const card::CardRecord& record, const std::uint8_t* picture,
                                         std::size_t pictureSize) {
    files::WriteOptions options;
    options.durability = files::Durability::Later;
    options.replace = false;
    const std::string overLimits = card::CardOverLimits(record, pictureSize);
    const std::vector<std::uint8_t> head =
        card::EncodeCardFields(record, static_cast<std::int32_t>(std::min<std::size_t>(pictureSize, INT32_MAX)));
    while (true) {
        const std::string path = files::JoinPath(names.Folder(), UniqueCardFileName(names, nameUtf8));
        if (!overLimits.empty())
            return card::CardError{card::CardError::Kind::CannotOpen, "cannot write " + path + ": " + overLimits, {}};
        files::OutputFile file(options);
        if (file.Open(path) && file.Write(head.data(), head.size()) && file.Write(picture, pictureSize) &&
            file.Commit()) {
            return path;
        }
        if (file.Failure() != files::WriteFailure::NameTaken) {
            return card::CardError{file.Failure() == files::WriteFailure::CannotOpen
                                       ? card::CardError::Kind::CannotOpen
                                       : card::CardError::Kind::WriteFailed,
                                   file.Error().Describe(),
                                   {}};
        }
    }
}

std::string OverLimitWarning(const card::CardFieldInfo& field, std::size_t length) {
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

}  // namespace ovlet::cli
