#include "document/frame/document.h"

#include <QFileInfo>

#include <algorithm>

CDocument::~CDocument() = default;

const DocumentTypeInfo& CDocument::GetDocumentType() const
{
    static const DocumentTypeInfo info{"Document", "All Files (*.*)|*.*||", ""};
    return info;
}

void CDocument::SetPathName(const QString& path)
{
    m_pathName = path;
    m_title = QFile::encodeName(QFileInfo(path).completeBaseName()).toStdString();
}

void CDocument::AddView(CDocView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CDocView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::InvalidateViews(ViewKind kind)
{
    for (CDocView* view : m_views)
        if (view->GetViewKind() == kind)
            view->Invalidate();
}

void CDocument::AddTabObserver(CTabObserver* observer)
{
    if (observer && std::find(m_tabObservers.begin(), m_tabObservers.end(), observer) == m_tabObservers.end())
        m_tabObservers.push_back(observer);
}

void CDocument::RemoveTabObserver(CTabObserver* observer)
{
    m_tabObservers.erase(std::remove(m_tabObservers.begin(), m_tabObservers.end(), observer),
                         m_tabObservers.end());
}

void CDocument::NotifyTabAdded(TabKind kind, int index, const std::string& label)
{
    for (CTabObserver* o : m_tabObservers)
        o->TabAdded(kind, index, label);
}

void CDocument::NotifyTabRemoved(TabKind kind, int index)
{
    for (CTabObserver* o : m_tabObservers)
        o->TabRemoved(kind, index);
}

void CDocument::NotifyTabActivated(TabKind kind, int index)
{
    for (CTabObserver* o : m_tabObservers)
        o->TabActivated(kind, index);
}

void CDocument::NotifyTabLabelsChanged(TabKind kind)
{
    for (CTabObserver* o : m_tabObservers)
        o->TabLabelsChanged(kind);
}

// --- protocol -------------------------------------------------------------------

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_pathName.clear();
    m_modified = false;
    return true;
}

void CDocument::KeepWithoutPath(const std::string& title)
{
    m_keepWithoutPath = true;
    m_title = title;
}

bool CDocument::Open(const QString& path)
{
    m_keepWithoutPath = false;
    if (!OnOpenDocument(path))
        return false;
    m_openedFrom = path;
    if (m_keepWithoutPath) {
        // Saving must ask for a name: the file's own content was not read
        // whole, or is of another kind.
        m_pathName.clear();
        m_modified = true;
    } else {
        SetPathName(path);
        m_modified = false;
    }
    m_keepWithoutPath = false;
    return true;
}

std::string CDocument::DefaultSaveName() const
{
    std::string name = m_title;
    const size_t cut = name.find_first_of(" #%;/\\");
    if (cut != std::string::npos)
        name.resize(cut);
    return name + GetDocumentType().extension;
}

bool CDocument::DoSave(const std::optional<QString>& path, bool replace)
{
    QString target = path.value_or(QString());
    if (target.isEmpty()) {
        FileDialogRequest request;
        request.filter = GetDocumentType().filter;
        const std::string& ext = GetDocumentType().extension;
        request.defaultExtension = ext.empty() ? ext : ext.substr(1);
        const bool ownName = !m_pathName.isEmpty() && SavesWholeDocument(m_pathName);
        request.initialName = replace && !ownName ? QFile::decodeName(DefaultSaveName().c_str()) : m_pathName;
        request.title = replace ? "Save As" : "Save Copy As";
        const std::optional<QString> chosen = Ui().AskSaveFileName(request);
        if (!chosen || chosen->isEmpty())
            return false;
        target = *chosen;
    }
    // Saves are atomic: a failed one leaves no half-written file and any
    // old file as it was, so nothing is to be removed here.
    if (!OnSaveDocument(target))
        return false;
    if (replace && SavesWholeDocument(target))
        SetPathName(target);
    return true;
}

bool CDocument::DoFileSave()
{
    // A file that holds only part of the document (a table file, once the
    // document holds more) is no place to save it.
    if (m_pathName.isEmpty() || !SavesWholeDocument(m_pathName))
        return DoSave(std::nullopt, true);
    return DoSave(m_pathName, true);
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    std::string name = m_pathName.isEmpty() ? m_title : QFile::encodeName(m_pathName).toStdString();
    if (name.empty())
        name = "Untitled";
    const MessageAnswer answer = Ui().Ask({"Save changes to " + name + "?", {}, MessageIcon::Warning},
                                          MessageButtons::YesNoCancel, MessageAnswer::Cancel);
    switch (answer) {
    case MessageAnswer::Yes:
        // A save of the whole document clears the modified flag; a copy of
        // one part, chosen in the Save dialog, leaves it: closing then
        // would lose the rest.
        return DoFileSave() && !IsModified();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CDocument::Close()
{
    if (!SaveModified())
        return false;
    DeleteContents();
    return true;
}

// --- document template -----------------------------------------------------------

std::unique_ptr<CDocument> CDocTemplate::NewDocument()
{
    std::unique_ptr<CDocument> doc = CreateDocument();
    if (!doc || !doc->OnNewDocument())
        return nullptr;
    doc->SetTitle(doc->GetDocumentType().name + std::to_string(++m_untitledCount));
    return doc;
}

std::optional<QString> CDocTemplate::AskOpenFileName() const
{
    const std::unique_ptr<CDocument> doc = CreateDocument(); // for its type
    if (!doc)
        return std::nullopt;
    FileDialogRequest request;
    request.filter = doc->GetDocumentType().filter;
    const std::string& ext = doc->GetDocumentType().extension;
    request.defaultExtension = ext.empty() ? ext : ext.substr(1);
    request.title = "Open";
    const std::optional<QString> answer = Ui().AskOpenFileName(request);
    if (!answer || answer->isEmpty())
        return std::nullopt;
    return answer;
}

std::unique_ptr<CDocument> CDocTemplate::OpenDocument(const QString& path)
{
    QString chosen = path;
    if (chosen.isEmpty()) {
        const std::optional<QString> answer = AskOpenFileName();
        if (!answer)
            return nullptr;
        chosen = *answer;
    }
    std::unique_ptr<CDocument> doc = CreateDocument();
    if (!doc || !doc->Open(chosen))
        return nullptr;
    return doc;
}
