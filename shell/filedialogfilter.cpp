#include "shell/filedialogfilter.h"

#include "platform/codepage.h"

#include <QFileInfo>

namespace {

QString withoutDot(std::string_view extension)
{
    QString ext = codepage::ToUnicode(extension);
    while (ext.startsWith(u'.'))
        ext.remove(0, 1);
    return ext;
}

} // namespace

QString CFileDialogFilter::CaseInsensitivePattern(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower != upper) {
            out += u'[';
            out += lower;
            out += upper;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<CFileDialogFilter::Entry> CFileDialogFilter::Parse(std::string_view windowsFilter)
{
    const QStringList parts = codepage::ToUnicode(windowsFilter).split(u'|');
    std::vector<Entry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // the closing "||"
        Entry entry;
        entry.description = parts[i].trimmed();
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (!p.isEmpty())
                entry.patterns << CaseInsensitivePattern(p);
        }
        if (entry.patterns.isEmpty())
            entry.patterns << QStringLiteral("*");
        entries.push_back(entry);
    }
    return entries;
}

QStringList CFileDialogFilter::NameFilters(std::string_view windowsFilter)
{
    QStringList filters;
    for (const Entry& entry : Parse(windowsFilter))
        filters << entry.description + QStringLiteral(" (") + entry.patterns.join(u' ') + QStringLiteral(")");
    return filters;
}

QString CFileDialogFilter::WithDefaultExtension(const QString& path, std::string_view extension)
{
    const QString ext = withoutDot(extension);
    if (ext.isEmpty() || path.isEmpty() || QFileInfo(path).fileName().contains(u'.'))
        return path;
    return path + QStringLiteral(".") + ext;
}

bool CFileDialogFilter::HasExtension(const QString& path, std::string_view extension)
{
    const QString ext = withoutDot(extension);
    return QFileInfo(path).fileName().endsWith(QStringLiteral(".") + ext, Qt::CaseInsensitive);
}
