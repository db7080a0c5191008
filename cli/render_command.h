// The commands that draw a card: render (PNG), print (PDF sheets) and
// thumbnail (for file managers). Where drawing needs the GUI libraries they
// run in a program of their own (see draw_commands.h).
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace ovlet::cli {

struct RenderOptions {
    std::string card;
    std::string output;
    int width = 1050;
};
CLI::App* DeclareRender(CLI::App& tool, RenderOptions& options);
int RunRender(const RenderOptions& options);

struct PrintOptions {
    std::string card;
    std::string output;
    std::string sheet = "a4";
    double bleed = 0;
    bool cropMarks = false;
};
CLI::App* DeclarePrint(CLI::App& tool, PrintOptions& options);
int RunPrint(const PrintOptions& options);

struct ThumbnailOptions {
    std::string card;
    std::string output;
    int size = 256;
};
CLI::App* DeclareThumbnail(CLI::App& tool, ThumbnailOptions& options);
int RunThumbnail(const ThumbnailOptions& options);

}  // namespace ovlet::cli
