#include "shell/views/tabletabview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "shell/views/tablepage.h"
#include "shell/views/templatetabview.h"

#include <QLabel>

namespace {

const QString kAddTab = QStringLiteral("+");
const QString kTable = QStringLiteral("Table");

} // namespace

CTableTabView::CTableTabView(const CProjectViewContext& context, CVorteplanSoftMainView* mainView, QWidget* parent)
    : CTabView(parent), m_context(context), m_mainView(mainView)
{
    if (m_context.document)
        m_context.document->AddTabObserver(this);
}

CTableTabView::~CTableTabView()
{
    if (m_context.document)
        m_context.document->RemoveTabObserver(this);
}

QString CTableTabView::labelFor(int slot, const std::string& given)
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    const std::string& stored = doc ? doc->GetTableName(slot) : given;
    // A stored name wins over the reader's plain "Table".
    const std::string name = !stored.empty() ? stored : given;
    if (!name.empty() && name != "Table")
        return codepage::ToUnicode(name);
    const QString label = MakeUniqueTabLabel(kTable, *this, slot + 1);
    if (doc)
        doc->SetTableName(slot, codepage::FromUnicode(label));
    return label;
}

void CTableTabView::CreateTabs()
{
    m_bAddTab = true;
    CVorteplanSoftLabelDoc* doc = m_context.document;
    const int count = doc ? doc->GetTableCount() : kNewDocumentTabs;
    for (int k = 0; k < count; ++k)
        InsertTab(k, labelFor(k, {}));
    InsertTab(count, kAddTab);
    activate(0);
}

QWidget* CTableTabView::CreatePage(int /*index*/)
{
    if (!m_context.tableHost)
        return new QLabel;
    return new CTablePage(m_context, m_context.tableHost, m_mainView);
}

void CTableTabView::activate(int index)
{
    SetActiveTab(index);
    OnActivateView(index);
}

void CTableTabView::OnActivateView(int index)
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    if (!doc || index < 0)
        return;
    if (m_bAddTab && index == GetTabCount() - 1) {
        addTableTab();
        return;
    }
    if (index != doc->GetCurrentTableIndex()) {
        doc->SetCurrentTable(index);
        doc->InvalidateDesignViews();
        doc->InvalidatePreviewViews();
        doc->InvalidateTableViews();
    }
}

void CTableTabView::addTableTab()
{
    CVorteplanSoftLabelDoc& doc = *m_context.document;
    const int addTab = GetTabCount() - 1;
    const int count = doc.GetTableCount();
    if (count >= kMaxTables) {
        // Nothing is added; the tab of the current table stays chosen.
        SetActiveTab(std::min(doc.GetCurrentTableIndex(), addTab - 1));
        return;
    }
    doc.AddTableTab(); // the document tells this view (TabAdded, TabActivated)
}

void CTableTabView::TabAdded(TabKind kind, int index, const std::string& label)
{
    if (kind != TabKind::Table)
        return;
    InsertTab(std::clamp(index, 0, std::max(GetTabCount() - 1, 0)), labelFor(index, label));
}

void CTableTabView::TabRemoved(TabKind kind, int index)
{
    const int addTab = GetTabCount() - 1;
    if (kind != TabKind::Table || index < 0 || index >= addTab)
        return;
    RemoveTab(index);
    const int next = std::min(index, GetTabCount() - 2);
    if (next < 0)
        return;
    activate(next);
    if (CVorteplanSoftLabelDoc* doc = m_context.document) {
        doc->InvalidateDesignViews();
        doc->InvalidatePreviewViews();
        doc->InvalidateTableViews();
    }
}

void CTableTabView::TabActivated(TabKind kind, int index)
{
    if (kind == TabKind::Table && index >= 0 && index < GetTabCount() - 1)
        activate(index);
}

void CTableTabView::TabLabelsChanged(TabKind kind)
{
    if (kind != TabKind::Table || !m_context.document)
        return;
    for (int k = 0; k < GetTabCount() - 1; ++k) {
        const std::string& name = m_context.document->GetTableName(k);
        if (!name.empty())
            SetTabText(k, codepage::ToUnicode(name));
    }
}
