#include "shell/printprogressdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CPrintProgressDialog::CPrintProgressDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Printing"));
    setModal(true);
    m_page = new QLabel(this);
    m_labels = new QLabel(this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addWidget(m_labels);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });
    SetProgress(1, 0);
}

void CPrintProgressDialog::SetProgress(int page, int labels)
{
    m_page->setText(tr("Page %1").arg(page));
    m_labels->setText(tr("Labels printed: %1").arg(labels));
}

QString CPrintProgressDialog::PageText() const
{
    return m_page->text();
}

QString CPrintProgressDialog::LabelText() const
{
    return m_labels->text();
}

void CPrintProgressDialog::reject()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
}
