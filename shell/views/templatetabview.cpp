#include "shell/views/templatetabview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "shell/views/labelview.h"
#include "shell/views/templateview.h"

namespace {

const QString kAddTab = QStringLiteral("+");
const QString kTemplate = QStringLiteral("Template");

} // namespace

QString MakeUniqueTabLabel(const QString& base, const CTabView& view, int n)
{
    for (;; ++n) {
        const QString text = QStringLiteral("%1 %2").arg(base).arg(n);
        bool taken = false;
        for (int i = 0; i < view.GetTabCount() && !taken; ++i)
            taken = view.GetTabText(i) == text;
        if (!taken)
            return text;
    }
}

CTemplateTabView::CTemplateTabView(const CProjectViewContext& context, Layout layout, QWidget* parent)
    : CDocumentTabView(TabKind::Template, context, parent), m_layout(std::move(layout))
{
}

QString CTemplateTabView::labelFor(int slot, const std::string& given)
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    std::string name = given.empty() && doc ? doc->GetTemplateName(slot) : given;
    if (!name.empty())
        return codepage::ToUnicode(name);
    const QString label = MakeUniqueTabLabel(kTemplate, *this, slot + 1);
    // The document keeps the tab texts (they are saved with the project).
    if (doc)
        doc->SetTemplateName(slot, codepage::FromUnicode(label));
    return label;
}

void CTemplateTabView::CreateTabs()
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    const int count = doc ? doc->GetTemplateCount() : kNewDocumentTabs;
    for (int k = 0; k < count; ++k)
        InsertTab(k, labelFor(k, {}));
    InsertTab(count, kAddTab);
    activate(0);
}

CVorteplanSoftTemplateView* CTemplateTabView::GetTemplateView(int index)
{
    return qobject_cast<CVorteplanSoftTemplateView*>(GetPage(index));
}

QWidget* CTemplateTabView::CreatePage(int /*index*/)
{
    return new CVorteplanSoftTemplateView(m_context);
}

void CTemplateTabView::OnActivateView(int index)
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    if (!doc || index < 0)
        return;
    if (index == GetTabCount() - 1) {
        addTemplateTab();
        return;
    }
    if (index != doc->GetCurrentTemplateIndex()) {
        doc->SetCurrentTemplate(index);
        doc->InvalidateDesignViews();
        doc->InvalidatePreviewViews();
    }
    if (m_layout.isStacked && m_layout.switchLayout && (doc->GetStackedLayout(index) != 0) != m_layout.isStacked())
        m_layout.switchLayout();
    // The shown template's design view takes over as the active view.
    if (CVorteplanSoftTemplateView* view = GetTemplateView(index))
        if (view->GetLabelView())
            view->GetLabelView()->ActivateDesignView();
}

void CTemplateTabView::PageAboutToShow(int index)
{
    CVorteplanSoftLabelDoc* doc = m_context.document;
    if (!doc || index < 0 || index >= GetTabCount() - 1 || index == doc->GetCurrentTemplateIndex())
        return;
    doc->SetCurrentTemplate(index);
    doc->InvalidateDesignViews();
    doc->InvalidatePreviewViews();
}

void CTemplateTabView::addTemplateTab()
{
    // The document adds the template and tells this view (TabAdded,
    // TabActivated), or activates the tab before the add tab when full.
    m_context.document->AddTemplateTab();
}

std::string CTemplateTabView::storedName(int slot) const
{
    return m_context.document ? m_context.document->GetTemplateName(slot) : std::string();
}

void CTemplateTabView::repaintAfterRemoval(CVorteplanSoftLabelDoc& doc)
{
    doc.InvalidateDesignViews();
    doc.InvalidatePreviewViews();
}
