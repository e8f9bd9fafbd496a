#include "shell/views/tablepage.h"

#include "shell/tableviewcommandtarget.h"
#include "shell/views/mainview.h"
#include "tables/view/vorteplansofttableview.h"

#include <QEvent>
#include <QVBoxLayout>

CTablePage::CTablePage(const CProjectViewContext& context, CTableViewHost* host, CVorteplanSoftMainView* mainView,
                       QWidget* parent)
    : QWidget(parent), m_context(context)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new CVorteplanSoftTableView(m_context.document, host, this);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    m_target = std::make_unique<CTableViewCommandTarget>(*m_view);
    if (mainView)
        CVorteplanSoftMainView::RegisterStackedCommand(*m_target, mainView, false);
    // Focus moving to any child of the table view activates the page.
    m_view->installEventFilter(this);
    for (QWidget* child : m_view->findChildren<QWidget*>())
        child->installEventFilter(this);
}

CTablePage::~CTablePage()
{
    if (m_context.deactivate)
        m_context.deactivate(m_target.get());
    m_target.reset();
    delete m_view;
    m_view = nullptr;
}

void CTablePage::Activate()
{
    if (m_context.activate)
        m_context.activate(m_target.get());
    m_view->setFocus(Qt::OtherFocusReason);
}

bool CTablePage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && m_context.activate)
        m_context.activate(m_target.get());
    return QWidget::eventFilter(watched, event);
}
