// Where the program keeps "Journal.cds", "Settings.cds" and
// "FontSettings.Ini": the folder of the executable, as the program has always
// done, unless that folder cannot be written (a system-wide install), in which
// case the user's application data folder is used so that nothing is lost
// when the program ends.
#pragma once

#include <QString>

namespace quillmere {

// `candidate` when a file can be created in it (fileAccess().folderWritable),
// else QStandardPaths::AppDataLocation, created when missing. Never throws;
// if even that folder cannot be created its path is still returned, and
// writing there later fails with a FileError naming the file.
QString chooseDataFolder(const QString& candidate);

// chooseDataFolder(QCoreApplication::applicationDirPath()); needs the
// application object.
QString dataFolder();

// `fileName` inside dataFolder().
QString dataFilePath(const QString& fileName);

// `fileName` inside the executable's folder when that folder is the data
// folder (a file can be created in it); empty otherwise. Works before the
// application object exists: for starting work early, not for deciding where
// files go. Never throws.
QString earlyDataFilePath(const QString& fileName);

}  // namespace quillmere
