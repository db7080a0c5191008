// The picture commands of ovlet: decode a picture into a PAM file, and show a
// picture's format and size.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace ovlet::cli {

struct DecodeOptions {
    std::string picture;
    std::string output;
    int depth = 32;
};
CLI::App* DeclareDecode(CLI::App& tool, DecodeOptions& options);
int RunDecode(const DecodeOptions& options);

struct InfoOptions {
    std::string picture;
};
CLI::App* DeclareInfo(CLI::App& tool, InfoOptions& options);
int RunInfo(const InfoOptions& options);

}  // namespace ovlet::cli
