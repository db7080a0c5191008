// Draws the program's pictures: the toolbar and Remove button bitmaps (8-bit
// BMP, normal / hot / pressed), the icons of both programs in the desktop's
// icon sizes, and the splash picture.
//
//   make_resources RESOURCES_DIR
//
// The output is committed beside this file; run it again only to change the
// pictures.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "resources/control_ids.h"

namespace ovlet::tools {
namespace {

// The dialog face the buttons sit on.
const QColor kFace(0xEF, 0xEF, 0xEF);
const QColor kInk(0x2B, 0x3A, 0x4F);
const QColor kAccent(0x1F, 0x6F, 0xD1);
const QColor kHotTile(0xDD, 0xEB, 0xFB);
const QColor kHotEdge(0x9C, 0xC3, 0xF2);
const QColor kPressedTile(0xB9, 0xD4, 0xF5);
const QColor kPressedEdge(0x5E, 0x96, 0xDC);

enum class State { Normal, Hot, Pressed };

using Glyph = std::function<void(QPainter&, const QColor& ink, const QColor& accent)>;

// Glyphs are drawn on a 24 x 24 grid and scaled to the button.
QPen Stroke(const QColor& c, double w = 1.8) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A path of straight lines through the points; `closed` joins the last to the first.
QPainterPath Outline(std::initializer_list<QPointF> points, bool closed = false) {
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point) path.lineTo(*point);
    if (closed) path.closeSubpath();
    return path;
}

void CardShape(QPainter& p, const QColor& ink, QRectF r) {
    p.setPen(Stroke(ink));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.6, 1.6);
    p.drawLine(QPointF(r.left() + 3, r.top() + 4), QPointF(r.left() + 9, r.top() + 4));
    p.setPen(Stroke(ink, 1.2));
    p.drawLine(QPointF(r.left() + 3, r.top() + 7.5), QPointF(r.right() - 4, r.top() + 7.5));
    p.drawLine(QPointF(r.left() + 3, r.top() + 10.5), QPointF(r.right() - 7, r.top() + 10.5));
}

void Badge(QPainter& p, const QColor& accent, QPointF centre, const std::function<void(QPainter&)>& mark) {
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(accent);
    p.drawEllipse(centre, 5.2, 5.2);
    p.setPen(Stroke(Qt::white, 1.7));
    p.save();
    p.translate(centre);
    mark(p);
    p.restore();
}

const Glyph kNew = [](QPainter& p, const QColor& ink, const QColor& accent) {
    CardShape(p, ink, QRectF(2, 5, 17, 12));
    Badge(p, accent, QPointF(18, 17), [](QPainter& q) {
        q.drawLine(QPointF(-2.5, 0), QPointF(2.5, 0));
        q.drawLine(QPointF(0, -2.5), QPointF(0, 2.5));
    });
};

const Glyph kOpen = [](QPainter& p, const QColor& ink, const QColor& accent) {
    const QPainterPath back = Outline({{3, 19}, {3, 6}, {9, 6}, {11, 8}, {19, 8}, {19, 11}});
    p.setPen(Stroke(ink));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    const QPainterPath front = Outline({{3, 19}, {6.5, 11}, {22, 11}, {18.5, 19}}, true);
    p.setBrush(accent);
    p.drawPath(front);
};

void Tray(QPainter& p, const QColor& ink) {
    const QPainterPath tray = Outline({{3, 13}, {3, 20}, {21, 20}, {21, 13}});
    p.setPen(Stroke(ink));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
}

void DownArrow(QPainter& p, const QColor& accent, double x) {
    p.setPen(Stroke(accent, 2.2));
    p.drawLine(QPointF(x, 3), QPointF(x, 14));
    const QPainterPath head = Outline({{x - 4, 10}, {x, 14.5}, {x + 4, 10}});
    p.drawPath(head);
}

const Glyph kSave = [](QPainter& p, const QColor& ink, const QColor& accent) {
    Tray(p, ink);
    DownArrow(p, accent, 12);
};

const Glyph kSaveAs = [](QPainter& p, const QColor& ink, const QColor& accent) {
    Tray(p, ink);
    DownArrow(p, accent, 9);
    // a pencil over the corner
    p.save();
    p.translate(17.5, 8.5);
    p.rotate(45);
    p.setPen(QPen(ink, 1.0));
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawRect(QRectF(-1.7, -7, 3.4, 10));
    const QPainterPath tip = Outline({{-1.7, 3}, {0, 6}, {1.7, 3}}, true);
    p.setBrush(ink);
    p.drawPath(tip);
    p.restore();
};

const Glyph kImport = [](QPainter& p, const QColor& ink, const QColor& accent) {
    p.setPen(Stroke(ink));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 1.6, 1.6);
    const QPainterPath hills = Outline({{4, 18}, {9.5, 11}, {13, 15}, {15.5, 12.5}, {20, 18}}, true);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawPath(hills);
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawEllipse(QPointF(16.5, 8.5), 1.9, 1.9);
};

void Circle(QPainter& p, const QColor& accent) {
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
}

const Glyph kHelp = [](QPainter& p, const QColor&, const QColor& accent) {
    Circle(p, accent);
    p.setPen(Stroke(Qt::white, 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath q;
    q.moveTo(8.8, 9.3);
    q.cubicTo(8.8, 5.6, 15.4, 5.6, 15.4, 9.3);
    q.cubicTo(15.4, 11.6, 12.1, 11.8, 12.1, 14.2);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12.1, 17.4), 1.35, 1.35);
};

const Glyph kAbout = [](QPainter& p, const QColor&, const QColor& accent) {
    Circle(p, accent);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7.4), 1.45, 1.45);
    p.setPen(Stroke(Qt::white, 2.4));
    p.drawLine(QPointF(12, 11), QPointF(12, 17.5));
};

const Glyph kExit = [](QPainter& p, const QColor& ink, const QColor& accent) {
    const QPainterPath door = Outline({{13, 7}, {13, 3.5}, {3.5, 3.5}, {3.5, 20.5}, {13, 20.5}, {13, 17}});
    p.setPen(Stroke(ink));
    p.setBrush(Qt::NoBrush);
    p.drawPath(door);
    p.setPen(Stroke(accent, 2.2));
    p.drawLine(QPointF(8, 12), QPointF(20, 12));
    const QPainterPath head = Outline({{16.5, 8}, {20.5, 12}, {16.5, 16}});
    p.drawPath(head);
};

const Glyph kRemove = [](QPainter& p, const QColor& ink, const QColor& accent) {
    Q_UNUSED(accent);
    const QColor red(0xD0, 0x3B, 0x3B);
    p.setPen(Stroke(ink, 1.7));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(4, 6.5), QPointF(20, 6.5));
    p.drawLine(QPointF(9.5, 6.5), QPointF(10, 3.8));
    p.drawLine(QPointF(10, 3.8), QPointF(14, 3.8));
    p.drawLine(QPointF(14, 3.8), QPointF(14.5, 6.5));
    const QPainterPath can = Outline({{6, 6.5}, {7.3, 20.5}, {16.7, 20.5}, {18, 6.5}});
    p.setBrush(red);
    p.drawPath(can);
    p.setPen(Stroke(Qt::white, 1.3));
    p.drawLine(QPointF(10, 10), QPointF(10.3, 17.5));
    p.drawLine(QPointF(14, 10), QPointF(13.7, 17.5));
};

QImage DrawButton(int size, State state, const Glyph& glyph) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double inset = 0.5;
    if (state != State::Normal) {
        p.setPen(QPen(state == State::Hot ? kHotEdge : kPressedEdge, 1.0));
        p.setBrush(state == State::Hot ? kHotTile : kPressedTile);
        p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size / 7.0, size / 7.0);
    }
    const double glyphBox = size * 0.74;
    const double offset = (size - glyphBox) / 2 + (state == State::Pressed ? 1.0 : 0.0);
    p.translate(offset, offset);
    p.scale(glyphBox / 24.0, glyphBox / 24.0);
    const QColor ink = state == State::Normal ? kInk : QColor(0x1B, 0x2A, 0x3F);
    const QColor accent = state == State::Pressed ? QColor(0x17, 0x58, 0xAB) : kAccent;
    glyph(p, ink, accent);
    return image;
}

// An 8-bit BMP with a palette made for the picture (all colours fit in 256
// for these small flat drawings; otherwise the nearest are used).
bool WriteBmp8(const QImage& source, const QString& path) {
    // The palette: the face colour first (so the button's background matches
    // the window exactly), then the picture's most frequent colours.
    QHash<QRgb, int> counts;
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) ++counts[line[x] | 0xFF000000u];
    }
    QList<QPair<int, QRgb>> byCount;
    for (auto it = counts.begin(); it != counts.end(); ++it) byCount.append({it.value(), it.key()});
    // Colours as often used stand in the order of their values: the hash's
    // order changes from run to run, and the files are committed.
    std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<QRgb> palette{kFace.rgb()};
    for (const auto& [count, colour] : byCount) {
        if (palette.size() == 256) break;
        if (colour != kFace.rgb()) palette.append(colour);
    }
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    const int width = indexed.width();
    const int height = indexed.height();
    const int stride = (width + 3) & ~3;
    const int paletteBytes = 256 * 4;
    const int offBits = 14 + 40 + paletteBytes;
    const int fileSize = offBits + stride * height;
    QByteArray out;
    auto u16 = [&](int v) {
        out.append(char(v & 0xFF));
        out.append(char((v >> 8) & 0xFF));
    };
    auto u32 = [&](qint64 v) {
        u16(int(v & 0xFFFF));
        u16(int((v >> 16) & 0xFFFF));
    };
    out.append("BM");
    u32(fileSize);
    u32(0);
    u32(offBits);
    u32(40);
    u32(width);
    u32(height);
    u16(1);
    u16(8);
    u32(0);
    u32(stride * height);
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    for (int y = height - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char*>(indexed.constScanLine(y)), width);
        out.append(QByteArray(stride - width, 0));
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

// The program icon: a business card on a rounded tile; the maker's carries a
// pen, the viewer's an eye.
QImage DrawIcon(int size, bool viewer) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient tile(0, 0, 64, 64);
    tile.setColorAt(0, viewer ? QColor(0x13, 0x9C, 0x8F) : QColor(0x2A, 0x7D, 0xE1));
    tile.setColorAt(1, viewer ? QColor(0x0B, 0x5E, 0x6E) : QColor(0x1B, 0x3F, 0x8F));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
    // the card
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(QRectF(9, 17, 46, 31), 4, 4);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(8, 15, 46, 31), 4, 4);
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawEllipse(QPointF(19, 27), 5.5, 5.5);
    p.setBrush(QColor(0x2B, 0x3A, 0x4F));
    p.drawRoundedRect(QRectF(28, 22, 20, 3.2), 1.6, 1.6);
    p.setBrush(QColor(0x8A, 0x96, 0xA8));
    p.drawRoundedRect(QRectF(28, 28.5, 16, 2.6), 1.3, 1.3);
    p.drawRoundedRect(QRectF(13, 37, 30, 2.6), 1.3, 1.3);
    if (viewer) {
        p.setPen(QPen(QColor(0x0B, 0x5E, 0x6E), 3.2));
        p.setBrush(Qt::white);
        QPainterPath eye;
        eye.moveTo(34, 50);
        eye.quadTo(46, 38, 58, 50);
        eye.quadTo(46, 62, 34, 50);
        p.drawPath(eye);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x0B, 0x5E, 0x6E));
        p.drawEllipse(QPointF(46, 50), 4.2, 4.2);
    } else {
        p.save();
        p.translate(48, 44);
        p.rotate(45);
        p.setBrush(QColor(0xF2, 0xB1, 0x34));
        p.setPen(QPen(QColor(0x1B, 0x2A, 0x3F), 1.6));
        p.drawRect(QRectF(-3.6, -16, 7.2, 18));
        const QPainterPath tip = Outline({{-3.6, 2}, {0, 8}, {3.6, 2}}, true);
        p.setBrush(QColor(0xF6, 0xE0, 0xB5));
        p.drawPath(tip);
        p.restore();
    }
    return image;
}

// The splash: a large card on a deep blue field with the program's name.
QImage DrawSplash(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient field(0, 0, width, height);
    field.setColorAt(0, QColor(0x1B, 0x3F, 0x8F));
    field.setColorAt(1, QColor(0x0B, 0x5E, 0x6E));
    p.fillRect(image.rect(), field);
    QRadialGradient glow(width * 0.75, height * 0.2, width * 0.6);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), glow);
    const QRectF card(width * 0.08, height * 0.2, width * 0.42, height * 0.55);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(card.translated(6, 8), 14, 14);
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 14, 14);
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawEllipse(QPointF(card.left() + card.width() * 0.22, card.top() + card.height() * 0.36), card.height() * 0.16,
                  card.height() * 0.16);
    p.setBrush(QColor(0x2B, 0x3A, 0x4F));
    p.drawRoundedRect(
        QRectF(card.left() + card.width() * 0.44, card.top() + card.height() * 0.24, card.width() * 0.44, 9), 4, 4);
    p.setBrush(QColor(0x8A, 0x96, 0xA8));
    p.drawRoundedRect(
        QRectF(card.left() + card.width() * 0.44, card.top() + card.height() * 0.42, card.width() * 0.34, 7), 3, 3);
    p.drawRoundedRect(QRectF(card.left() + card.width() * 0.1, card.top() + card.height() * 0.7, card.width() * 0.7, 7),
                      3, 3);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 1);
    title.setPixelSize(height / 7);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(width * 0.55, height * 0.28, width * 0.43, height * 0.2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ovlet"));
    QFont sub(QStringLiteral("DejaVu Sans"), 1);
    sub.setPixelSize(height / 17);
    p.setFont(sub);
    p.setPen(QColor(0xDD, 0xEB, 0xFB));
    p.drawText(QRectF(width * 0.55, height * 0.48, width * 0.43, height * 0.25),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, QStringLiteral("Maker\nElectronic business cards"));
    return image;
}

int WriteResources(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_resources RESOURCES_DIR\n");
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    struct Button {
        std::uint32_t normal, pressed, hot;
        int size;
        const Glyph* glyph;
    };
    const Button buttons[] = {
        {resources::kBitmapNew, resources::kBitmapNewPressed, resources::kBitmapNewHot, 35, &kNew},
        {resources::kBitmapOpen, resources::kBitmapOpenPressed, resources::kBitmapOpenHot, 35, &kOpen},
        {resources::kBitmapSave, resources::kBitmapSavePressed, resources::kBitmapSaveHot, 35, &kSave},
        {resources::kBitmapSaveAs, resources::kBitmapSaveAsPressed, resources::kBitmapSaveAsHot, 35, &kSaveAs},
        {resources::kBitmapImport, resources::kBitmapImportPressed, resources::kBitmapImportHot, 35, &kImport},
        {resources::kBitmapHelp, resources::kBitmapHelpPressed, resources::kBitmapHelpHot, 35, &kHelp},
        {resources::kBitmapAbout, resources::kBitmapAboutPressed, resources::kBitmapAboutHot, 35, &kAbout},
        {resources::kBitmapExit, resources::kBitmapExitPressed, resources::kBitmapExitHot, 35, &kExit},
        {resources::kBitmapRemove, resources::kBitmapRemovePressed, resources::kBitmapRemoveHot, 23, &kRemove},
    };
    bool ok = dir.mkpath(QStringLiteral("bitmaps")) && dir.mkpath(QStringLiteral("icons")) &&
              dir.mkpath(QStringLiteral("data"));
    for (const Button& b : buttons) {
        const std::pair<std::uint32_t, State> states[] = {
            {b.normal, State::Normal}, {b.pressed, State::Pressed}, {b.hot, State::Hot}};
        for (const auto& [id, state] : states) {
            ok &=
                WriteBmp8(DrawButton(b.size, state, *b.glyph), dir.filePath(QStringLiteral("bitmaps/%1.bmp").arg(id)));
        }
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        ok &= DrawIcon(size, false).save(dir.filePath(QStringLiteral("icons/ovmake-%1.png").arg(size)));
        ok &= DrawIcon(size, true).save(dir.filePath(QStringLiteral("icons/ovview-%1.png").arg(size)));
    }
    ok &= DrawSplash(522, 300).save(dir.filePath(QStringLiteral("data/maker.jpg")), "JPG", 90);
    std::printf(ok ? "resources written\n" : "make_resources: a file could not be written\n");
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace ovlet::tools

int main(int argc, char** argv) {
    return ovlet::tools::WriteResources(argc, argv);
}
