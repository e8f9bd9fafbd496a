#include "tables/import/textimportformatpropertypage.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

CTextImportFormatPropertyPage::CTextImportFormatPropertyPage(QWidget* parent)
    : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto* delimited = new QRadioButton(QStringLiteral("Delimited"), this);
    auto* fixed = new QRadioButton(QStringLiteral("Fixed length"), this);
    delimited->setObjectName(QStringLiteral("delimited"));
    fixed->setObjectName(QStringLiteral("fixedLength"));
    m_group->addButton(delimited, Delimited);
    m_group->addButton(fixed, FixedLength);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(delimited);
    layout->addWidget(fixed);
    layout->addStretch();
    delimited->setChecked(true);
}

void CTextImportFormatPropertyPage::SetFormat(int format)
{
    m_group->button(format == FixedLength ? FixedLength : Delimited)->setChecked(true);
}

int CTextImportFormatPropertyPage::GetFormat() const
{
    return m_group->checkedId() == FixedLength ? FixedLength : Delimited;
}
