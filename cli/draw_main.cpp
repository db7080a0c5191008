// ovlet-draw: the commands of ovlet that draw a card (they need the GUI
// libraries). ovlet starts it with the same words it was given.
#include "cli/command_line.h"
#include "cli/render_command.h"

int main(int argc, char** argv) {
    using namespace ovlet::cli;
    CommandLine tool("ovlet", "Ovlet's drawing commands");
    tool.Add(DeclareRender, RunRender);
    tool.Add(DeclarePrint, RunPrint);
    tool.Add(DeclareThumbnail, RunThumbnail);
    return tool.Run(argc, argv);
}
