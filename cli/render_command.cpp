// ovlet render CARD -o OUT.png [--width PIXELS]
//
// Draws the card as a business card (its picture and its company and contact
// summary) into a PNG, for sharing where no viewer is installed. Paints
// offscreen: no display is needed.
#include "cli/render_command.h"

#include <CLI/CLI.hpp>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>
#include <string>

#include "card/card_file.h"
#include "card/codepage.h"
#include "cli/commands.h"
#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"

namespace ovlet_cli {
namespace {

// A business card is 85 x 55 mm.
constexpr double kAspect = 55.0 / 85.0;
constexpr int kMinWidth = 200;
constexpr int kMaxWidth = 8000;

QString Text(const std::string& ansi) {
    return QString::fromStdString(codepage::Utf8FromAnsi(ansi)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The card's picture as a QImage, or a null image when it has none or it
// cannot be decoded.
QImage CardPicture(const CardRecord& card, std::string& warning) {
    if (!card.HasPicture()) return {};
    CAnyPicDecoder decoder;
    CWinBmp bitmap;
    CDataSource source;
    source.OpenData("card picture", card.PictureBytes.data(), card.PictureLength);
    try {
        decoder.DecodeSource(&source, &bitmap, 32);
    } catch (const CTextException& e) {
        warning = e.GetText();
        source.Close();
        return {};
    }
    source.Close();
    const auto [width, height] = bitmap.GetSize();
    QImage image(width, height, QImage::Format_RGB32);  // drawn opaque, as the windows draw it
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y), bitmap.GetLineTable()[y], static_cast<std::size_t>(width) * 4);
    }
    return image;
}

// One line (or several, split at line feeds) of the card's text.
struct Line {
    QString text;
    double size;  // in units of the card's height
    bool bold;
    QColor colour;
};

QFont LineFont(const Line& line, double unit, double scale) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(6, static_cast<int>(line.size * unit * scale)));
    font.setBold(line.bold);
    return font;
}

// The largest scale, up to 1, at which the lines fit the box.
double FitScale(const QRectF& box, const std::vector<Line>& lines, double unit) {
    double scale = 1.0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        double height = 0;
        bool fits = true;
        for (const Line& line : lines) {
            const QFontMetricsF metrics(LineFont(line, unit, scale));
            for (const QString& part : line.text.split(QChar('\n'))) {
                height += metrics.height();
                if (metrics.horizontalAdvance(part) > box.width()) fits = false;
            }
        }
        if (fits && height <= box.height()) break;
        scale *= 0.9;
    }
    return scale;
}

void DrawLines(QPainter& painter, const QRectF& box, const std::vector<Line>& lines, double unit, double scale) {
    double y = box.top();
    for (const Line& line : lines) {
        const QFont font = LineFont(line, unit, scale);
        painter.setFont(font);
        painter.setPen(line.colour);
        const QFontMetricsF metrics(font);
        for (const QString& part : line.text.split(QChar('\n'))) {
            painter.drawText(QPointF(box.left(), y + metrics.ascent()),
                             metrics.elidedText(part, Qt::ElideRight, box.width()));
            y += metrics.height();
        }
    }
}

QImage RenderCard(const CardRecord& card, int width, std::string& warning) {
    const int height = static_cast<int>(width * kAspect);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0xFA, 0xFA, 0xF7));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double unit = height / 100.0;
    const double margin = 7 * unit;
    const QColor ink(0x1B, 0x2A, 0x3F), soft(0x55, 0x63, 0x77), accent(0x1F, 0x6F, 0xD1);

    // An accent band along the bottom edge.
    painter.fillRect(QRectF(0, height - 3 * unit, width, 3 * unit), accent);

    double textLeft = margin;
    const QImage picture = CardPicture(card, warning);
    if (!picture.isNull()) {
        const QRectF frame(margin, margin, width * 0.36, height - 2 * margin - 3 * unit);
        QSizeF size = picture.size();
        size.scale(frame.size(), Qt::KeepAspectRatio);
        const QRectF target(frame.left() + (frame.width() - size.width()) / 2,
                            frame.top() + (frame.height() - size.height()) / 2, size.width(), size.height());
        painter.drawImage(target, picture);
        textLeft = frame.right() + margin;
    }
    const double textWidth = width - textLeft - margin;
    const double half = (height - 2 * margin - 3 * unit) / 2;

    std::vector<Line> company;
    if (!card.CompanyLine.empty()) company.push_back({Text(card.CompanyLine), 9, true, ink});
    const QString address = Text(card.AddressBlock).trimmed();
    if (!address.isEmpty()) company.push_back({address, 5.2, false, soft});
    if (!card.WebSite.empty()) company.push_back({Text(card.WebSite), 5.2, false, accent});

    std::vector<Line> contact;
    const QString name = Text(card.NameLine).simplified();
    if (!name.isEmpty()) contact.push_back({name, 7, true, ink});
    if (!card.TitleLine.empty()) contact.push_back({Text(card.TitleLine), 5.2, false, soft});
    for (const std::string* line : {&card.Phone1Line, &card.Phone2Line, &card.FaxLine}) {
        if (!line->empty()) contact.push_back({Text(*line), 5.2, false, ink});
    }
    if (!card.EMail.empty()) contact.push_back({Text(card.EMail), 5.2, false, accent});
    // One scale for both groups, so the card's text is of one size throughout.
    const QRectF companyBox(textLeft, margin, textWidth, half - unit);
    const QRectF contactBox(textLeft, margin + half + unit, textWidth, half - unit);
    const double scale = std::min(FitScale(companyBox, company, unit), FitScale(contactBox, contact, unit));
    DrawLines(painter, companyBox, company, unit, scale);
    DrawLines(painter, contactBox, contact, unit, scale);
    return image;
}

}  // namespace

CLI::App* DeclareRender(CLI::App& tool, RenderOptions& options) {
    CLI::App* command = tool.add_subcommand("render", "A picture of the card drawn as a business card (PNG)");
    command->add_option("-o,--output", options.output, "The PNG file to write")->type_name("OUT.png")->required();
    command->add_option("--width", options.width, "Width of the picture")
        ->type_name("PIXELS")
        ->check(CLI::Range(kMinWidth, kMaxWidth));
    command->add_option("CARD", options.card, "The card file (.ovt)")->required();
    return command;
}

int RunRender(const RenderOptions& options) {
    const char* cardPath = options.card.c_str();
    const char* out = options.output.c_str();
    const int width = options.width;
    CardRecord card;
    if (int rc = LoadCardForTool("render", cardPath, card); rc != kExitOk) return rc;
    // Painting text needs the font database of a GUI application; the
    // offscreen platform needs no display.
    int qtArgc = 3;
    char arg0[] = "ovlet", arg1[] = "-platform", arg2[] = "offscreen";
    char* qtArgv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    std::string warning;
    const QImage image = RenderCard(card, width, warning);
    if (!warning.empty()) std::fprintf(stderr, "ovlet render: the card's picture is left out: %s\n", warning.c_str());
    if (!image.save(QString::fromLocal8Bit(out), "PNG")) {
        std::fprintf(stderr, "ovlet render: cannot write %s\n", out);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace ovlet_cli
