#include "shell/views/tabview.h"

#include <QFontMetrics>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

CTabView::CTabView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabBar = new QTabBar(this);
    m_tabBar->setExpanding(false);
    m_tabBar->setUsesScrollButtons(true);
    m_stack = new QStackedWidget(this);
    layout->addWidget(m_tabBar);
    layout->addWidget(m_stack, 1);
    connect(m_tabBar, &QTabBar::currentChanged, this, &CTabView::userChanged);
    // Choosing the tab that is already active runs the activation too.
    connect(m_tabBar, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == m_tabBar->currentIndex())
            OnActivateView(index);
    });
}

CTabView::~CTabView() = default;

int CTabView::GetTabCount() const
{
    return m_tabBar->count();
}

int CTabView::GetActiveTab() const
{
    return m_tabBar->currentIndex();
}

QString CTabView::GetTabText(int index) const
{
    if (index < 0 || index >= int(m_texts.size()))
        return {};
    return m_texts[size_t(index)];
}

void CTabView::SetTabText(int index, const QString& text)
{
    if (index < 0 || index >= GetTabCount() || m_texts[size_t(index)] == text)
        return;
    m_texts[size_t(index)] = text;
    m_tabBar->setTabText(index, shownText(text));
}

QString CTabView::shownText(const QString& text)
{
    // Short texts fit whatever their characters.
    if (text.size() <= kMaxShownChars / 2)
        return text;
    ++m_measured;
    const QFontMetrics metrics = m_tabBar->fontMetrics();
    const int width = metrics.averageCharWidth() * kMaxShownChars;
    // Only the start can be shown: the rest is never measured.
    const qsizetype keep = 2 * kMaxShownChars;
    if (text.size() <= keep)
        return metrics.elidedText(text, Qt::ElideRight, width);
    const QString start = text.left(keep);
    const QString shown = metrics.elidedText(start, Qt::ElideRight, width);
    return shown == start ? start.left(keep - 1) + QChar(0x2026) : shown;
}

QWidget* CTabView::PeekPage(int index) const
{
    if (index < 0 || index >= int(m_pages.size()))
        return nullptr;
    return m_pages[size_t(index)].data();
}

QWidget* CTabView::GetPage(int index)
{
    if (index < 0 || index >= int(m_pages.size()))
        return nullptr;
    QPointer<QWidget>& page = m_pages[size_t(index)];
    if (!page) {
        page = CreatePage(index);
        if (page)
            m_stack->addWidget(page);
    }
    return page.data();
}

void CTabView::InsertTab(int index, const QString& text)
{
    index = std::clamp(index, 0, GetTabCount());
    {
        const QSignalBlocker block(m_tabBar);
        m_tabBar->insertTab(index, shownText(text));
    }
    m_texts.insert(m_texts.begin() + index, text);
    // A hidden tab bar does not tell its layout that it needs room now.
    m_tabBar->updateGeometry();
    m_pages.insert(m_pages.begin() + index, QPointer<QWidget>());
    ShowActivePage();
}

void CTabView::RemoveTab(int index)
{
    if (index < 0 || index >= GetTabCount())
        return;
    {
        const QSignalBlocker block(m_tabBar);
        m_tabBar->removeTab(index);
    }
    m_texts.erase(m_texts.begin() + index);
    m_tabBar->updateGeometry();
    if (QWidget* page = m_pages[size_t(index)].data()) {
        m_stack->removeWidget(page);
        page->hide();
        page->deleteLater();
    }
    m_pages.erase(m_pages.begin() + index);
    ShowActivePage();
}

void CTabView::SetActiveTab(int index)
{
    if (index < 0 || index >= GetTabCount())
        return;
    {
        const QSignalBlocker block(m_tabBar);
        m_tabBar->setCurrentIndex(index);
    }
    ShowActivePage();
}

void CTabView::ShowActivePage()
{
    PageAboutToShow(GetActiveTab());
    if (QWidget* page = GetPage(GetActiveTab()))
        m_stack->setCurrentWidget(page);
}

void CTabView::PostReactivate()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (GetActiveTab() >= 0)
                OnActivateView(GetActiveTab());
        },
        Qt::QueuedConnection);
}

void CTabView::userChanged(int index)
{
    ShowActivePage();
    if (index >= 0)
        OnActivateView(index);
}
