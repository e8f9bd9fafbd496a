#pragma once
// The recent-documents list: at most ten project paths, most recent first,
// kept as "File1".."File10" in the "Recent File List" section.
#include <QString>
#include <QStringList>

class CRecentFileList {
public:
    static constexpr int kSize = 10;

    void Load();
    void Save() const;
    // Moves `path` to the top (an equal path, by its absolute form, goes).
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Paths() const { return m_paths; }

private:
    QStringList m_paths;
};
