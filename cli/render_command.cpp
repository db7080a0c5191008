// ovlet render CARD -o OUT.png [--width PIXELS]
// ovlet print CARD -o OUT.pdf [--sheet a4|letter|single] [--bleed MM] [--crop-marks]
// ovlet thumbnail CARD OUT.png [SIZE]
//
// The card drawn as a business card: a PNG for sharing where no viewer is
// installed, print-ready PDF sheets, and the thumbnails file managers show.
// They paint offscreen: no display is needed.
#include "cli/render_command.h"

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/tool_support.h"
#include "exchange/drawing/card_drawing.h"
#include "exchange/drawing/card_sheet.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/png_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet::cli {
namespace {

constexpr int kMinWidth = 200;
constexpr int kMaxWidth = 8000;
constexpr int kMinThumbnail = 16;
constexpr int kMaxThumbnail = 2048;

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set, ..." where that
// variable is unset, as under cron or in CI) are not the tool's to print: a
// script reads only the tool's messages on standard error. A fatal one
// still ends the program, as Qt ends it after the handler.
void DropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "ovlet: %s\n", message.toLocal8Bit().constData());
}

// Painting text needs the font database of a GUI application; the offscreen
// platform needs no display.
class OffscreenApplication {
public:
    OffscreenApplication() : app(argc, argv) {}

private:
    bool quiet = (qInstallMessageHandler(DropQtMessages), true);
    int argc = 3;
    char arg0[6] = "ovlet", arg1[10] = "-platform", arg2[10] = "offscreen";
    char* argv[4] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app;
};

int WritePng(const char* command, const std::string& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    if (image.isNull() || !writer.write(image)) {
        Report(command, "the picture cannot be made");
        return kExitFile;
    }
    return WriteOutputFile(command, path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void WarnPicture(const char* command, const std::string& warning) {
    if (!warning.empty()) Report(command, "the card's picture is left out: " + warning);
}

// Reads the card, draws it offscreen with `draw(card, warning)` and writes
// the picture as a PNG.
template <typename Draw>
int DrawToPng(const char* command, const std::string& cardPath, const std::string& output, Draw draw) {
    CardRecord card;
    if (int rc = LoadCardForTool(command, cardPath, card); rc != kExitOk) return rc;
    OffscreenApplication app;
    std::string warning;
    const QImage image = draw(card, warning);
    WarnPicture(command, warning);
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
    return DrawToPng("render", options.card, options.output, [&](CardRecord& card, std::string& warning) {
        return drawing::RenderCardImage(card, options.width, warning);
    });
}

CLI::App* DeclarePrint(CLI::App& tool, PrintOptions& options) {
    CLI::App* command = tool.add_subcommand("print", "Print-ready cards as a PDF: ten to a sheet, or one with bleed");
    AddOutputOption(*command, options.output, "The PDF file to write ('-': standard output)", "OUT.pdf");
    command->add_option("--sheet", options.sheet, "a4: ten 85 x 55 mm cards; letter: ten 3.5 x 2 in; single: one card")
        ->type_name("a4|letter|single")
        ->check(CLI::IsMember({"a4", "letter", "single"}));
    command->add_option("--bleed", options.bleed, "Colour past each card's edge, in millimetres")
        ->type_name("MM")
        ->check(CLI::Range(0.0, 20.0));
    command->add_flag("--crop-marks", options.cropMarks, "Marks where to cut a single card (sheets always have them)");
    AddCardArgument(*command, options.card);
    return command;
}

int RunPrint(const PrintOptions& options) {
    drawing::SheetLayout layout;
    drawing::SheetFromName(options.sheet, layout.sheet);
    layout.bleedMm = options.bleed;
    layout.cropMarks = layout.sheet != drawing::Sheet::Single || options.cropMarks;
    if (const std::string why = layout.Check(); !why.empty()) {
        Report("print", why);
        return kExitUsage;
    }
    CardRecord card;
    if (int rc = LoadCardForTool("print", options.card, card); rc != kExitOk) return rc;
    OffscreenApplication app;
    std::vector<char> pdf;
    std::string warning, error;
    if (!drawing::WriteCardPdf(card, layout, pdf, warning, error)) {
        Report("print", error);
        return kExitUsage;
    }
    WarnPicture("print", warning);
    return WriteOutputFile("print", options.output, pdf.data(), pdf.size());
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
void ReducePicture(CardRecord& card, int size) {
    if (!card.HasPicture()) return;
    const std::uint8_t* bytes = card.PictureBytes.data();
    const std::int32_t length = card.PictureLength;
    CWinBmp reduced;
    try {
        if (CAnyPicDecoder::DetectFormat(bytes, length) == PictureFormat::Jpeg) {
            CAnyPicDecoder decoder;
            CDataSource memory;
            memory.OpenData("card picture", bytes, length);
            const PictureHeader header = decoder.DecodeSourceToFit(&memory, &reduced, 32, 2 * size, 2 * size);
            if (reduced.GetSize().first >= header.width) return;  // not reduced: the drawing decodes it as it is
        } else if (!DecodePngReduced(bytes, length, 2 * size, reduced)) {
            return;
        }
    } catch (const CTextException&) {
        return;  // the drawing decodes the bytes itself and tells why it cannot
    }
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
    return DrawToPng("thumbnail", options.card, options.output, [&](CardRecord& card, std::string& warning) {
        ReducePicture(card, options.size);
        return drawing::RenderThumbnail(card, options.size, warning);
    });
}

}  // namespace ovlet::cli
