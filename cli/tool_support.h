// What the ovlet commands share: messages, reading and writing files through
// the programs' one reader and writer, pictures for cards, names for cards
// written in batches, and warnings kept within bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "card/card_error.h"
#include "files/free_names.h"
#include "files/output_file.h"

namespace ovlet::card {
struct CardFieldInfo;
struct CardRecord;
}  // namespace ovlet::card

namespace ovlet::cli {

// Prints "ovlet COMMAND: MESSAGE" on standard error. Text from files can be in
// the message: control characters are shown escaped.
void Report(const char* command, const std::string& message);
// Says why the card's picture is left out of a drawing, when it is.
void WarnPictureLeftOut(const char* command, const std::string& warning);

// Reads a whole text file a command takes in (regular files only, at most
// files::kMaxTextFileBytes; "-" is standard input). Returns an exit code,
// having reported a failure ("cannot read PATH: ..."): 2 when it cannot be
// read.
int LoadTextInput(const char* command, const std::string& path, std::string& text);

// Writes a whole file a command puts out through the one writer ("-" is
// standard output): completely, or not at all, leaving the file there as it
// was. Returns an exit code, having reported a failure: 2 when it cannot be
// written.
int WriteOutputFile(const char* command, const std::string& path, const void* data, std::size_t size);

// Writes a card ("-" is standard output); the error's words name the file.
card::Result<void> WriteCardTo(const std::string& path, card::CardRecord& record,
                               files::Durability durability = files::Durability::Synced);

// Reads a picture for a card: a JPEG or PNG file (at most 2 GiB, what a card
// can hold) that decodes. Returns an exit code, having reported a failure:
// 2 when the file cannot be read, 4 when it is no picture a card can show.
int LoadPictureFile(const char* command, const std::string& path, std::vector<std::uint8_t>& bytes);

// The name a card's file is named after: the person, else the company (UTF-8).
std::string CardNameForFile(const card::CardRecord& record);

// A file name in `names`' folder for a card of that name (UTF-8): letters,
// digits and a few safe marks only (no controls, spaces of any kind, soft
// hyphens, symbols or marks Windows refuses), never hidden, never a name
// Windows keeps for a device (CON, NUL, COM1, LPT¹, ... with any extension),
// at most 60 bytes before ".ovt", never a file already there, also ignoring
// case; a repeated name gets "-2", "-3", ... in constant time.
std::string UniqueCardFileName(files::FreeNames& names, const std::string& nameUtf8);

// Writes a card of a batch into `names`' folder under a free name for a card
// of that name (as UniqueCardFileName makes it), with `picture` as its
// picture: a batch shares one picture among its cards. The name is claimed
// with the file itself, so a card that is there, or that another batch writes
// into the same folder at the same time, is never replaced: a name taken
// meanwhile makes it take the next. The file is not synced (SyncFileSystem at
// the end). Returns the path written.
card::Result<std::string> WriteBatchCard(files::FreeNames& names, const std::string& nameUtf8,
                                         const card::CardRecord& record, const std::uint8_t* picture,
                                         std::size_t pictureSize);

// The warning for a value longer than its field's typing limit.
std::string OverLimitWarning(const card::CardFieldInfo& field, std::size_t length);

// Warnings of a batch: all are counted, the first ones kept to be shown.
class WarningLog {
public:
    static constexpr std::size_t kKept = 100;

    void Add(std::string text);
    std::size_t Count() const { return count; }
    const std::vector<std::string>& Kept() const { return kept; }
    // Prints the kept warnings, and how many more there were.
    void Print(const char* command, const std::string& prefix) const;

private:
    std::size_t count = 0;
    std::vector<std::string> kept;
};

// A progress line on a terminal for long batches ("ovlet make: 1200 of 5000
// cards"), drawn at most a few times a second and cleared at the end.
class Progress {
public:
    Progress(const char* command, std::size_t total);
    ~Progress();
    void Step(std::size_t done);

private:
    const char* commandName;
    std::size_t totalCards;
    bool shown = false;
    bool enabled = false;
    long long lastDrawn = 0;
};

}  // namespace ovlet::cli
