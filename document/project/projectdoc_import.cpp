// Importing label definition files into the per-user folders, the external
// template state and the text of the first status pane.
#include "document/project/projectdoc.h"

#include "platform/files.h"
#include "platform/uiservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr size_t kMaxExternalPath = 259;

constexpr const char* kImportFilter = "Label files (*.label)|*.label|"
                                      "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf|"
                                      "PDF files |*.pdf||";

std::string localName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

enum class ImportKind { Label, Image, Info, None };

// Only these three kinds are taken; other pictures the filter shows are not.
ImportKind importKind(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("label"))
        return ImportKind::Label;
    if (ext == QLatin1String("jpg"))
        return ImportKind::Image;
    if (ext == QLatin1String("pdf"))
        return ImportKind::Info;
    return ImportKind::None;
}

// The file into `folder`: asks before replacing a file there; false when
// skipped or the copy failed (the user is told).
bool importInto(const QString& source, const QString& folder)
{
    QDir().mkpath(folder);
    const QString name = QFileInfo(source).fileName();
    const QString target = QDir(folder).filePath(name);
    const QFileInfo existing(target);
    const bool same = existing.exists() && existing.canonicalFilePath() == QFileInfo(source).canonicalFilePath();
    if (existing.exists() && !same) {
        const std::string question = "The file " + localName(name) + " already exists in " + localName(folder) +
                                     ". Do you want to replace it?";
        if (Ui().Ask({question, {}, MessageIcon::Warning}, MessageButtons::YesNo, MessageAnswer::No) !=
            MessageAnswer::Yes)
            return false;
    }
    // A file that already is the target stays as it is.
    if (same)
        return true;
    std::string error;
    if (!files::CopyFileAtomically(source, target, &error)) {
        ShowUserMessage("Can not copy " + localName(source) + " to " + localName(folder) + ": " + error, {},
                        MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace

int CVorteplanSoftLabelDoc::ImportLabelFiles(const QString& labels, const QString& images, const QString& info)
{
    FileDialogRequest request;
    request.filter = kImportFilter;
    request.defaultExtension = "label";
    std::vector<QString> chosen = Ui().AskOpenFileNames(request);
    if (chosen.size() > kMaxImportFiles)
        chosen.resize(kMaxImportFiles);

    int imported = 0;
    int labelFiles = 0;
    QString lastLabel;
    for (const QString& source : chosen) {
        const ImportKind kind = importKind(source);
        const QString folder = kind == ImportKind::Label   ? labels
                               : kind == ImportKind::Image ? images
                               : kind == ImportKind::Info  ? info
                                                           : QString();
        if (folder.isEmpty() || !importInto(source, folder))
            continue;
        ++imported;
        if (kind == ImportKind::Label) {
            ++labelFiles;
            lastLabel = QDir(folder).filePath(QFileInfo(source).fileName());
        }
    }
    if (labelFiles == 1) {
        const std::string question = "The label definition " + localName(QFileInfo(lastLabel).completeBaseName()) +
                                     " was imported. Do you want to use it now?";
        if (Ui().Ask({question, {}, MessageIcon::Question}, MessageButtons::YesNo, MessageAnswer::No) ==
            MessageAnswer::Yes)
            LoadLabelDefinition(localName(lastLabel));
    }
    return imported;
}

// --- external template and the first status pane -----------------------------------------

void CVorteplanSoftLabelDoc::SetExternalTemplate(const std::string& path)
{
    m_externalTemplate = path.substr(0, kMaxExternalPath);
}

bool CVorteplanSoftLabelDoc::HasStoredLabel() const
{
    return dynamic_cast<const CLabelFileNew*>(GetCurrentTemplate().GetLabel()) != nullptr;
}

bool CVorteplanSoftLabelDoc::HasLoadedLabel() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label && label->IsLoaded();
}

std::string CVorteplanSoftLabelDoc::GetLabelPaneText() const
{
    if (IsExternalTemplateShown())
        return "External template: " + localName(QFileInfo(QFile::decodeName(QByteArray::fromStdString(m_externalTemplate))).fileName());
    const auto* label = dynamic_cast<const CLabelFileNew*>(GetCurrentTemplate().GetLabel());
    if (!label || label->GetDisplayName().empty())
        return {};
    return "Label: " + label->GetDisplayName() + "   ( " + GetAreaWidthText(0) + " x " + GetAreaHeightText(0) + " )";
}
