#include "shell/filedialogfolders.h"

#include "platform/settings.h"
#include "platform/uiservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

std::string settingKey(const std::string& kind)
{
    return "Last folder " + kind;
}

} // namespace

std::string CFileDialogFolders::Kind(const FileDialogRequest& request)
{
    if (!request.defaultExtension.empty())
        return request.defaultExtension;
    // "Description|*.a;*.b|...": the first pattern list.
    const size_t bar = request.filter.find('|');
    if (bar == std::string::npos)
        return {};
    const size_t end = request.filter.find('|', bar + 1);
    return request.filter.substr(bar + 1, end == std::string::npos ? std::string::npos : end - bar - 1);
}

QString CFileDialogFolders::StartFolder(const FileDialogRequest& request)
{
    if (!request.folder.isEmpty())
        return request.folder;
    const QString last = LastFolder(Kind(request));
    return last.isEmpty() ? DocumentsFolder() : last;
}

void CFileDialogFolders::Remember(const FileDialogRequest& request, const QString& chosen)
{
    RememberFolder(Kind(request), chosen);
}

QString CFileDialogFolders::LastFolder(const std::string& kind)
{
    if (kind.empty())
        return {};
    const QString last = QFile::decodeName(settings::GetText(settings::kWorkspace, settingKey(kind)).c_str());
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QString();
}

void CFileDialogFolders::RememberFolder(const std::string& kind, const QString& chosen)
{
    if (kind.empty() || chosen.isEmpty())
        return;
    const QString folder = QFileInfo(chosen).absolutePath();
    settings::WriteText(settings::kWorkspace, settingKey(kind), QFile::encodeName(folder).toStdString());
}

QString CFileDialogFolders::DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
