// The card commands of ovlet: show, make, picture. Each command has one
// function that declares its options on the tool and one that runs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "card/card_file.h"

namespace CLI {
class App;
}
namespace ovlet::card {
struct CardFieldInfo;
struct CardRecord;
}  // namespace ovlet::card

namespace ovlet::cli {

// Exit codes every command shares.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFile = 2;
inline constexpr int kExitDamaged = 3;
inline constexpr int kExitPicture = 4;

struct ShowOptions {
    std::string card;
    bool json = false;
};
CLI::App* DeclareShow(CLI::App& tool, ShowOptions& options);
int RunShow(const ShowOptions& options);

// make OUT [Field=Value ...], or make --csv PEOPLE.csv -o FOLDER.
struct MakeOptions {
    std::string from;
    std::string picture;
    std::string csv;
    std::string output;              // -o: the card (or the folder of a batch)
    std::vector<std::string> words;  // OUT and Field=Value, in any order
};
CLI::App* DeclareMake(CLI::App& tool, MakeOptions& options);
int RunMake(const MakeOptions& options);

struct PictureOptions {
    std::string card;
    std::string output;
};
CLI::App* DeclarePicture(CLI::App& tool, PictureOptions& options);
int RunPicture(const PictureOptions& options);

// Reads a card for a command, reporting a failure on stderr; returns an exit
// code: 2 when the file cannot be read, 3 when it is damaged or cut short.
// `pictureLength` receives the picture bytes the card holds, read or not.
int LoadCardForTool(const char* command, const std::string& path, card::CardRecord& record,
                    const card::CardReadOptions& options = {}, std::int32_t* pictureLength = nullptr);

// A UTF-8 value for a field in the card's code page (multi-line fields store
// line breaks as CR LF). Returns an error text, or "" when the value fits.
std::string FieldValueFromUtf8(const card::CardFieldInfo& field, const std::string& utf8, std::string& ansi);

}  // namespace ovlet::cli
