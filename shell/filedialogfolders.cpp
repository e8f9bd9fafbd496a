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
    const std::string kind = Kind(request);
    if (!kind.empty()) {
        const QString last = QFile::decodeName(settings::GetText(settings::kWorkspace, settingKey(kind)).c_str());
        if (!last.isEmpty() && QFileInfo(last).isDir())
            return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void CFileDialogFolders::Remember(const FileDialogRequest& request, const QString& chosen)
{
    const std::string kind = Kind(request);
    if (kind.empty() || chosen.isEmpty())
        return;
    const QString folder = QFileInfo(chosen).absolutePath();
    settings::WriteText(settings::kWorkspace, settingKey(kind), QFile::encodeName(folder).toStdString());
}
