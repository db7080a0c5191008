#include "platform/resources.h"

#include <QFile>
#include <QHash>
#include <QString>

#include "picture/resource_registry.h"

// The pictures are compiled into a library; naming them here makes sure the
// linker keeps them. (The macro must be used outside any namespace.)
static void InitPictureResources() {
    Q_INIT_RESOURCE(ovlet_pictures);
}

namespace platform {
namespace {

constexpr int kBmpFileHeaderSize = 14;  // "BM", file size, two reserved words, pixel offset

// The packed DIB of a bitmap resource: the BMP file without its file header,
// read once and kept for the program's life.
std::span<const std::uint8_t> LookUpBitmap(std::uint16_t id) {
    static QHash<std::uint16_t, QByteArray> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(id));
        QByteArray dib;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (bytes.size() > kBmpFileHeaderSize && bytes.startsWith("BM")) dib = bytes.mid(kBmpFileHeaderSize);
        }
        it = cache.insert(id, dib);
    }
    return {reinterpret_cast<const std::uint8_t*>(it->constData()), static_cast<std::size_t>(it->size())};
}

}  // namespace

void InstallBitmapResources() {
    InitPictureResources();
    SetBitmapResourceLookup(LookUpBitmap);
}

QIcon ProgramIcon(bool viewer) {
    // Read once: the window, its title bar and the task bar share it. The
    // large sizes are for the desktop, which takes them from the icon theme.
    static QIcon icons[2];
    QIcon& icon = icons[viewer ? 1 : 0];
    if (icon.isNull()) {
        for (int size : {16, 32, 48}) {
            icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(viewer ? "ovview" : "ovmake").arg(size),
                         QSize(size, size));
        }
    }
    return icon;
}

}  // namespace platform
