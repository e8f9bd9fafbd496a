#include "tables/grid/gridcellbase.h"

#include "platform/dc.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/grid/griddefaultcell.h"

#include <QImage>

#include <algorithm>

namespace {

// A device context for measuring when the caller has none.
CDC& measuringDC()
{
    static QImage image(1, 1, QImage::Format_RGB32);
    static CDC dc(&image);
    return dc;
}

// The sort mark: a triangle standing on the bottom of `r`.
void drawSortMark(CDC& dc, const RECT& r, int size, bool ascending)
{
    const CPen shadow{PS_SOLID, 1, Ui().SystemColor(SystemColour::ButtonShadow)};
    const CPen light{PS_SOLID, 1, Ui().SystemColor(SystemColour::ButtonHighlight)};
    const int left = r.left, bottom = r.bottom - 1, top = bottom - size;
    const int mid = left + size / 2;
    for (int pass = 0; pass < 2; ++pass) {
        dc.SelectPen(pass == 0 ? shadow : light);
        const int o = pass; // the highlight one pixel right and below
        if (ascending) {
            dc.MoveTo(mid + o, top + o);
            dc.LineTo(left + o, bottom + o);
            dc.LineTo(left + size + o, bottom + o);
            dc.LineTo(mid + o, top + o);
        } else {
            dc.MoveTo(mid + o, bottom + o);
            dc.LineTo(left + o, top + o);
            dc.LineTo(left + size + o, top + o);
            dc.LineTo(mid + o, bottom + o);
        }
    }
}

} // namespace

const CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    const CGridCtrl* grid = GetGrid();
    if (!grid)
        return nullptr;
    return grid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::CopyFrom(const CGridCellBase& other)
{
    if (&other == this)
        return;
    SetGrid(other.GetGrid());
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBackClr(other.GetBackClr());
    SetFont(other.IsDefaultFont() ? nullptr : other.GetFont());
    SetMargin(other.GetMargin());
}

bool CGridCellBase::GetTextRect(RECT& /*rect*/) const
{
    // Cell images come from an image list, which no grid of this program has.
    return true;
}

SIZE CGridCellBase::GetTextExtent(const std::string& text, CDC* dc) const
{
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def)
        return SIZE{0, 0};
    if (text.empty())
        return SIZE{def->GetWidth(), def->GetHeight()};
    CDC& d = dc ? *dc : measuringDC();
    CDCStateScope scope(d);
    const LOGFONTA* font = GetFont();
    if (font)
        d.SelectFont(*font);
    const uint32_t format = GetFormat();
    const int margin = GetMargin();
    SIZE size;
    if ((format & DT_SINGLELINE) || !(format & DT_WORDBREAK)) {
        size = d.GetTextExtent(text);
        if (!(format & DT_SINGLELINE)) {
            // Several lines without word breaks: the widest line, every line's height.
            RECT r{0, 0, 0, 0};
            d.DrawText(text, r, format | DT_CALCRECT);
            size = SIZE{int32_t(r.Width()), int32_t(r.Height())};
        }
    } else {
        int widest = 0;
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = std::min(text.find('\n', start), text.size());
            widest = std::max(widest, int(d.GetTextExtent(std::string_view(text).substr(start, end - start)).cx));
            start = end + 1;
        }
        RECT r{0, 0, widest + 1, 0};
        d.DrawText(text, r, format | DT_CALCRECT);
        size = SIZE{widest, int32_t(r.Height())};
    }
    size.cx += 2 * margin;
    size.cy += 2 * margin;
    if (font && (font->lfEscapement == 900 || font->lfEscapement == -900)) {
        std::swap(size.cx, size.cy);
        size.cy += 4 * margin;
    }
    return size;
}

SIZE CGridCellBase::GetCellExtent(CDC* dc) const
{
    SIZE size = GetTextExtent(GetText(), dc);
    size.cx += 1;
    size.cy += 1;
    if (IsFixed()) {
        size.cx += 1;
        size.cy += 1;
    }
    return size;
}

bool CGridCellBase::Draw(CDC& dc, int row, int col, RECT rect, bool gridHasFocus, bool erase)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || rect.right < rect.left || rect.bottom < rect.top)
        return false;
    CDCStateScope scope(dc);
    dc.SetBkMode(TRANSPARENT);
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def)
        return false;

    COLORREF textClr = GetTextClr() == CLR_DEFAULT ? def->GetTextClr() : GetTextClr();
    COLORREF backClr;
    if (GetBackClr() == CLR_DEFAULT) {
        backClr = def->GetBackClr();
    } else {
        backClr = GetBackClr();
        erase = true;
    }
    const bool lines = grid->GetGridLines() != GVL_NONE;
    const COLORREF highlight = Ui().SystemColor(SystemColour::Highlight);
    const COLORREF highlightText = Ui().SystemColor(SystemColour::HighlightText);
    constexpr COLORREF kUnfocusedSelection = RGB(160, 160, 160);

    // `rect` is inclusive; as a fill rectangle it is grown by one pixel.
    RECT grown{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    if (IsFocused() || IsDropHighlighted()) {
        if (IsSelected()) {
            backClr = gridHasFocus ? highlight : kUnfocusedSelection;
            textClr = highlightText;
            erase = true;
        }
        if (erase)
            dc.FillSolidRect(grown, backClr);
        if (grid->GetFrameFocusCell()) {
            // With grid lines the frame stays inside them.
            const RECT f = lines ? RECT{rect.left, rect.top, rect.right, rect.bottom} : grown;
            dc.FillSolidRect(RECT{f.left, f.top, f.right, f.top + 1}, textClr);
            dc.FillSolidRect(RECT{f.left, f.bottom - 1, f.right, f.bottom}, textClr);
            dc.FillSolidRect(RECT{f.left, f.top, f.left + 1, f.bottom}, textClr);
            dc.FillSolidRect(RECT{f.right - 1, f.top, f.right, f.bottom}, textClr);
        }
    } else if (IsSelected()) {
        dc.FillSolidRect(grown, gridHasFocus ? highlight : kUnfocusedSelection);
        textClr = highlightText;
    } else if (erase) {
        dc.FillSolidRect(grown, backClr);
    }

    if (IsFixed() && lines) {
        const CCellRange sel = grid->GetSelectedCellRange();
        const bool wholeRows = sel.minCol == 1 && sel.maxCol == grid->GetColumnCount() - 1 &&
                               grid->IsCellSelected(row, 1);
        const bool wholeCols = sel.minRow == 1 && sel.maxRow == grid->GetRowCount() - 1 &&
                               grid->IsCellSelected(1, col);
        if (wholeRows || wholeCols) {
            dc.DrawEdge(grown, BDR_SUNKENINNER, BF_RECT);
        } else {
            const COLORREF light = Ui().SystemColor(SystemColour::ButtonHighlight);
            const COLORREF dark = Ui().SystemColor(SystemColour::DarkShadow);
            dc.FillSolidRect(RECT{rect.left, rect.top, rect.right, rect.top + 1}, light);
            dc.FillSolidRect(RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, light);
            dc.FillSolidRect(RECT{rect.right, rect.top, rect.right + 1, rect.bottom + 1}, dark);
            dc.FillSolidRect(RECT{rect.left, rect.bottom, rect.right + 1, rect.bottom + 1}, dark);
        }
        rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    }

    dc.SetTextColor(textClr);
    const LOGFONTA* font = GetFont();
    if (font)
        dc.SelectFont(*font);
    const int margin = GetMargin();
    rect = RECT{rect.left + margin, rect.top + margin, rect.right - margin + 1, rect.bottom - margin + 1};

    if (row == 0 && col == grid->GetSortColumn()) {
        const bool vertical = font && font->lfEscapement == 900;
        int size = int(dc.GetTextExtent("M").cy) - 4;
        size = int(std::min<int64_t>(size, rect.Height() - 4));
        if (size > 0 && rect.Width() >= size) {
            RECT mark = rect;
            if (vertical)
                mark.left = int32_t(rect.left + (rect.Width() - size) / 2);
            else
                mark.left = rect.right - size;
            drawSortMark(dc, mark, size, grid->GetSortAscending());
            if (!vertical)
                rect.right -= size;
        }
    }

    GetTextRect(rect);
    rect.right += 1;
    rect.bottom += 1;
    const std::string& text = GetText();
    if (!text.empty())
        dc.DrawText(text, rect, GetFormat() | DT_NOPREFIX);
    return true;
}
