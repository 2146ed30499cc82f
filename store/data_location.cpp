#include "store/data_location.h"

#include "store/file_access.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillmere {

QString chooseDataFolder(const QString& candidate) {
    if (!candidate.isEmpty() && fileAccess().folderWritable(candidate)) {
        return candidate;
    }
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(fallback);
    return fallback;
}

QString dataFolder() {
    return chooseDataFolder(QCoreApplication::applicationDirPath());
}

QString dataFilePath(const QString& fileName) {
    return QDir(dataFolder()).filePath(fileName);
}

QString earlyDataFilePath(const QString& fileName) {
    // Linux names the running executable here, as applicationDirPath() uses.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (folder.isEmpty() || !fileAccess().folderWritable(folder)) {
        return {};
    }
    return QDir(folder).filePath(fileName);
}

}  // namespace quillmere
