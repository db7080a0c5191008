// The ovlet commands. Each takes its own word as argv[0] and returns the
// program's exit code.
#pragma once

#include <string>

struct CardFieldInfo;
struct CardRecord;

namespace ovlet_cli {

// Exit codes every command shares.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFile = 2;
inline constexpr int kExitDamaged = 3;
inline constexpr int kExitPicture = 4;

int RunShow(int argc, char** argv);
int RunMake(int argc, char** argv);
int RunPicture(int argc, char** argv);

// Reads a card for a command, reporting a failure on stderr; returns an exit code.
int LoadCardForTool(const char* command, const std::string& path, CardRecord& record);

// A UTF-8 value for a field in the card's code page (multi-line fields store
// line breaks as CR LF). Returns an error text, or "" when the value fits.
std::string FieldValueFromUtf8(const CardFieldInfo& field, const std::string& utf8, std::string& ansi);

}  // namespace ovlet_cli
