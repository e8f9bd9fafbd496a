#pragma once
// The program's data folders on Linux.
//
// The per-user data folder is $XDG_DATA_HOME (default ~/.local/share); the
// all-users data folders are the installed data folder (<prefix>/share,
// beside the program's bin folder) followed by $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share). Below a data folder the product folder is
// "Vorteplan/Vorteplan Software V11.0/" with the subfolders "Labels/",
// "Label images/" and "Label info/". Folder paths end with '/'.
#include "resources/version.h"

#include <QString>
#include <QStringList>

namespace datafolders {

inline constexpr const char* kCompany = "Vorteplan";
inline constexpr const char* kApplicationName = appversion::kProductName;
inline constexpr const char* kVersionSuffix = appversion::kVersionSuffix;
inline constexpr const char* kLabels = "Labels";
inline constexpr const char* kLabelImages = "Label images";
inline constexpr const char* kLabelInfo = "Label info";

// "<base>/Vorteplan/Vorteplan Software V11.0/".
QString ProductFolder(const QString& base);
// "<base>/Vorteplan/Vorteplan Software V11.0/<name>/".
QString SubFolder(const QString& base, const char* name);

QString UserDataFolder();
QStringList AllUsersDataFolders();
// The installed data folder; tests and tools may set another (empty:
// back to the one beside the program).
void SetInstalledDataFolder(const QString& folder);
QString InstalledDataFolder();

// Copies every file of `source` whose name is longer than two characters
// into `target` (created when missing) under the same name, never over an
// existing file. Only regular files; subfolders are not descended. Errors
// are ignored. Answers the number of files copied.
int CopyFolderFiles(const QString& source, const QString& target);

} // namespace datafolders
