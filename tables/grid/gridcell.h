#pragma once
// The standard grid cell: text and attributes of its own, each of which may
// be left to the default cell (-1, CLR_DEFAULT, no font).
#include "tables/grid/gridcellbase.h"

#include <memory>

class QWidget;

class CGridCell : public CGridCellBase {
public:
    CGridCell() = default;

    void SetText(const std::string& text) override { m_text = text; }
    void SetImage(int image) override { m_image = image; }
    void SetData(intptr_t data) override { m_data = data; }
    void SetFormat(uint32_t format) override { m_format = format; }
    void SetTextClr(COLORREF clr) override { m_textClr = clr; }
    void SetBackClr(COLORREF clr) override { m_backClr = clr; }
    void SetFont(const LOGFONTA* font) override;
    void SetMargin(int margin) override { m_margin = margin; }
    void SetGrid(CGridCtrl* grid) override { m_grid = grid; }

    const std::string& GetText() const override { return m_text; }
    int GetImage() const override { return m_image; }
    intptr_t GetData() const override { return m_data; }
    uint32_t GetFormat() const override;
    COLORREF GetTextClr() const override { return m_textClr; }
    COLORREF GetBackClr() const override { return m_backClr; }
    const LOGFONTA* GetFont() const override;
    CGridCtrl* GetGrid() const override { return m_grid; }
    int GetMargin() const override;
    QWidget* GetEditWnd() const { return m_editWnd; }

    bool IsDefaultFont() const override { return !m_font; }
    bool IsEditing() const override { return m_editing; }

    void Reset() override;

    bool Edit(int row, int col, const RECT& rect, QPoint point, const CEditStart& start) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    std::string m_text;
    intptr_t m_data = 0;
    int m_image = -1;
    uint32_t m_format = ~0u;
    COLORREF m_textClr = CLR_DEFAULT;
    COLORREF m_backClr = CLR_DEFAULT;
    std::unique_ptr<LOGFONTA> m_font;
    int m_margin = -1;
    bool m_editing = false;
    CGridCtrl* m_grid = nullptr;
    QWidget* m_editWnd = nullptr;
};
