#include "exchange/drawing/canvas_qt.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPen>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <utility>

namespace ovlet::exchange::drawing {
namespace {

QRectF ToRect(const Area& area) {
    return {area.left, area.top, area.width, area.height};
}

QColor ToColour(Colour colour) {
    return {colour.red, colour.green, colour.blue};
}

// A picture in memory with the painter that draws on it: Qt's image over the
// picture's own pixels, so that the drawing is handed over without a copy.
class QtPictureCanvas : public PictureCanvas {
public:
    explicit QtPictureCanvas(Image drawn)
        : picture(std::move(drawn)),
          image(reinterpret_cast<uchar*>(this->picture.pixels.data()), this->picture.width, this->picture.height,
                static_cast<qsizetype>(this->picture.width) * 4, QImage::Format_RGB32),
          painter(&image) {
        canvas.emplace(painter);
    }
    void Fill(const Area& area, Colour colour) override { canvas->Fill(area, colour); }
    void DrawImage(const Area& area, ImageView view) override { canvas->DrawImage(area, view); }
    void ClipTo(const Area& area) override { canvas->ClipTo(area); }
    void Unclip() override { canvas->Unclip(); }
    void DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) override {
        canvas->DrawLine(x1, y1, x2, y2, width, colour);
    }
    void SetFont(double pixels, bool bold) override { canvas->SetFont(pixels, bold); }
    double Advance(const std::string& text) override { return canvas->Advance(text); }
    double Ascent() override { return canvas->Ascent(); }
    double LineHeight() override { return canvas->LineHeight(); }
    void DrawText(double left, double baseline, const std::string& text, Colour colour) override {
        canvas->DrawText(left, baseline, text, colour);
    }
    Image Take() override {
        canvas.reset();
        if (painter.isActive()) painter.end();
        return std::move(picture);
    }

private:
    Image picture;
    QImage image;
    QPainter painter;
    std::optional<PainterCanvas> canvas;
};

// Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set, ..." where that
// variable is unset, as under cron or in CI) are not the program's to print:
// a script reads only the program's messages on standard error. A fatal one
// still ends the program, as Qt ends it after the handler.
void DropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "ovlet: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& device) : painter(device) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

PainterCanvas::~PainterCanvas() {
    painter.restore();
}

void PainterCanvas::Fill(const Area& area, Colour colour) {
    painter.fillRect(ToRect(area), ToColour(colour));
}

void PainterCanvas::DrawImage(const Area& area, ImageView image) {
    if (image.Empty()) return;
    // A copy that owns its pixels: a painter that records (a print preview)
    // keeps the image and draws it later, when the caller's pixels are gone.
    const QImage picture = QImage(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
                                  static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32)
                               .copy();
    painter.drawImage(ToRect(area), picture);
}

void PainterCanvas::ClipTo(const Area& area) {
    painter.setClipRect(ToRect(area));
}

void PainterCanvas::Unclip() {
    painter.setClipping(false);
}

void PainterCanvas::DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) {
    QPen pen(ToColour(colour));  // square ends
    pen.setWidthF(width);
    painter.setPen(pen);
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::SetFont(double pixels, bool bold) {
    font = QFont();
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
}

double PainterCanvas::Advance(const std::string& text) {
    return QFontMetricsF(font).horizontalAdvance(QString::fromStdString(text));
}

double PainterCanvas::Ascent() {
    return QFontMetricsF(font).ascent();
}

double PainterCanvas::LineHeight() {
    return QFontMetricsF(font).height();
}

void PainterCanvas::DrawText(double left, double baseline, const std::string& text, Colour colour) {
    painter.setFont(font);
    painter.setPen(ToColour(colour));
    painter.drawText(QPointF(left, baseline), QString::fromStdString(text));
}

ImageView ViewOf(const QImage& image) {
    if (image.isNull() || image.format() != QImage::Format_RGB32 ||
        image.bytesPerLine() != static_cast<qsizetype>(image.width()) * 4) {
        return {};
    }
    return {image.width(), image.height(), reinterpret_cast<const std::uint32_t*>(image.constBits())};
}

QImage ToQImage(const Image& image) {
    if (image.Empty()) return {};
    QImage out(image.width, image.height, QImage::Format_RGB32);
    if (out.isNull()) return out;
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(out.scanLine(y), image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width),
                    static_cast<std::size_t>(image.width) * 4);
    }
    return out;
}

std::unique_ptr<PictureCanvas> MakePictureCanvas(int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    try {
        Image picture;
        picture.width = width;
        picture.height = height;
        picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFFFFFFFFu);
        return std::make_unique<QtPictureCanvas>(std::move(picture));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Painting text needs the font database of a GUI application; the offscreen
// platform needs no display. A program that has one already keeps it.
struct DrawingSession::Held {
    bool quiet = (qInstallMessageHandler(DropQtMessages), true);
    int argc = 3;
    char arg0[6] = "ovlet", arg1[10] = "-platform", arg2[10] = "offscreen";
    char* argv[4] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app{argc, argv};
};

DrawingSession::DrawingSession() {
    if (!QGuiApplication::instance()) held = std::make_unique<Held>();
}

DrawingSession::~DrawingSession() = default;

}  // namespace ovlet::exchange::drawing
