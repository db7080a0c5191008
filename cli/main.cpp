// ovlet: card and picture commands for scripts, tests and people without a desktop.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "cli/commands.h"
#include "cli/exchange_commands.h"
#ifdef OVLET_HAVE_RENDER
#include "cli/render_command.h"
#endif
#include "cli/picture_commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"show", ovlet_cli::RunShow, "show [--json] CARD          print a card's fields, picture size and summary"},
    {"make", ovlet_cli::RunMakeCommand,
     "make [--from CARD] OUT [Field=Value ...] [--picture FILE]\n"
     "                                write a new card\n"
     "  make --csv PEOPLE.csv -o FOLDER [--picture FILE] [--from TEMPLATE.ovt]\n"
     "                                one card per row; the header row names the fields"},
    {"picture", ovlet_cli::RunPicture, "picture CARD OUT            write the card's picture bytes unchanged"},
    {"export", ovlet_cli::RunExport,
     "export --vcard CARD [-o OUT.vcf] [--vcard3] [--no-photo]\n"
     "                                the card as a vCard 4.0 (or 3.0)"},
    {"import", ovlet_cli::RunImport,
     "import VCF -o CARD.ovt [--picture FILE]\n"
     "  import VCF --all -o FOLDER    cards from a vCard file (2.1, 3.0, 4.0)"},
    {"qr", ovlet_cli::RunQr,
     "qr CARD -o OUT.png [--size PIXELS] [--vcard3]\n"
     "                                a QR code of the card's vCard without its photo"},
#ifdef OVLET_HAVE_RENDER
    {"render", ovlet_cli::RunRender,
     "render CARD -o OUT.png [--width PIXELS]\n"
     "                                a picture of the card as a business card"},
#endif
    {"decode", RunDecodeCommand,
     "decode PICTURE OUT.pam [--depth 0|8|32]\n"
     "                                decode a picture into a PAM file"},
    {"info", RunInfoCommand, "info PICTURE                print a picture's format and size"},
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "Usage: ovlet COMMAND [ARGS]\n\nCommands:\n");
    for (const auto& c : kCommands) std::fprintf(out, "  %s\n", c.usage);
    std::fprintf(out,
                 "\nField names: Company StreetAddress City StateProvince PostalCode Country WebSite\n"
                 "  FirstName LastName MiddleName JobTitle EMail Fax Department Phone1Description\n"
                 "  Phone1Number Phone2Description Phone2Number GeneralInformation\n"
                 "Text is UTF-8; cards store Windows-1252.\n"
                 "Exit codes: 0 success, 1 usage error, 2 file cannot be opened or written,\n"
                 "  3 damaged or truncated card or vCard, 4 picture cannot be decoded.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return ovlet_cli::kExitUsage;
    }
    const std::string_view word = argv[1];
    if (word == "--help" || word == "-h" || word == "help") {
        PrintHelp(stdout);
        return ovlet_cli::kExitOk;
    }
    if (word == "--version") {
        std::printf("ovlet %s\n", OVLET_VERSION);
        return ovlet_cli::kExitOk;
    }
    for (const auto& c : kCommands) {
        if (word == c.name) return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "ovlet: unknown command '%s' (try 'ovlet --help')\n", argv[1]);
    return ovlet_cli::kExitUsage;
}
