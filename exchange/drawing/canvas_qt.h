// The canvas on Linux: Qt's painter, over a picture in memory, a PDF page or
// a printer's page.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include "exchange/drawing/canvas.h"

namespace ovlet::exchange::drawing {

// Draws with the painter, smoothly (text and pictures); the painter's state
// (clip, pen, font) is given back when the canvas goes.
class PainterCanvas : public Canvas {
public:
    explicit PainterCanvas(QPainter& painter);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    void Fill(const Area& area, Colour colour) override;
    void DrawImage(const Area& area, ImageView image) override;
    void ClipTo(const Area& area) override;
    void Unclip() override;
    void DrawLine(double x1, double y1, double x2, double y2, double width, Colour colour) override;
    void SetFont(double pixels, bool bold) override;
    double Advance(const std::string& text) override;
    double Ascent() override;
    double LineHeight() override;
    void DrawText(double left, double baseline, const std::string& text, Colour colour) override;

private:
    QPainter& painter;
    QFont font;
};

// The pixels of an RGB32 image as the drawing reads them (empty for any
// other format); valid while the image is.
ImageView ViewOf(const QImage& image);
// A copy of the picture as an RGB32 image.
QImage ToQImage(const Image& image);

}  // namespace ovlet::exchange::drawing
