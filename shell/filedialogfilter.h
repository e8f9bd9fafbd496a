#pragma once
// File-dialog filters written the Windows way, "Description|*.a;*.b|...||",
// turned into Qt name filters that match regardless of case, so files made
// on Windows ("X.LABEL") show on a case-sensitive file system; and the
// extension rules applied after the dialog closes.
#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

class CFileDialogFilter {
public:
    struct Entry {
        QString description;
        QStringList patterns; // wildcards that ignore case ("*.[lL][aA][bB][eE][lL]")
    };

    static std::vector<Entry> Parse(std::string_view windowsFilter);
    // Qt name filters, "Description (pattern pattern)", one per entry; shown
    // with QFileDialog::HideNameFilterDetails so the patterns stay hidden.
    static QStringList NameFilters(std::string_view windowsFilter);
    // A wildcard matching `pattern` without regard to case.
    static QString CaseInsensitivePattern(const QString& pattern);

    // `path` with ".extension" appended when its file name has no extension.
    static QString WithDefaultExtension(const QString& path, std::string_view extension);
    // Whether the file name of `path` ends in ".extension", ignoring case.
    static bool HasExtension(const QString& path, std::string_view extension);
};
