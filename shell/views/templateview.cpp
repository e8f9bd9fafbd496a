#include "shell/views/templateview.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/frame/commandrouter.h"
#include "shell/views/labelpreview.h"
#include "shell/views/labelview.h"

#include <QCloseEvent>
#include <QResizeEvent>

namespace {

constexpr int kDefaultRowHeight = 300;

CDocView* canvasDocView(CVorteplanSoftTemplateView* view)
{
    return view && view->GetLabelView() ? dynamic_cast<CDocView*>(view->GetLabelView()->GetDesignView()) : nullptr;
}

} // namespace

CVorteplanSoftTemplateView::CVorteplanSoftTemplateView(const CProjectViewContext& context, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), m_context(context)
{
    setObjectName(QStringLiteral("Splitter"));
    setChildrenCollapsible(false);
    m_labelView = new CVorteplanSoftLabelView(m_context, this);
    CLabelPreview::Links links;
    links.ribbon = m_context.ribbon;
    links.menus = m_context.menus;
    links.activate = m_context.activate;
    m_preview = new CLabelPreview(m_context.document, links, this);
    addWidget(m_labelView);
    addWidget(m_preview);
    m_labelView->setMinimumHeight(kMinimumRow);
    m_preview->setMinimumHeight(kMinimumRow);
    const int half = height() / 2;
    setSizes({half ? half : kDefaultRowHeight, half ? half : kDefaultRowHeight});
    AttachTemplateViewsToDocument(m_context.document, this);
}

CVorteplanSoftTemplateView::~CVorteplanSoftTemplateView()
{
    RemoveTemplateViewsFromDocument(m_context.document, this);
}

void CVorteplanSoftTemplateView::OnUpdate()
{
    if (CDocView* canvas = canvasDocView(this))
        canvas->Invalidate();
    m_preview->Invalidate();
}

void CVorteplanSoftTemplateView::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    const int half = event->size().height() / 2;
    if (half != 0)
        setSizes({std::max(half, kMinimumRow), std::max(event->size().height() - half, kMinimumRow)});
}

void CVorteplanSoftTemplateView::closeEvent(QCloseEvent* event)
{
    // The page is not closed: the application deletes the template (and
    // with it this tab) when the user agrees.
    event->ignore();
    if (parentWidget() && m_context.router)
        m_context.router->Route(cmd::kDeleteTemplate);
}

void AttachTemplateViewsToDocument(CVorteplanSoftLabelDoc* document, CVorteplanSoftTemplateView* view)
{
    if (!document || !view)
        return;
    if (CDocView* canvas = canvasDocView(view))
        document->AddView(canvas);
    document->AddView(view->GetPreview());
}

void RemoveTemplateViewsFromDocument(CVorteplanSoftLabelDoc* document, CVorteplanSoftTemplateView* view)
{
    if (!document || !view)
        return;
    if (CDocView* canvas = canvasDocView(view))
        document->RemoveView(canvas);
    document->RemoveView(view->GetPreview());
}
