#pragma once
// The attributes of the cells of one kind in a grid (non-fixed, fixed
// column, fixed row, corner) that cells without their own use, and the
// default width and height of a new column or row, measured from its font.
#include "tables/grid/gridcell.h"

class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    void SetData(intptr_t) override {}
    void SetState(uint32_t) override {}
    uint32_t GetState() const override { return m_state | GVIS_READONLY; }
    uint32_t GetFormat() const override { return m_format; }
    int GetMargin() const override { return m_margin; }

    // Takes the font and measures the default sizes and margin with it;
    // null is ignored.
    void SetFont(const LOGFONTA* font) override;
    const LOGFONTA* GetFont() const override { return &m_logFont; }
    bool IsDefaultFont() const override { return false; }

    int GetStyle() const { return m_style; }
    void SetStyle(int style) { m_style = style; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetWidth(int width) { m_width = width; }
    void SetHeight(int height) { m_height = height; }

private:
    LOGFONTA m_logFont;
    int m_style = 0;
    int m_width = 30;
    int m_height = 10;
};
