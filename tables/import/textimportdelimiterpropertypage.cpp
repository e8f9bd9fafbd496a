#include "tables/import/textimportdelimiterpropertypage.h"

#include "platform/codepage.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CTextImportDelimiterPropertyPage::CTextImportDelimiterPropertyPage(QWidget* parent)
    : QWidget(parent), m_group(new QButtonGroup(this)), m_other(new QLineEdit(this))
{
    auto* comma = new QRadioButton(QStringLiteral("Comma"), this);
    auto* tab = new QRadioButton(QStringLiteral("TAB"), this);
    auto* other = new QRadioButton(QStringLiteral("Other"), this);
    comma->setObjectName(QStringLiteral("comma"));
    tab->setObjectName(QStringLiteral("tab"));
    other->setObjectName(QStringLiteral("other"));
    m_other->setObjectName(QStringLiteral("otherText"));
    m_group->addButton(comma, Comma);
    m_group->addButton(tab, Tab);
    m_group->addButton(other, Other);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(comma);
    layout->addWidget(tab);
    layout->addWidget(other);
    layout->addWidget(m_other);
    layout->addStretch();
    other->setChecked(true);
}

void CTextImportDelimiterPropertyPage::SetDelimiterChar(char delimiter, int codePage)
{
    if (delimiter == '\t') {
        m_group->button(Tab)->setChecked(true);
    } else if (delimiter == ',') {
        m_group->button(Comma)->setChecked(true);
    } else {
        m_group->button(Other)->setChecked(true);
        m_other->setText(delimiter ? codepage::ToUnicode(std::string(1, delimiter), codePage) : QString());
    }
}

int CTextImportDelimiterPropertyPage::GetChoice() const
{
    return m_group->checkedId();
}

std::optional<char> CTextImportDelimiterPropertyPage::GetDelimiterChar(int codePage) const
{
    switch (GetChoice()) {
    case Comma:
        return ',';
    case Tab:
        return '\t';
    case Other: {
        const QString text = m_other->text();
        if (text.isEmpty())
            return '\0';
        const QString first = text.left(text.at(0).isHighSurrogate() ? 2 : 1);
        const std::string bytes = codepage::FromUnicode(first, codePage);
        if (bytes.size() != 1 || codepage::ToUnicode(bytes, codePage) != first)
            return std::nullopt;
        return bytes[0];
    }
    default:
        return '\0';
    }
}
