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
    : CDocumentTabView(TabKind::Table, context, parent), m_mainView(mainView)
{
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
    // The chosen table's view takes over as the active view.
    if (auto* page = qobject_cast<CTablePage*>(PeekPage(index)))
        page->Activate();
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

std::string CTableTabView::storedName(int slot) const
{
    return m_context.document ? m_context.document->GetTableName(slot) : std::string();
}

void CTableTabView::repaintAfterRemoval(CVorteplanSoftLabelDoc& doc)
{
    doc.InvalidateDesignViews();
    doc.InvalidatePreviewViews();
    doc.InvalidateTableViews();
}
