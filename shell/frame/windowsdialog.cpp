#include "shell/frame/windowsdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

CWindowsDialog::CWindowsDialog(QMdiArea* area, QWidget* parent) : QDialog(parent), m_area(area)
{
    setWindowTitle(QStringLiteral("Windows"));
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* activate = new QPushButton(QStringLiteral("&Activate"), this);
    auto* closeButton = new QPushButton(QStringLiteral("&Close Window(s)"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(activate, &QPushButton::clicked, this, &CWindowsDialog::ActivateSelected);
    connect(closeButton, &QPushButton::clicked, this, &CWindowsDialog::CloseSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CWindowsDialog::ActivateSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(activate);
    side->addWidget(closeButton);
    side->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    fill();
}

void CWindowsDialog::fill()
{
    m_list->clear();
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        if (window->isHidden()) // closed, not yet gone
            continue;
        auto* item = new QListWidgetItem(window->windowTitle(), m_list);
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<QObject*>(window)));
        if (window == m_area->activeSubWindow())
            m_list->setCurrentItem(item);
    }
}

void CWindowsDialog::ActivateSelected()
{
    // The item with the focus when it is chosen, else the first chosen.
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        const QList<QListWidgetItem*> chosen = m_list->selectedItems();
        if (chosen.isEmpty())
            return;
        item = chosen.front();
    }
    if (auto* window = qobject_cast<QMdiSubWindow*>(item->data(Qt::UserRole).value<QObject*>()))
        m_area->setActiveSubWindow(window);
    accept();
}

void CWindowsDialog::CloseSelected()
{
    std::vector<QPointer<QMdiSubWindow>> windows;
    for (QListWidgetItem* item : m_list->selectedItems())
        windows.emplace_back(qobject_cast<QMdiSubWindow*>(item->data(Qt::UserRole).value<QObject*>()));
    for (const QPointer<QMdiSubWindow>& window : windows)
        if (window)
            window->close();
    fill();
}
