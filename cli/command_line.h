// The command line of the ovlet tools: one subcommand per command. A command
// is two functions, one that declares its options on the tool (a subcommand
// of it, with the values parsed into an options structure) and one that runs
// it with those values and returns the program's exit code.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace ovlet::cli {

// The options many commands take, declared alike everywhere.
// CARD: the card file the command reads (required).
void AddCardArgument(CLI::App& command, std::string& card);
// -o,--output FILE (required); `typeName` is what the help shows ("OUT.png").
void AddOutputOption(CLI::App& command, std::string& output, const std::string& description,
                     const std::string& typeName);

class CommandLine {
public:
    // `program` is the name the tool's messages start with ("ovlet").
    CommandLine(const std::string& program, const std::string& description);
    ~CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Adds a command: `declare` makes its subcommand on the tool and binds
    // the options; `run` runs it once the command line has been parsed.
    template <class Options>
    void Add(CLI::App* (*declare)(CLI::App& tool, Options& options), int (*run)(const Options& options)) {
        auto options = std::make_shared<Options>();
        CLI::App* command = declare(Tool(), *options);
        AddEntry(command, [options, run] { return run(*options); });
    }

    // A command that another program carries out: everything after the
    // command word goes to `run` unparsed (its own --help included).
    void AddHandedOver(const std::string& name, const std::string& description,
                       std::function<int(const std::vector<std::string>& args)> run);

    // Text shown at the end of the tool's --help.
    void SetFooter(const std::string& footer);

    // Parses the command line and runs the command it names.
    int Run(int argc, char** argv);

    CLI::App& Tool();

    // Whether the decoders' trace is shown: --verbose before the command, or
    // OVLET_TRACE set to anything but "" or "0".
    bool Verbose() const;

private:
    void AddEntry(CLI::App* command, std::function<int()> run);
    void TranslateHelp();
    int Dispatch(int argc, char** argv);
    int FinishStandardOutput(int code);

    std::string programName;
    bool verboseFlag = false;
    std::unique_ptr<CLI::App> app;
    struct Entry {
        CLI::App* command;
        std::function<int()> run;
    };
    std::vector<Entry> entries;
};

}  // namespace ovlet::cli
