// ovlet print CARD -o OUT.pdf [--sheet a4|letter|single] [--bleed MM] [--crop-marks]
//
// Print-ready PDF sheets of the card, drawn offscreen: no display is needed.
// Qt's PDF writer makes them on Linux, our own PDF canvas on Windows.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/render_command.h"
#include "cli/tool_support.h"
#include "exchange/drawing/canvas.h"
#include "exchange/drawing/card_pdf.h"
#include "exchange/drawing/sheet_layout.h"

namespace ovlet::cli {
namespace drawing = exchange::drawing;

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
    card::CardRecord card;
    if (int rc = LoadCardForTool("print", options.card, card); rc != kExitOk) return rc;
    drawing::DrawingSession session;
    std::string warning;
    const drawing::Result<std::vector<char>> pdf = drawing::WriteCardPdf(card, layout, warning);
    if (!pdf) {
        Report("print", pdf.Error().Describe());
        return kExitUsage;
    }
    WarnPictureLeftOut("print", warning);
    return WriteOutputFile("print", options.output, pdf->data(), pdf->size());
}

}  // namespace ovlet::cli
