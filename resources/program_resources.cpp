#include "resources/program_resources.h"

#include <QHash>

#include "platform/bitmap_resources.h"

// The pictures are compiled into a library; naming them here makes sure the
// linker keeps them. (The macro must be used outside any namespace.)
static void InitPictureResources() {
    Q_INIT_RESOURCE(ovlet_pictures);
}

namespace resources {

void InstallBitmaps() {
    InitPictureResources();
    platform::InstallBitmapResources(QStringLiteral(":/bitmaps"));
}

QIcon ProgramIcon(const QString& program) {
    // Read once: the window, its title bar, the task bar and the About box
    // share it; the About box draws the large sizes.
    static QHash<QString, QIcon> icons;
    QIcon& icon = icons[program];
    if (icon.isNull()) {
        InitPictureResources();
        for (int size : {16, 32, 48, 64, 128}) {
            icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(program).arg(size), QSize(size, size));
        }
    }
    return icon;
}

}  // namespace resources
