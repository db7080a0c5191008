#include "maker/maker_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString MakerDataFile(const QString& name) {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/ovlet/") + name);
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
#ifdef OVLET_SOURCE_DATA_DIR
    const QString source = QDir(QStringLiteral(OVLET_SOURCE_DATA_DIR)).filePath(name);
    if (QFileInfo::exists(source)) return source;
#endif
    return installed;
}
