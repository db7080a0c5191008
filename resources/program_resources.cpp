#include "resources/program_resources.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <climits>
#include <map>

#include "picture/data_source.h"
#include "picture/png_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"
#include "platform/qt/bitmap_resources.h"
#include "platform/qt/painter_device.h"
#include "platform/qt/template_dialog.h"

using ovlet::picture::CDataSource;
using ovlet::picture::CPNGDecoder;
using ovlet::picture::CTextException;
using ovlet::picture::CWinBmp;

// The pictures are compiled into a library; naming them here makes sure the
// linker keeps them. (The macro must be used outside any namespace.)
static void InitPictureResources() {
    Q_INIT_RESOURCE(ovlet_pictures);
}

namespace ovlet::resources {

void InstallBitmaps() {
    InitPictureResources();
    platform::InstallBitmapResources(QStringLiteral(":/bitmaps"));
    platform::SetIconSource([](const std::string& program) { return ProgramIcon(QString::fromStdString(program)); });
}

namespace {

// One of the icon's pictures, a PNG file among the resources with its
// transparency. It is read as the PNG it is, by the picture library: asking
// Qt to read it would first look through every image plugin installed, and
// load some, while the program starts.
QPixmap ReadIconPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() > INT_MAX) return {};
    CDataSource source;
    source.OpenData("icon", reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::int32_t>(bytes.size()));
    CWinBmp bitmap;
    try {
        CPNGDecoder().DecodeSource(&source, &bitmap, 32);
    } catch (const CTextException&) {
        return {};
    }
    source.Close();
    if (bitmap.IsEmpty() || bitmap.GetHeight() <= 0) return {};
    // The bitmap's lines are stored bottom line first.
    QImage lines = platform::WrapDibLines(bitmap.GetLineTable()[bitmap.GetHeight() - 1], bitmap.GetInfoHeader());
    if (bitmap.HasAlpha()) lines.reinterpretAsFormat(QImage::Format_ARGB32);
    return QPixmap::fromImage(lines.mirrored(false, true));
}

// The program's icon, its pictures read when a size is first asked for. The
// window manager is offered the small sizes it shows; the larger pictures are
// there for whatever paints the icon large (the About box on a dense screen).
class ProgramIconEngine : public QIconEngine {
public:
    explicit ProgramIconEngine(const QString& programName) : program(programName) {}

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = Side(std::min(size.width(), size.height()));
        return QSize(side, side).boundedTo(size);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap& picture = loaded[Side(std::max(size.width(), size.height()))];
        if (picture.isNull()) {
            picture = ReadIconPicture(
                QStringLiteral(":/icons/%1-%2.png").arg(program).arg(Side(std::max(size.width(), size.height()))));
        }
        const QSize shown = actualSize(size, mode, state);
        return picture.size() == shown ? picture : picture.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        const QSize drawn = picture.deviceIndependentSize().toSize();
        painter->drawPixmap(
            QRect(rect.topLeft() + QPoint((rect.width() - drawn.width()) / 2, (rect.height() - drawn.height()) / 2),
                  drawn),
            picture);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48)};
    }

    QIconEngine* clone() const override { return new ProgramIconEngine(program); }
    QString key() const override { return QStringLiteral("ProgramIconEngine"); }

private:
    // The smallest picture at least `side` pixels high, or the largest.
    static int Side(int side) {
        for (int available : {16, 32, 48, 64, 128}) {
            if (available >= side) return available;
        }
        return 128;
    }

    QString program;
    std::map<int, QPixmap> loaded;
};

}  // namespace

QIcon ProgramIcon(const QString& program) {
    // Made once: the window, its title bar, the task bar and the About box
    // share it.
    static QHash<QString, QIcon> icons;
    QIcon& icon = icons[program];
    if (icon.isNull()) {
        InitPictureResources();
        icon = QIcon(new ProgramIconEngine(program));
    }
    return icon;
}

}  // namespace ovlet::resources
