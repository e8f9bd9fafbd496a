#pragma once
// File names as Windows wrote them (in projects and table cells) resolved
// to files on this machine.
//
// A stored name is cp1252 bytes and may be a Windows path: backslashes
// separate folders, "C:" names a drive and "\\server\share" a network
// share. Each drive maps to a folder (every drive to "/" unless set
// otherwise); a share maps to "/". Every folder and file name is looked
// up exactly first and then ignoring case, as Windows file systems do.
#include <QString>

#include <string_view>

namespace paths {

// The local file a stored name means. When no file matches, the name
// converted to local separators (so that callers can still report it);
// an empty name gives an empty path. Relative names are taken from
// `baseDir` (the current folder when empty).
QString ResolveStoredPath(std::string_view stored, const QString& baseDir = {});

// The folder that drive letter `drive` (A..Z, any case) maps to; an empty
// folder restores the default "/".
void SetDriveRoot(char drive, const QString& folder);
QString DriveRoot(char drive);

// The program's clip-art folder: "Clipart" beside the program unless the
// application set another at start-up (empty: back to that default).
QString GetClipartFolder();
void SetClipartFolder(const QString& folder);

} // namespace paths
