#include "shell/application/recentfiles.h"

#include "platform/settings.h"

#include <QFileInfo>

namespace {

std::string key(int index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void CRecentFileList::Load()
{
    m_paths.clear();
    for (int i = 0; i < kSize; ++i) {
        const QString path = settings::GetPath(settings::kRecentFileList, key(i));
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths << path;
    }
}

void CRecentFileList::Save() const
{
    for (int i = 0; i < kSize; ++i) {
        if (i < m_paths.size())
            settings::WritePath(settings::kRecentFileList, key(i), m_paths[i]);
        else if (settings::HasValue(settings::kRecentFileList, key(i)))
            settings::RemoveValue(settings::kRecentFileList, key(i));
    }
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    while (m_paths.size() > kSize)
        m_paths.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}
