#include "shell/frame/childframe.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "shell/frame/commandids.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(std::unique_ptr<CVorteplanSoftLabelDoc> document, QWidget* parent)
    : QMdiSubWindow(parent), m_document(std::move(document))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The project's main view takes this place once it exists; until then
    // an empty page.
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("projectPage"));
    page->setAutoFillBackground(true);
    page->setBackgroundRole(QPalette::Base);
    setWidget(page);
    UpdateTitle();

    m_documentTarget.OnCommand(cmd::kFileSave, [this] { save(false); });
    m_documentTarget.OnCommand(cmd::kFileSaveAs, [this] { save(true); });
    m_documentTarget.OnCommand(cmd::kFileClose, [this] { close(); });
}

CChildFrame::~CChildFrame()
{
    // The views still speak to the document while they go.
    delete widget();
}

void CChildFrame::SetProjectView(QWidget* view)
{
    QWidget* old = widget();
    setWidget(view);
    if (old != view)
        delete old;
}

void CChildFrame::UpdateTitle()
{
    const QString title = codepage::ToUnicode(m_document->GetTitle());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CChildFrame::save(bool as)
{
    const bool saved = as ? m_document->SaveAsPublic() : m_document->SavePublic();
    UpdateTitle();
    if (saved && !m_document->GetPathName().isEmpty())
        emit documentSaved(m_document->GetPathName());
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_document->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
