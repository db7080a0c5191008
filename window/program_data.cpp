#include "window/program_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramDataFile(const QString& name) {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/ovlet/") + name);
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
    // From the build folder: the data written by hand in the sources, the
    // translations made by the build.
    for (const char* folder : {OVLET_SOURCE_DATA_DIR, OVLET_BUILD_DATA_DIR}) {
        const QString built = QDir(QString::fromUtf8(folder)).filePath(name);
        if (QFileInfo::exists(built)) return built;
    }
    return installed;
}
