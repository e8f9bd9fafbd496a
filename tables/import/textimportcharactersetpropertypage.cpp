#include "tables/import/textimportcharactersetpropertypage.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

CTextImportCharacterSetPropertyPage::CTextImportCharacterSetPropertyPage(QWidget* parent)
    : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto* ansi = new QRadioButton(QStringLiteral("ANSI"), this);
    auto* oem = new QRadioButton(QStringLiteral("OEM"), this);
    ansi->setObjectName(QStringLiteral("ansi"));
    oem->setObjectName(QStringLiteral("oem"));
    m_group->addButton(ansi, Ansi);
    m_group->addButton(oem, Oem);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ansi);
    layout->addWidget(oem);
    layout->addStretch();
    ansi->setChecked(true);
}

void CTextImportCharacterSetPropertyPage::SetCharacterSet(int charSet)
{
    m_group->button(charSet == Oem ? Oem : Ansi)->setChecked(true);
}

int CTextImportCharacterSetPropertyPage::GetCharacterSet() const
{
    return m_group->checkedId() == Oem ? Oem : Ansi;
}
