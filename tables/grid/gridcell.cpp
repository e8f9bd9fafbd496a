#include "tables/grid/gridcell.h"

#include "tables/grid/gridctrl.h"
#include "tables/grid/griddefaultcell.h"
#include "tables/grid/gridinplaceedit.h"

void CGridCell::SetFont(const LOGFONTA* font)
{
    if (font && m_font)
        *m_font = *font;
    else if (font)
        m_font = std::make_unique<LOGFONTA>(*font);
    else
        m_font.reset();
}

uint32_t CGridCell::GetFormat() const
{
    if (m_format == ~0u) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? def->GetFormat() : 0;
    }
    return m_format;
}

int CGridCell::GetMargin() const
{
    if (m_margin == -1) {
        const CGridDefaultCell* def = GetDefaultCell();
        return def ? def->GetMargin() : 0;
    }
    return m_margin;
}

const LOGFONTA* CGridCell::GetFont() const
{
    if (m_font)
        return m_font.get();
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFont() : nullptr;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_text.clear();
    m_data = 0;
    m_image = -1;
    m_format = ~0u;
    m_textClr = CLR_DEFAULT;
    m_backClr = CLR_DEFAULT;
    m_font.reset();
    m_margin = -1;
    m_editing = false;
    m_editWnd = nullptr;
}

bool CGridCell::Edit(int row, int col, const RECT& rect, QPoint /*point*/, const CEditStart& start)
{
    if (m_editing) {
        if (auto* edit = qobject_cast<CGridInPlaceEdit*>(m_editWnd))
            edit->TypeStart(start);
        return true;
    }
    if (!m_grid)
        return false;
    m_editing = true;
    const uint32_t format = GetFormat();
    Qt::Alignment align = Qt::AlignLeft;
    if (format & DT_RIGHT)
        align = Qt::AlignRight;
    else if (format & DT_CENTER)
        align = Qt::AlignHCenter;
    m_editWnd = new CGridInPlaceEdit(m_grid, rect, align, row, col, GetText(), start);
    return true;
}

void CGridCell::EndEdit()
{
    if (auto* edit = qobject_cast<CGridInPlaceEdit*>(m_editWnd))
        edit->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_editing = false;
    m_editWnd = nullptr;
}
