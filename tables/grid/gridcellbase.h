#pragma once
// One cell of the grid: its state bits, and how it measures and paints
// itself. CGridCell stores text and attributes; CGridDefaultCell holds the
// attributes cells without their own fall back to.
#include "platform/windef.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>

class CDC;
class CGridCtrl;
class CGridDefaultCell;

// Cell state bits.
constexpr uint32_t GVIS_FOCUSED = 0x01;
constexpr uint32_t GVIS_SELECTED = 0x02;
constexpr uint32_t GVIS_DROPHILITED = 0x04;
constexpr uint32_t GVIS_READONLY = 0x08;
constexpr uint32_t GVIS_FIXED = 0x10;
constexpr uint32_t GVIS_FIXEDROW = 0x20;
constexpr uint32_t GVIS_FIXEDCOL = 0x40;
constexpr uint32_t GVIS_MODIFIED = 0x80;

// How an in-place edit was started: a key (Qt::Key, or kEditByClick for a
// click and F2) or a typed text.
struct CEditStart {
    static constexpr int kEditByClick = 1;
    int key = 0;
    QString text;
    static CEditStart Click() { return CEditStart{kEditByClick, {}}; }
    static CEditStart Key(int k) { return CEditStart{k, {}}; }
    static CEditStart Typed(const QString& t) { return CEditStart{0, t}; }
};

class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;

    virtual void SetText(const std::string& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(intptr_t data) = 0;
    virtual void SetState(uint32_t state) { m_state = state; }
    virtual void SetFormat(uint32_t format) = 0;
    virtual void SetTextClr(COLORREF clr) = 0;
    virtual void SetBackClr(COLORREF clr) = 0;
    virtual void SetFont(const LOGFONTA* font) = 0; // null: the default cell's
    virtual void SetMargin(int margin) = 0;
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int /*row*/, int /*col*/) {}

    virtual const std::string& GetText() const = 0;
    virtual std::string GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual intptr_t GetData() const = 0;
    virtual uint32_t GetState() const { return m_state; }
    virtual uint32_t GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual const LOGFONTA* GetFont() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual int GetMargin() const = 0;

    // The default cell of the owning grid for this cell's fixed bits.
    virtual const CGridDefaultCell* GetDefaultCell() const;
    virtual bool IsDefaultFont() const = 0;
    virtual bool IsEditing() const = 0;
    bool IsFocused() const { return GetState() & GVIS_FOCUSED; }
    bool IsFixed() const { return GetState() & GVIS_FIXED; }
    bool IsFixedCol() const { return GetState() & GVIS_FIXEDCOL; }
    bool IsFixedRow() const { return GetState() & GVIS_FIXEDROW; }
    bool IsSelected() const { return GetState() & GVIS_SELECTED; }
    bool IsReadOnly() const { return GetState() & GVIS_READONLY; }
    bool IsModified() const { return GetState() & GVIS_MODIFIED; }
    bool IsDropHighlighted() const { return GetState() & GVIS_DROPHILITED; }

    // Takes every attribute of `other` through the setters.
    virtual void CopyFrom(const CGridCellBase& other);
    virtual void Reset() { m_state = 0; }

    // Paints the cell into `rect` (right and bottom inclusive).
    virtual bool Draw(CDC& dc, int row, int col, RECT rect, bool gridHasFocus, bool erase = true);
    virtual bool GetTextRect(RECT& rect) const;
    virtual bool GetTipTextRect(RECT& rect) const { return GetTextRect(rect); }
    // Text size with two margins, in pixels; `dc` may be null.
    virtual SIZE GetTextExtent(const std::string& text, CDC* dc) const;
    virtual SIZE GetCellExtent(CDC* dc) const;

    // Opens the in-place editor over `rect` (false: this cell cannot be edited).
    virtual bool Edit(int /*row*/, int /*col*/, const RECT& /*rect*/, QPoint /*point*/, const CEditStart& /*start*/)
    {
        return false;
    }
    virtual bool ValidateEdit(const std::string& /*text*/) { return true; }
    virtual void EndEdit() {}
    virtual void OnEndEdit() {}

    virtual void OnClick(QPoint /*point*/) {}
    virtual void OnClickDown(QPoint /*point*/) {}
    virtual void OnRClick(QPoint /*point*/) {}
    virtual void OnDblClick(QPoint /*point*/) {}

protected:
    uint32_t m_state = 0;
};
