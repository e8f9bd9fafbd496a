#include "shell/frame/ribbonpage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 3;
constexpr int kSpacing = 3;

} // namespace

CRibbonPage::CRibbonPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ribbonPage"));
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_layout->setSpacing(kSpacing);
    m_layout->addStretch(1);
}

void CRibbonPage::AddPanel(QFrame* panel, const QString& title, const QIcon& icon)
{
    Entry entry;
    entry.frame = panel;
    panel->setParent(this);
    m_layout->insertWidget(m_layout->count() - 1, panel);

    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("collapsedPanel"));
    button->setProperty("panel", title);
    button->setText(title);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setToolTip(title);
    button->hide();
    m_layout->insertWidget(m_layout->count() - 1, button);
    entry.button = button;

    auto* popup = new QFrame(this, Qt::Popup);
    popup->setObjectName(QStringLiteral("collapsedPanelPopup"));
    popup->setFrameShape(QFrame::StyledPanel);
    popup->setAutoFillBackground(true);
    auto* popupLayout = new QVBoxLayout(popup);
    popupLayout->setContentsMargins(2, 2, 2, 2);
    entry.popup = popup;

    const int index = int(m_panels.size());
    connect(button, &QToolButton::clicked, this, [this, index] { ShowCollapsedPanel(index); });
    m_panels.push_back(entry);
    m_panels.back().width = panel->sizeHint().width();
}

void CRibbonPage::setCollapsed(Entry& entry, bool collapsed)
{
    if (entry.collapsed == collapsed)
        return;
    entry.collapsed = collapsed;
    const int at = m_layout->indexOf(collapsed ? static_cast<QWidget*>(entry.frame) : entry.button);
    if (collapsed) {
        m_layout->removeWidget(entry.frame);
        entry.popup->layout()->addWidget(entry.frame);
        entry.frame->show();
        entry.button->show();
    } else {
        entry.popup->hide();
        entry.popup->layout()->removeWidget(entry.frame);
        entry.frame->setParent(this);
        m_layout->insertWidget(at >= 0 ? at : m_layout->count() - 1, entry.frame);
        entry.frame->show();
        entry.button->hide();
    }
}

int CRibbonPage::ExpandedWidth() const
{
    int width = 2 * kMargin;
    for (const Entry& entry : m_panels)
        width += entry.width + kSpacing;
    return width;
}

void CRibbonPage::Relayout()
{
    if (m_relaying || m_panels.empty())
        return;
    m_relaying = true;
    // Panels keep the width they had when shown; a collapsed one counts its
    // button instead.
    for (Entry& entry : m_panels)
        if (!entry.collapsed)
            entry.width = std::max(entry.width, entry.frame->sizeHint().width());
    const int room = width();
    int needed = ExpandedWidth();
    std::vector<bool> collapse(m_panels.size(), false);
    for (size_t i = m_panels.size(); i-- > 0 && needed > room;) {
        collapse[i] = true;
        needed += m_panels[i].button->sizeHint().width() - m_panels[i].width;
    }
    for (size_t i = 0; i < m_panels.size(); ++i)
        setCollapsed(m_panels[i], collapse[i]);
    m_relaying = false;
}

void CRibbonPage::ShowCollapsedPanel(int i)
{
    if (i < 0 || size_t(i) >= m_panels.size() || !m_panels[size_t(i)].collapsed)
        return;
    Entry& entry = m_panels[size_t(i)];
    entry.popup->adjustSize();
    QPoint at = entry.button->mapToGlobal(QPoint(0, entry.button->height()));
    if (const QScreen* screen = entry.button->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - entry.popup->width())));
    }
    entry.popup->move(at);
    entry.popup->show();
}

QSize CRibbonPage::sizeHint() const
{
    int height = 0;
    for (const Entry& entry : m_panels)
        height = std::max(height, entry.frame->sizeHint().height());
    return {ExpandedWidth(), height + 2 * kMargin};
}

QSize CRibbonPage::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void CRibbonPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}
