#include "shell/labelarticlenodlg.h"

#include "document/label/label.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/codepagevalidator.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

CLabelArticleNoDlg::CLabelArticleNoDlg(CLabel& label, QWidget* parent)
    : QDialog(parent), m_label(label)
{
    setWindowTitle(QStringLiteral("Enter article number"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("all"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("new"));
    m_edit->setMaxLength(kMaxEdit);
    m_edit->setValidator(new CCodePageValidator(m_edit));
    auto* allLabel = new QLabel(QStringLiteral("All"), this);
    allLabel->setBuddy(m_list);
    auto* newLabel = new QLabel(QStringLiteral("New"), this);
    newLabel->setBuddy(m_edit);
    m_add = new QPushButton(QStringLiteral("Add"), this);
    m_delete = new QPushButton(QStringLiteral("Delete"), this);
    m_add->setObjectName(QStringLiteral("add"));
    m_delete->setObjectName(QStringLiteral("delete"));
    m_add->setAutoDefault(false);
    m_delete->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, &CLabelArticleNoDlg::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CLabelArticleNoDlg::OnDelete);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(allLabel, 0, 0);
    layout->addWidget(newLabel, 0, 1);
    layout->addWidget(m_list, 1, 0, 3, 1);
    layout->addWidget(m_edit, 1, 1);
    layout->addWidget(m_add, 2, 1);
    layout->addWidget(m_delete, 3, 1, Qt::AlignTop);
    layout->addWidget(buttons, 4, 0, 1, 2);
    setTabOrder(m_edit, m_add);
    setTabOrder(m_add, m_list);
    setTabOrder(m_list, m_delete);
    setTabOrder(m_delete, buttons);

    fillList();
    m_edit->setFocus();
}

void CLabelArticleNoDlg::fillList()
{
    m_list->clear();
    const int count = m_label.GetArticleNumberCount();
    for (int i = 0; i < count; ++i)
        m_list->addItem(codepage::ToUnicode(m_label.GetArticleNumber(i)));
}

void CLabelArticleNoDlg::OnAdd()
{
    if (m_label.AddArticleNumber(codepage::FromUnicode(m_edit->text()))) {
        m_edit->clear();
        fillList();
    } else {
        Ui().Beep();
    }
}

void CLabelArticleNoDlg::OnDelete()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int index = m_list->row(selected.front());
    if (index >= 0 && index < m_label.GetArticleNumberCount()
        && m_label.RemoveArticleNumber(m_label.GetArticleNumber(index))) {
        fillList();
    } else {
        Ui().Beep();
    }
}
