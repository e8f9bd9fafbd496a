#include "tables/dialogs/tablerepeatdlg.h"

#include "platform/codepage.h"
#include "tables/dialogs/dataexchange.h"
#include "tables/dialogs/updownctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include <algorithm>

CTableRepeatDlg::CTableRepeatDlg(QWidget* parent, int codePage)
    : QDialog(parent), m_codePage(codePage), m_columnBox(new QComboBox(this)), m_rowEdit(new QLineEdit(this)),
      m_copiesEdit(new QLineEdit(this)), m_textEdit(new QLineEdit(this)),
      m_insertBox(new QCheckBox(QStringLiteral("Insert"), this)), m_rowSpin(new CUpDownCtrl(this)),
      m_copiesSpin(new CUpDownCtrl(this))
{
    setWindowTitle(QStringLiteral("Repeat"));
    m_columnBox->setEditable(true);
    for (char c = 'A'; c <= 'Z'; ++c)
        m_columnBox->addItem(QString(QChar(c)));
    m_columnBox->lineEdit()->setMaxLength(1);
    m_columnBox->setObjectName(QStringLiteral("column"));
    m_rowEdit->setObjectName(QStringLiteral("row"));
    m_copiesEdit->setObjectName(QStringLiteral("copies"));
    m_textEdit->setObjectName(QStringLiteral("text"));
    m_insertBox->setObjectName(QStringLiteral("insert"));
    m_rowSpin->setObjectName(QStringLiteral("rowArrows"));
    m_copiesSpin->setObjectName(QStringLiteral("copiesArrows"));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Column"), m_columnBox);
    form->addRow(QStringLiteral("Row"), WithArrows(this, m_rowEdit, m_rowSpin));
    form->addRow(QStringLiteral("Copies"), WithArrows(this, m_copiesEdit, m_copiesSpin));
    form->addRow(QStringLiteral("Text"), m_textEdit);
    form->addRow(QString(), m_insertBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    connect(m_rowSpin, &CUpDownCtrl::stepped, this, [this](int d) { stepField(m_rowEdit, d); });
    connect(m_copiesSpin, &CUpDownCtrl::stepped, this, [this](int d) { stepField(m_copiesEdit, d); });

    SetRow(m_row);
    SetCopies(m_copies);
}

void CTableRepeatDlg::SetColumn(const std::string& letter)
{
    m_column = letter.substr(0, 1);
    m_columnBox->setCurrentText(codepage::ToUnicode(m_column, m_codePage));
}

void CTableRepeatDlg::SetRow(int32_t row)
{
    m_row = row;
    m_rowEdit->setText(QString::number(row));
}

void CTableRepeatDlg::SetCopies(int32_t copies)
{
    m_copies = copies;
    m_copiesEdit->setText(QString::number(copies));
}

void CTableRepeatDlg::SetText(const std::string& text)
{
    m_text = text;
    m_textEdit->setText(codepage::ToUnicode(text, m_codePage));
}

void CTableRepeatDlg::SetInsert(bool on)
{
    m_insert = on;
    m_insertBox->setChecked(on);
}

// The field read as a signed number (0 when it holds none), stepped, and
// never below 1.
void CTableRepeatDlg::stepField(QLineEdit* field, int delta)
{
    const int64_t value = dataexchange::ParseInteger(field->text()).value_or(0);
    field->setText(QString::number(std::clamp<int64_t>(value + delta, 1, INT32_MAX)));
}

bool CTableRepeatDlg::ExchangeData()
{
    const std::optional<int32_t> row = dataexchange::ExchangeInteger(m_rowEdit, 1, kMaxValue);
    if (!row)
        return false;
    const std::optional<int32_t> copies = dataexchange::ExchangeInteger(m_copiesEdit, 1, kMaxValue);
    if (!copies)
        return false;
    m_column = codepage::FromUnicode(m_columnBox->currentText().left(1), m_codePage);
    m_row = *row;
    m_copies = *copies;
    m_text = codepage::FromUnicode(m_textEdit->text(), m_codePage);
    m_insert = m_insertBox->isChecked();
    return true;
}

void CTableRepeatDlg::accept()
{
    if (ExchangeData())
        QDialog::accept();
}
