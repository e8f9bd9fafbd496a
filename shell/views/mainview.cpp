#include "shell/views/mainview.h"

#include "document/project/projectdoc.h"
#include "shell/frame/commandrouter.h"
#include "shell/views/labelview.h"
#include "shell/views/tabletabview.h"
#include "shell/views/templateview.h"
#include "shell/views/templatetabview.h"

#include <QPointer>
#include <QResizeEvent>
#include <QSplitter>

CVorteplanSoftMainView::CVorteplanSoftMainView(const CProjectViewContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    // Design views pass "Show windows stacked" on to this view and remember
    // the layout for their template.
    m_context.createCanvas = [this, create = m_context.createCanvas](QWidget* parent) -> QWidget* {
        QWidget* canvas = create ? create(parent) : nullptr;
        if (auto* target = dynamic_cast<CCmdTarget*>(canvas))
            RegisterStackedCommand(*target, this, true);
        return canvas;
    };
    CVorteplanSoftLabelDoc* doc = m_context.document;
    m_bStackedLayout = doc && doc->GetStackedLayout(0) != 0;
    m_pSplitter = new QSplitter(this);
    m_pSplitter->setObjectName(QStringLiteral("Splitter"));
    m_pSplitter->setChildrenCollapsible(false);
    CTemplateTabView::Layout layout;
    layout.isStacked = [this] { return m_bStackedLayout; };
    layout.switchLayout = [this] { OnShowStacked(); };
    m_templateTabs = new CTemplateTabView(m_context, layout, m_pSplitter);
    m_tableTabs = new CTableTabView(m_context, this, m_pSplitter);
    m_templateTabs->setMinimumSize(kMinimumPane, kMinimumPane);
    m_tableTabs->setMinimumSize(kMinimumPane, kMinimumPane);
    m_pSplitter->addWidget(m_templateTabs);
    m_pSplitter->addWidget(m_tableTabs);
    applyLayout();
    m_tableTabs->CreateTabs();
    m_templateTabs->CreateTabs();
    // The current template's design view is the active view from the start,
    // so its commands are enabled before the first click.
    if (CVorteplanSoftTemplateView* view = m_templateTabs->GetTemplateView(m_templateTabs->GetActiveTab()))
        if (view->GetLabelView())
            view->GetLabelView()->ActivateDesignView();
}

CVorteplanSoftMainView::~CVorteplanSoftMainView() = default;

void CVorteplanSoftMainView::applyLayout()
{
    m_pSplitter->setOrientation(m_bStackedLayout ? Qt::Vertical : Qt::Horizontal);
    const int extent = m_bStackedLayout ? height() : width();
    const int half = extent / 2;
    if (half != 0)
        m_pSplitter->setSizes({std::max(half, kMinimumPane), std::max(extent - half, kMinimumPane)});
}

void CVorteplanSoftMainView::OnShowStacked()
{
    m_bStackedLayout = !m_bStackedLayout;
    applyLayout();
}

void CVorteplanSoftMainView::ShowStackedFromView(bool rememberForTemplate)
{
    OnShowStacked();
    if (!rememberForTemplate || !m_context.document)
        return;
    CVorteplanSoftLabelDoc& doc = *m_context.document;
    const int current = doc.GetCurrentTemplateIndex();
    doc.SetStackedLayout(current, doc.GetStackedLayout(current) ? 0 : 1);
}

void CVorteplanSoftMainView::RegisterStackedCommand(CCmdTarget& view, CVorteplanSoftMainView* mainView,
                                                    bool rememberForTemplate)
{
    const QPointer<CVorteplanSoftMainView> main(mainView);
    view.OnCommand(kShowStacked, [main, rememberForTemplate] {
        if (main)
            main->ShowStackedFromView(rememberForTemplate);
    }, [main](CCmdUI& ui) {
        ui.Enable(main != nullptr);
        ui.SetCheck(main && main->IsStackedLayout() ? 1 : 0);
    });
}

void CVorteplanSoftMainView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pSplitter->setGeometry(rect());
    applyLayout();
}
