#include "window/program_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramDataFile(const QString& name) {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/ovlet/") + name);
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
    // From the build folder: the data as written in the sources.
    const QString source = QDir(QString::fromUtf8(OVLET_SOURCE_DATA_DIR)).filePath(name);
    if (QFileInfo::exists(source)) return source;
    return installed;
}
