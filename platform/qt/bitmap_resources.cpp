#include "platform/qt/bitmap_resources.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <memory>

#include "picture/resource_registry.h"

using ovlet::picture::SetBitmapResourceLookup;

namespace platform {
namespace {

constexpr int kBmpFileHeaderSize = 14;  // "BM", file size, two reserved words, pixel offset

// The packed DIB of each bitmap: the BMP file without its file header, read
// once and kept for the program's life.
struct BitmapFolder {
    QString path;
    QHash<std::uint16_t, QByteArray> cache;

    std::span<const std::uint8_t> Find(std::uint16_t id) {
        auto it = cache.find(id);
        if (it == cache.end()) {
            QFile file(QStringLiteral("%1/%2.bmp").arg(path).arg(id));
            QByteArray dib;
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = file.readAll();
                if (bytes.size() > kBmpFileHeaderSize && bytes.startsWith("BM")) dib = bytes.mid(kBmpFileHeaderSize);
            }
            it = cache.insert(id, dib);
        }
        return {reinterpret_cast<const std::uint8_t*>(it->constData()), static_cast<std::size_t>(it->size())};
    }
};

}  // namespace

void InstallBitmapResources(const QString& folder) {
    // Kept alive by the lookup, which lives as long as the program.
    auto bitmaps = std::make_shared<BitmapFolder>();
    bitmaps->path = folder;
    SetBitmapResourceLookup([bitmaps](std::uint16_t id) { return bitmaps->Find(id); });
}

}  // namespace platform
