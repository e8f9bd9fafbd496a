#include "shell/application/datafolders.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace datafolders {

namespace {

QString& installedOverride()
{
    static QString folder;
    return folder;
}

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString stripSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString ProductFolder(const QString& base)
{
    return withSlash(stripSlash(base)) + QLatin1String(kCompany) + QLatin1Char('/') +
           QLatin1String(kApplicationName) + QLatin1String(kVersionSuffix) + QLatin1Char('/');
}

QString SubFolder(const QString& base, const char* name)
{
    return ProductFolder(base) + QLatin1String(name) + QLatin1Char('/');
}

QString UserDataFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return stripSlash(xdg);
    return QDir::homePath() + QStringLiteral("/.local/share");
}

void SetInstalledDataFolder(const QString& folder)
{
    installedOverride() = folder;
}

QString InstalledDataFolder()
{
    if (!installedOverride().isEmpty())
        return stripSlash(installedOverride());
    const QString bin = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(bin + QStringLiteral("/../share"));
}

QStringList AllUsersDataFolders()
{
    QStringList out{InstalledDataFolder()};
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!QDir::isAbsolutePath(dir))
            continue; // relative entries are ignored
        const QString clean = stripSlash(QDir::cleanPath(dir));
        if (!out.contains(clean))
            out << clean;
    }
    return out;
}

int CopyFolderFiles(const QString& source, const QString& target)
{
    QDir().mkpath(target);
    const QDir from(source);
    if (!from.exists())
        return 0;
    int copied = 0;
    const QFileInfoList entries = from.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        // FIFOs, devices and sockets are no files to copy (reading them
        // could block start-up).
        if (!entry.isFile() || entry.fileName().size() <= 2)
            continue;
        const QString to = QDir(target).filePath(entry.fileName());
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        // A copy the disk cannot take whole leaves no part of it behind.
        if (files::CopyFileAtomically(entry.filePath(), to))
            ++copied;
    }
    return copied;
}

} // namespace datafolders
