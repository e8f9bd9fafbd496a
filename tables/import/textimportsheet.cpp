#include "tables/import/textimportsheet.h"

#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/import/textimportcharactersetpropertypage.h"
#include "tables/import/textimportdelimiterpropertypage.h"
#include "tables/import/textimportfixedlengthpropertypage.h"
#include "tables/import/textimportformatpropertypage.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

CTextImportSheet::CTextImportSheet(int tableCodePage, QWidget* parent)
    : QDialog(parent), m_tableCodePage(tableCodePage), m_tabs(new QTabWidget(this)),
      m_format(new CTextImportFormatPropertyPage), m_delimiter(new CTextImportDelimiterPropertyPage),
      m_fixedLength(new CTextImportFixedLengthPropertyPage), m_charSet(new CTextImportCharacterSetPropertyPage),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Text import"));
    // Every tab shows whole; the sheet is as wide as they are.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->addTab(m_format, QStringLiteral("Format"));
    m_tabs->addTab(m_delimiter, QStringLiteral("Delimiter"));
    m_tabs->addTab(m_fixedLength, QStringLiteral("Fixed length"));
    m_tabs->addTab(m_charSet, QStringLiteral("Character set"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void CTextImportSheet::Load(const textimport::Options& options)
{
    m_format->SetFormat(options.fixedWidth ? CTextImportFormatPropertyPage::FixedLength
                                           : CTextImportFormatPropertyPage::Delimited);
    m_charSet->SetCharacterSet(options.charSet);
    m_delimiter->SetDelimiterChar(options.delimiter, fileCodePage());
    CTextImportFixedLengthPropertyPage::Widths widths;
    for (size_t c = 0; c < widths.size(); ++c)
        widths[c] = options.widths[c] == textimport::kNoWidth ? -1 : int32_t(options.widths[c]);
    m_fixedLength->SetWidths(widths);
    m_delimiterChar = options.delimiter;
}

int CTextImportSheet::fileCodePage() const
{
    return m_charSet->GetCharacterSet() == textimport::kCharSetOem ? codepage::kOem : m_tableCodePage;
}

std::array<int32_t, textimport::kColumns> CTextImportSheet::TypedWidths() const
{
    return m_fixedLength->GetWidths();
}

textimport::Options CTextImportSheet::Result() const
{
    textimport::Options o;
    o.fixedWidth = m_format->GetFormat() == CTextImportFormatPropertyPage::FixedLength;
    o.delimiter = m_delimiterChar;
    const auto typed = TypedWidths();
    for (size_t c = 0; c < typed.size(); ++c)
        o.widths[c] = typed[c] < 0 ? textimport::kNoWidth : uint32_t(typed[c]);
    o.charSet = m_charSet->GetCharacterSet();
    return o;
}

void CTextImportSheet::accept()
{
    m_fixedLength->Grid()->EndEditing();
    if (m_format->GetFormat() == CTextImportFormatPropertyPage::Delimited) {
        const std::optional<char> delimiter = m_delimiter->GetDelimiterChar(fileCodePage());
        if (!delimiter) {
            Ui().Beep();
            m_tabs->setCurrentWidget(m_delimiter);
            m_delimiter->OtherEdit()->setFocus(Qt::OtherFocusReason);
            m_delimiter->OtherEdit()->selectAll();
            return;
        }
        m_delimiterChar = *delimiter;
    }
    QDialog::accept();
}
