#include "store/data_location.h"

#include "store/file_access.h"
#include "store/font_settings.h"
#include "store/journal_session.h"
#include "store/recovery_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillmere {

QString chooseDataFolder(const QString& candidate) {
    if (!candidate.isEmpty() && fileAccess().folderWritable(candidate)) {
        return candidate;
    }
    return userDataFolder();
}

QString userDataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

bool isInstalledLayout(const QString& executableFolder) {
    const QDir bin(executableFolder);
    if (executableFolder.isEmpty() || bin.dirName() != QLatin1String("bin")) {
        return false;
    }
    const QString entry =
        QStringLiteral("../share/applications/%1.desktop").arg(QLatin1String(kApplicationId));
    return fileAccess().exists(QDir::cleanPath(bin.filePath(entry)));
}

QStringList adoptDiaryFrom(const QString& from, const QString& to) {
    const QDir source(from);
    const QDir target(to);
    const auto in = [](const QDir& folder, const char* name) {
        return folder.filePath(QString::fromLatin1(name));
    };
    if (from.isEmpty() || fileAccess().exists(in(target, kJournalFileName)) ||
        (!fileAccess().exists(in(source, kJournalFileName)) &&
         !fileAccess().exists(in(source, kSettingsFileName)))) {
        return {};
    }
    QStringList copied;
    for (const char* name : {kJournalBackupFileName, kSettingsFileName, kFontSettingsFileName,
                             kRecoveryFileName, kUnreadRecoveryFileName, kJournalFileName}) {
        if (fileAccess().exists(in(source, name)) && !fileAccess().exists(in(target, name))) {
            fileAccess().writeAtomic(in(target, name), fileAccess().readAll(in(source, name)));
            copied << QString::fromLatin1(name);
        }
    }
    return copied;
}

DataFolderChoice locateDataFolder() {
    return chooseDataFolderFor(QCoreApplication::applicationDirPath());
}

DataFolderChoice chooseDataFolderFor(const QString& executableFolder) {
    if (isInstalledLayout(executableFolder)) {
        return {userDataFolder(), {}};
    }
    DataFolderChoice choice{chooseDataFolder(executableFolder), {}};
    if (!executableFolder.isEmpty() && choice.path != executableFolder) {
        choice.fellBackFrom = executableFolder;
    }
    return choice;
}

QString dataFolder() {
    return locateDataFolder().path;
}

QString dataFilePath(const QString& fileName) {
    return QDir(dataFolder()).filePath(fileName);
}

QString earlyUserDataFolder(const QString& applicationName) {
    // As Qt's own lookup: an unset or empty XDG_DATA_HOME means the default,
    // any other value is taken as it stands.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QLatin1Char('/') + applicationName);
}

QString earlyDataFilePath(const QString& fileName, const QString& applicationName) {
    // Linux names the running executable here, as applicationDirPath() uses.
    return earlyDataFilePathFor(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath(),
                                fileName, applicationName);
}

QString earlyDataFilePathFor(const QString& executableFolder, const QString& fileName,
                             const QString& applicationName) {
    if (!executableFolder.isEmpty() && !isInstalledLayout(executableFolder) &&
        fileAccess().folderWritable(executableFolder)) {
        return QDir(executableFolder).filePath(fileName);
    }
    return QDir(earlyUserDataFolder(applicationName)).filePath(fileName);
}

}  // namespace quillmere
