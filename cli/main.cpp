// ovlet: card and picture commands for scripts, tests and people without a desktop.
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/draw_commands.h"
#include "cli/exchange_commands.h"
#include "cli/picture_commands.h"
#include "cli/render_command.h"
#include "files/console.h"
#include "files/user_languages.h"
#include "resources/catalogue/catalogue.h"

#ifdef OVLET_DRAW_RELATIVE_PATH
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#endif

namespace ovlet::cli {
namespace {

constexpr const char* kFooter =
    catalogue::TranslateLater("ovlet",
                              "Run 'ovlet COMMAND --help' for the options of a command.\n"
                              "Field names: Company StreetAddress City StateProvince PostalCode Country WebSite\n"
                              "  FirstName LastName MiddleName JobTitle EMail Fax Department Phone1Description\n"
                              "  Phone1Number Phone2Description Phone2Number GeneralInformation\n"
                              "Text is UTF-8; cards store Windows-1252. '-' as an output file is standard output.\n"
                              "Exit codes: 0 success, 1 usage error, 2 file cannot be opened, read or written,\n"
                              "  3 damaged or truncated card or vCard, 4 picture cannot be decoded.");

#ifdef OVLET_DRAW_RELATIVE_PATH
// The drawing program: beside this one in a build folder, else where the
// installation puts it relative to this program.
std::string DrawProgram() {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string dir(self, static_cast<std::size_t>(n));
    dir.erase(dir.rfind('/') + 1);
    for (const std::string& candidate : {dir + kDrawProgramName, dir + OVLET_DRAW_RELATIVE_PATH + kDrawProgramName}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

int HandOverToDrawProgram(const std::string& command, const std::vector<std::string>& args, bool verbose) {
    const std::string program = DrawProgram();
    if (program.empty()) {
        std::fprintf(stderr, "ovlet %s: the drawing program %s is not installed\n", command.c_str(), kDrawProgramName);
        return kExitUsage;
    }
    std::vector<std::string> words = {"ovlet"};
    if (verbose) words.push_back("--verbose");
    words.push_back(command);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    std::fprintf(stderr, "ovlet %s: cannot start %s: %s\n", command.c_str(), program.c_str(), std::strerror(errno));
    return kExitUsage;
}
#endif

}  // namespace
}  // namespace ovlet::cli

int main(int argc, char** argv) {
    using namespace ovlet;
    using namespace ovlet::cli;
    files::SetUpStandardStreams();
    // The tool's help and the picture library's messages in the user's
    // language; everything else it writes is for scripts and stays English.
    catalogue::SetLanguage(catalogue::ChooseLanguage(files::UserLanguages()));
    // UTF-8 words on every system (on Windows from the wide command line).
    std::vector<std::string> words = files::ProgramArguments(argc, argv);
    std::vector<char*> wordPointers;
    for (std::string& word : words) wordPointers.push_back(word.data());
    wordPointers.push_back(nullptr);
    CommandLine tool("ovlet",
                     catalogue::TranslateLater("ovlet", "Ovlet: electronic business cards (.ovt) and their pictures"));
    tool.Add(DeclareShow, RunShow);
    tool.Add(DeclareMake, RunMake);
    tool.Add(DeclarePicture, RunPicture);
    tool.Add(DeclareExport, RunExport);
    tool.Add(DeclareImport, RunImport);
    tool.Add(DeclareQr, RunQr);
    tool.Add(DeclareHtml, RunHtml);
#ifdef OVLET_DRAW_RELATIVE_PATH
    for (const DrawCommand& draw : kDrawCommands) {
        const std::string name = draw.name;
        tool.AddHandedOver(name, draw.description, [name, &tool](const std::vector<std::string>& args) {
            return HandOverToDrawProgram(name, args, tool.Verbose());
        });
    }
#elif defined(OVLET_DRAW_IN_PROCESS)
    // Drawn here, on the system's own canvases.
    tool.Add(DeclareRender, RunRender);
    tool.Add(DeclarePrint, RunPrint);
    tool.Add(DeclareThumbnail, RunThumbnail);
#endif
    tool.Add(DeclareDecode, RunDecode);
    tool.Add(DeclareInfo, RunInfo);
    tool.SetFooter(kFooter);
    return tool.Run(static_cast<int>(words.size()), wordPointers.data());
}
