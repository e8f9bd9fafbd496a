#include "tables/import/textimportfixedlengthpropertypage.h"

#include "platform/numberformat.h"
#include "tables/grid/gridctrl.h"

#include <algorithm>

#include <QVBoxLayout>

CTextImportFixedLengthPropertyPage::CTextImportFixedLengthPropertyPage(QWidget* parent)
    : QWidget(parent), m_grid(new CGridCtrl(this, this))
{
    m_widths.fill(-1);
    m_grid->setObjectName(QStringLiteral("widths"));
    m_grid->SetVirtualMode(true);
    m_grid->SetEditable(true);
    m_grid->SetAutoSizeStyle(1);
    m_grid->SetFixedRowSelection(false);
    m_grid->SetFixedColumnSelection(false);
    m_grid->SetRowCount(kColumns);
    m_grid->SetColumnCount(2);
    m_grid->SetFixedRowCount(0);
    m_grid->SetFixedColumnCount(1);
    m_grid->SetColumnWidth(0, 66);
    m_grid->SetColumnWidth(1, 56);
    m_grid->ResetScrollBars();
    // As wide as its two columns and a scroll bar, about a dozen rows high.
    const QSize all = m_grid->ContentSize(QSize(4096, 4096), true);
    m_grid->setFixedWidth(all.width() + 4);
    m_grid->setMinimumHeight(std::min(all.height(), 12 * 20));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
}

CTextImportFixedLengthPropertyPage::~CTextImportFixedLengthPropertyPage()
{
    // The grid asks its owner while it goes; let it go first.
    delete m_grid;
}

void CTextImportFixedLengthPropertyPage::SetWidths(const Widths& widths)
{
    m_widths = widths;
    m_grid->viewport()->update();
}

int CTextImportFixedLengthPropertyPage::GetDispInfo(int row, int column, std::string& text)
{
    if (row < 0 || row >= kColumns)
        return 0;
    if (column == 0)
        text = std::string(1, char('A' + row));
    else if (column == 1 && m_widths[size_t(row)] != -1)
        text = std::to_string(m_widths[size_t(row)]);
    return 0;
}

// An empty text: the column is not imported; a text beginning with a
// number: that width; anything else leaves the width as it was.
int CTextImportFixedLengthPropertyPage::EndLabelEdit(int row, int column, const std::string& text)
{
    if (row < 0 || row >= kColumns || column != 1)
        return 0;
    if (text.empty())
        m_widths[size_t(row)] = -1;
    else if (const std::optional<int32_t> width = numfmt::ScanInt(std::string_view(text).substr(0, 256)))
        m_widths[size_t(row)] = *width;
    return 0;
}
