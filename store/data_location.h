// Where the program keeps "Journal.cds", "Settings.cds" and
// "FontSettings.Ini": the folder of the executable, as the program has always
// done, unless that folder cannot be written or the program runs installed
// under a prefix (/usr/bin, /usr/local/bin, ...), in which case the user's
// application data folder (~/.local/share/Quillmere) is used so that nothing
// is lost when the program ends and nothing lands among the system's programs.
#pragma once

#include <QString>
#include <QStringList>

namespace quillmere {

// `candidate` when a file can be created in it (fileAccess().folderWritable),
// else QStandardPaths::AppDataLocation, created when missing. Never throws;
// if even that folder cannot be created its path is still returned, and
// writing there later fails with a FileError naming the file.
QString chooseDataFolder(const QString& candidate);

// The desktop's application id; the desktop entry, the metainfo file and the
// icons are installed under this name.
inline constexpr const char* kApplicationId = "org.example.quillmere.Quillmere";

// True when `executableFolder` is the "bin" folder of an installed prefix,
// recognised by the program's desktop entry at
// <prefix>/share/applications/<kApplicationId>.desktop
// (fileAccess().exists). A build folder never is. Never throws.
bool isInstalledLayout(const QString& executableFolder);

// The user's application data folder (QStandardPaths::AppDataLocation),
// created when missing. Never throws.
QString userDataFolder();

// Where the data files go, and whether that was a fallback.
struct DataFolderChoice {
    QString path;
    // The executable's folder when it could not be written and `path` is the
    // user's data folder in its place; empty when the program uses the folder
    // it was meant to use (its own, or the user's data folder when it runs
    // installed).
    QString fellBackFrom;
};

// For an executable in `executableFolder`: userDataFolder() when that is an
// installed layout (isInstalledLayout), else chooseDataFolder(executableFolder),
// noting a fallback. Never throws.
DataFolderChoice chooseDataFolderFor(const QString& executableFolder);

// Brings the diary kept in `from` (the executable's folder, which can no
// longer be written) into the data folder `to`, once: when `to` holds no
// "Journal.cds" yet and `from` holds "Journal.cds" or "Settings.cds", every
// data file of `from` ("Journal.cds.bak", "Settings.cds", "FontSettings.Ini",
// "Journal.recovery", "Journal.recovery.unread", "Journal.cds") that `to`
// lacks is copied as bytes (an encrypted diary stays encrypted), through
// fileAccess(). "Journal.cds" comes last, so a copy cut short is completed
// at the next start. `from` is left as it is. Returns the names copied
// (empty: nothing to bring). Throws FileError naming the file that could not
// be read or written.
QStringList adoptDiaryFrom(const QString& from, const QString& to);

// chooseDataFolderFor(QCoreApplication::applicationDirPath()); needs the
// application object.
DataFolderChoice locateDataFolder();

// locateDataFolder().path.
QString dataFolder();

// `fileName` inside dataFolder().
QString dataFilePath(const QString& fileName);

// The folder userDataFolder() gives for a program named `applicationName`
// (no organisation name set), worked out from the environment as the
// platform does (XDG_DATA_HOME, else ~/.local/share), without creating it.
// Works before the application object exists. Never throws.
QString earlyUserDataFolder(const QString& applicationName);

// `fileName` inside the folder the data will be kept in, as far as it can be
// told before the application object exists: the executable's folder when it
// is the data folder (a file can be created in it and it is no installed
// layout), else earlyUserDataFolder(applicationName). For starting work
// early, not for deciding where files go; may be empty. Never throws.
QString earlyDataFilePath(const QString& fileName, const QString& applicationName);

// earlyDataFilePath for an executable in `executableFolder`. Never throws.
QString earlyDataFilePathFor(const QString& executableFolder, const QString& fileName,
                             const QString& applicationName);

}  // namespace quillmere
