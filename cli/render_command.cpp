// ovlet render CARD -o OUT.png [--width PIXELS]
// ovlet thumbnail CARD OUT.png [SIZE]
//
// The card drawn as a business card: a PNG for sharing where no viewer is
// installed, and the thumbnails file managers show. They draw on the
// system's canvas in memory: no display is needed.
#include "cli/render_command.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/tool_support.h"
#include "exchange/drawing/card_render.h"
#include "exchange/png_writer.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/decode_outcome.h"
#include "picture/png_decoder.h"
#include "picture/win_bmp.h"

namespace ovlet::cli {
namespace drawing = exchange::drawing;

namespace {

constexpr int kMinWidth = 200;
constexpr int kMaxWidth = 8000;
constexpr int kMinThumbnail = 16;
constexpr int kMaxThumbnail = 2048;

// The picture as a PNG (8-bit RGB: the drawings are opaque).
int WritePng(const char* command, const std::string& path, const drawing::Image& image) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
    const auto rowSource = [&](int y) {
        const std::uint32_t* pixels =
            image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.width); ++x) {
            row[3 * x] = static_cast<std::uint8_t>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixels[x]);
        }
        return row.data();
    };
    if (image.Empty()) {
        Report(command, "the picture cannot be made");
        return kExitFile;
    }
    const exchange::Result<std::vector<std::uint8_t>> png =
        exchange::EncodePng(image.width, image.height, exchange::PngChannels::Rgb, rowSource);
    if (!png) {
        Report(command, "the picture cannot be made");
        return kExitFile;
    }
    return WriteOutputFile(command, path, png->data(), png->size());
}

// Reads the card, draws it offscreen with `draw(card, warning)` and writes
// the picture as a PNG.
template <typename Draw>
int DrawToPng(const char* command, const std::string& cardPath, const std::string& output, Draw draw) {
    card::CardRecord card;
    if (int rc = LoadCardForTool(command, cardPath, card); rc != kExitOk) return rc;
    drawing::DrawingSession session;
    std::string warning;
    const drawing::Image image = draw(card, warning);
    WarnPictureLeftOut(command, warning);
    return WritePng(command, output, image);
}

}  // namespace

CLI::App* DeclareRender(CLI::App& tool, RenderOptions& options) {
    CLI::App* command = tool.add_subcommand("render", "A picture of the card drawn as a business card (PNG)");
    AddOutputOption(*command, options.output, "The PNG file to write ('-': standard output)", "OUT.png");
    command->add_option("--width", options.width, "Width of the picture")
        ->type_name("PIXELS")
        ->check(CLI::Range(kMinWidth, kMaxWidth));
    AddCardArgument(*command, options.card);
    return command;
}

int RunRender(const RenderOptions& options) {
    return DrawToPng("render", options.card, options.output, [&](card::CardRecord& card, std::string& warning) {
        return drawing::RenderCardImage(card, options.width, warning);
    });
}

CLI::App* DeclareThumbnail(CLI::App& tool, ThumbnailOptions& options) {
    CLI::App* command = tool.add_subcommand(
        "thumbnail", "A small picture of the card for file managers (PNG, fitted into SIZE x SIZE)");
    AddCardArgument(*command, options.card);
    command->add_option("OUT", options.output, "The PNG file to write ('-': standard output)")
        ->type_name("OUT.png")
        ->required();
    command->add_option("SIZE", options.size, "Largest width and height (default 256)")
        ->check(CLI::Range(kMinThumbnail, kMaxThumbnail));
    return command;
}

// A thumbnail draws the card's picture a few hundred pixels large at most: a
// large PNG is decoded only that large (every n-th row and column, a row at
// a time), a large JPEG at an eighth, a quarter or half its size straight
// from its coefficients, and handed on as a small bitmap, so a 16000 x 16000
// picture costs megabytes, not a gigabyte.
void ReducePicture(card::CardRecord& card, int size) {
    if (!card.HasPicture()) return;
    const std::uint8_t* bytes = card.PictureBytes.data();
    const std::int32_t length = card.PictureLength;
    picture::CWinBmp reduced;
    // Whether there is a picture smaller than the card's; a picture that does
    // not decode is not one: the drawing decodes the bytes itself and tells
    // why it cannot.
    const picture::Result<bool> smaller = picture::Decoding([&] {
        if (picture::CAnyPicDecoder::DetectFormat(bytes, length) == picture::PictureFormat::Jpeg) {
            picture::CAnyPicDecoder decoder;
            picture::CDataSource memory;
            memory.OpenData("card picture", bytes, length);
            const picture::PictureHeader header = decoder.DecodeSourceToFit(&memory, &reduced, 32, 2 * size, 2 * size);
            return reduced.GetSize().first < header.width;  // not reduced: the drawing decodes it as it is
        }
        return picture::DecodePngReduced(bytes, length, 2 * size, reduced);
    });
    if (!smaller || !smaller.Value()) return;
    const std::vector<std::uint8_t> dib = reduced.CopyToGlobalMemory();
    const auto fileSize = static_cast<std::uint32_t>(14 + dib.size());
    const std::uint32_t bitsOffset = 14 + reduced.GetInfoHeader()->biSize;
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    for (const std::uint32_t value : {fileSize, 0u, bitsOffset}) {
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    bmp.insert(bmp.end(), dib.begin(), dib.end());
    card.SetPicture(std::move(bmp));
}

int RunThumbnail(const ThumbnailOptions& options) {
    return DrawToPng("thumbnail", options.card, options.output, [&](card::CardRecord& card, std::string& warning) {
        ReducePicture(card, options.size);
        return drawing::RenderThumbnail(card, options.size, warning);
    });
}

}  // namespace ovlet::cli
