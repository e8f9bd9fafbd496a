#include "tables/import/excelselectsheetdlg.h"

#include "platform/codepage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

CExcelSelectSheetDlg::CExcelSelectSheetDlg(QWidget* parent, int codePage)
    : QDialog(parent), m_list(new QListWidget(this)), m_codePage(codePage)
{
    setWindowTitle(QStringLiteral("Select Excel worksheet "));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Worksheet"), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

std::optional<int> CExcelSelectSheetDlg::ChooseSheet(const std::vector<std::string>& names)
{
    m_list->clear();
    for (const std::string& name : names)
        m_list->addItem(codepage::ToUnicode(name, m_codePage));
    m_index = 0;
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_index;
}

void CExcelSelectSheetDlg::accept()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return; // stays open
    m_index = m_list->row(selected.first());
    QDialog::accept();
}
