#include "shell/frame/childframe.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QSplitter>
#include <QTabBar>

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
    m_documentTarget.OnCommand(cmd::kNextPane, [this] { activateNextPane(true); });
    m_documentTarget.OnCommand(cmd::kPrevPane, [this] { activateNextPane(false); });
    // Before the tab area hands the focus to the first child that takes it
    // (a tab row): the active view has it then, and keeps it.
    connect(this, &QMdiSubWindow::aboutToActivate, this, &CChildFrame::focusActiveView);
}

CChildFrame::~CChildFrame()
{
    // The views still speak to the document while they go.
    delete widget();
}

void CChildFrame::SetActiveView(CCmdTarget* view)
{
    m_activeView = view;
    m_activeViewWidget = dynamic_cast<QWidget*>(view);
    // A window in the background does not take the focus from the active
    // one; it hands it out when it is activated.
    const QMdiArea* area = mdiArea();
    if (!area || !area->currentSubWindow() || area->currentSubWindow() == this)
        focusActiveView();
}

void CChildFrame::focusActiveView()
{
    QWidget* view = m_activeViewWidget;
    if (view && isAncestorOf(view) && view->isEnabled() && !view->hasFocus())
        view->setFocus(Qt::OtherFocusReason);
}

void CChildFrame::focusInEvent(QFocusEvent* event)
{
    QMdiSubWindow::focusInEvent(event);
    focusActiveView();
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

void CChildFrame::activateNextPane(bool forward)
{
    auto* splitter = widget() ? widget()->findChild<QSplitter*>() : nullptr;
    if (!splitter || splitter->count() < 2)
        return;
    const QWidget* focus = QApplication::focusWidget();
    int current = 0;
    for (int i = 0; i < splitter->count(); ++i)
        if (focus && splitter->widget(i)->isAncestorOf(focus))
            current = i;
    const int count = splitter->count();
    QWidget* pane = splitter->widget((current + (forward ? 1 : count - 1)) % count);
    // The pane's view: its first shown child that takes the focus by click
    // and by tab, as the canvas and the table grid do.
    for (QWidget* child : pane->findChildren<QWidget*>()) {
        if (child->isVisible() && child->isEnabled() && child->focusPolicy() == Qt::StrongFocus &&
            !qobject_cast<QAbstractButton*>(child) && !qobject_cast<QTabBar*>(child)) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool CChildFrame::CloseAnswered()
{
    m_closeAnswered = true;
    const bool closed = close();
    m_closeAnswered = closed;
    return closed;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    emit closing();
    if (!m_closeAnswered && !m_document->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
