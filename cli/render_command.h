// ovlet render: a picture of a card laid out as a business card.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace ovlet_cli {

struct RenderOptions {
    std::string card;
    std::string output;
    int width = 1050;
};
CLI::App* DeclareRender(CLI::App& tool, RenderOptions& options);
int RunRender(const RenderOptions& options);

}  // namespace ovlet_cli
