#include "platform/qt/named_icons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>

#include "picture/data_source.h"
#include "picture/decode_outcome.h"
#include "picture/png_decoder.h"
#include "picture/win_bmp.h"
#include "platform/qt/painter_device.h"
#include "platform/qt/template_dialog.h"

namespace ovlet::platform {
namespace {

// The window manager is offered the sizes it shows in title bars and task
// bars; the larger pictures are there for whatever paints the icon large
// (an About box on a dense screen).
constexpr int kLargestOfferedSide = 48;

// One of the icon's pictures, a PNG file with its transparency. It is read as
// the PNG it is, by the picture library: asking Qt to read it would first look
// through every image plugin installed, and load some, while the program starts.
QPixmap ReadIconPicture(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return {};
    picture::CDataSource source;
    source.OpenData("icon", bytes.data(), static_cast<std::int32_t>(bytes.size()));
    picture::CWinBmp bitmap;
    if (!picture::Decoding([&] { picture::CPNGDecoder().DecodeSource(&source, &bitmap, 32); })) return {};
    source.Close();
    if (bitmap.IsEmpty() || bitmap.GetHeight() <= 0) return {};
    // The bitmap's lines are stored bottom line first.
    QImage lines = WrapDibLines(bitmap.GetLineTable()[bitmap.GetHeight() - 1], bitmap.GetInfoHeader());
    if (bitmap.HasAlpha()) lines.reinterpretAsFormat(QImage::Format_ARGB32);
    return QPixmap::fromImage(lines.mirrored(false, true));
}

// The icon's pictures, each read when its size is first asked for.
class FileIconEngine : public QIconEngine {
public:
    explicit FileIconEngine(std::vector<IconFile> sizes) : files(std::move(sizes)) {
        std::sort(files.begin(), files.end(), [](const IconFile& a, const IconFile& b) { return a.side < b.side; });
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = Side(std::min(size.width(), size.height()));
        return QSize(side, side).boundedTo(size);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = Side(std::max(size.width(), size.height()));
        QPixmap& picture = loaded[side];
        if (picture.isNull()) picture = ReadIconPicture(FileOf(side));
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
        QList<QSize> offered;
        for (const IconFile& file : files) {
            if (file.side <= kLargestOfferedSide) offered.append(QSize(file.side, file.side));
        }
        return offered;
    }

    QIconEngine* clone() const override { return new FileIconEngine(files); }
    QString key() const override { return QStringLiteral("FileIconEngine"); }

private:
    // The smallest picture at least `side` pixels high, or the largest.
    int Side(int side) const {
        for (const IconFile& file : files) {
            if (file.side >= side) return file.side;
        }
        return files.empty() ? 0 : files.back().side;
    }

    std::span<const std::uint8_t> FileOf(int side) const {
        for (const IconFile& file : files) {
            if (file.side == side) return file.bytes;
        }
        return {};
    }

    std::vector<IconFile> files;
    std::map<int, QPixmap> loaded;
};

}  // namespace

QIcon IconOfFiles(std::vector<IconFile> sizes) {
    return QIcon(new FileIconEngine(std::move(sizes)));
}

void InstallIcons(const std::vector<NamedIcon>& icons) {
    if (icons.empty()) {
        SetIconSource(nullptr);
        return;
    }
    // Made once: the window, its title bar, the task bar and the About box
    // share each icon.
    auto made = std::make_shared<std::map<std::string, QIcon>>();
    for (const NamedIcon& icon : icons) (*made)[icon.name] = IconOfFiles(icon.sizes);
    SetIconSource([made](const std::string& name) {
        const auto found = made->find(name);
        return found != made->end() ? found->second : QIcon();
    });
}

}  // namespace ovlet::platform
