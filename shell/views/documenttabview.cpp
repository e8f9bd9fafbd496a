#include "shell/views/documenttabview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"

#include <algorithm>

CDocumentTabView::CDocumentTabView(TabKind kind, const CProjectViewContext& context, QWidget* parent)
    : CTabView(parent), m_context(context), m_kind(kind)
{
    if (m_context.document)
        m_context.document->AddTabObserver(this);
}

CDocumentTabView::~CDocumentTabView()
{
    if (m_context.document)
        m_context.document->RemoveTabObserver(this);
}

void CDocumentTabView::activate(int index)
{
    SetActiveTab(index);
    OnActivateView(index);
}

void CDocumentTabView::TabAdded(TabKind kind, int index, const std::string& label)
{
    if (kind != m_kind)
        return;
    InsertTab(std::clamp(index, 0, std::max(GetTabCount() - 1, 0)), labelFor(index, label));
}

void CDocumentTabView::TabRemoved(TabKind kind, int index)
{
    const int addTab = GetTabCount() - 1;
    if (kind != m_kind || index < 0 || index >= addTab)
        return;
    RemoveTab(index);
    // The slot now in that place, or the one before when the last went;
    // never the add tab.
    const int next = std::min(index, GetTabCount() - 2);
    if (next < 0)
        return;
    activate(next);
    if (CVorteplanSoftLabelDoc* doc = m_context.document)
        repaintAfterRemoval(*doc);
}

void CDocumentTabView::TabActivated(TabKind kind, int index)
{
    if (kind == m_kind && index >= 0 && index < GetTabCount() - 1)
        activate(index);
}

void CDocumentTabView::TabLabelsChanged(TabKind kind)
{
    if (kind != m_kind || !m_context.document)
        return;
    for (int k = 0; k < GetTabCount() - 1; ++k) {
        const std::string name = storedName(k);
        if (!name.empty())
            SetTabText(k, codepage::ToUnicode(name));
    }
}
