#include "platform/paths.h"

#include "platform/codepage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>
#include <cctype>

namespace paths {

namespace {

std::array<QString, 26>& driveRoots()
{
    static std::array<QString, 26> roots;
    return roots;
}

int driveIndex(char drive)
{
    const int c = std::toupper(static_cast<unsigned char>(drive));
    return (c >= 'A' && c <= 'Z') ? c - 'A' : -1;
}

// The entry of `dir` named `name`, exactly or else ignoring case; empty
// when there is none.
QString findEntry(const QString& dir, const QString& name)
{
    const QString exact = dir.endsWith('/') ? dir + name : dir + '/' + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QDir d(dir);
    const QStringList entries =
        d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.endsWith('/') ? dir + e : dir + '/' + e;
    return {};
}

} // namespace

void SetDriveRoot(char drive, const QString& folder)
{
    const int i = driveIndex(drive);
    if (i >= 0)
        driveRoots()[size_t(i)] = folder;
}

QString DriveRoot(char drive)
{
    const int i = driveIndex(drive);
    if (i < 0 || driveRoots()[size_t(i)].isEmpty())
        return QStringLiteral("/");
    return driveRoots()[size_t(i)];
}

QString ResolveStoredPath(std::string_view stored, const QString& baseDir)
{
    QString name = codepage::ToUnicode(stored, codepage::kAnsi);
    if (name.isEmpty())
        return {};
    if (!name.contains('\\') && QFileInfo(name).isAbsolute() && QFileInfo::exists(name))
        return name;
    name.replace('\\', '/');

    QString root;
    QString rest;
    if (name.size() >= 2 && name[1] == ':' && name[0].isLetter() && name[0].unicode() < 128) {
        root = DriveRoot(char(name[0].unicode()));
        rest = name.mid(2);
    } else if (name.startsWith(QStringLiteral("//"))) {
        // \\server\share\rest: the share's content is looked up from "/".
        const QStringList parts = name.mid(2).split('/', Qt::SkipEmptyParts);
        root = QStringLiteral("/");
        rest = parts.mid(2).join('/');
    } else if (name.startsWith('/')) {
        root = QStringLiteral("/");
        rest = name;
    } else {
        root = baseDir.isEmpty() ? QDir::currentPath() : baseDir;
        rest = name;
    }

    QString current = root;
    const QStringList parts = rest.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QStringLiteral("."))
            continue;
        QString next;
        if (part == QStringLiteral(".."))
            next = QDir::cleanPath(current + QStringLiteral("/.."));
        else
            next = findEntry(current, part);
        if (next.isEmpty()) {
            // Nothing matches: the name as it would be, for messages.
            return QDir::cleanPath(root + '/' + rest);
        }
        current = next;
    }
    return QDir::cleanPath(current);
}

namespace {
QString& clipartOverride()
{
    static QString folder;
    return folder;
}
} // namespace

void SetClipartFolder(const QString& folder)
{
    clipartOverride() = folder;
}

QString GetClipartFolder()
{
    if (!clipartOverride().isEmpty())
        return clipartOverride();
    const QString base = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                       : QDir::currentPath();
    return base + QStringLiteral("/Clipart");
}

} // namespace paths
