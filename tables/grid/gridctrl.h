#pragma once
// The spreadsheet-like grid: fixed header rows and columns, pixel scrolling,
// a cell selection and a focus cell, keyboard and mouse handling, row and
// column sizing, clipboard text and drag and drop. It holds cell objects, or
// in virtual mode nothing but counts and sizes, asking its owner for every
// cell it draws. Everything the user does is reported to the owner
// (CGridOwner), in the order the calls are made.
#include "tables/grid/cellrange.h"
#include "tables/grid/gridcell.h"
#include "tables/grid/griddefaultcell.h"
#include "tables/grid/griditem.h"
#include "tables/grid/gridselection.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDC;
class CGridOwner;
class CTitleTip;
class QMimeData;

// Grid line modes.
constexpr int GVL_NONE = 0;
constexpr int GVL_HORZ = 1;
constexpr int GVL_VERT = 2;
constexpr int GVL_BOTH = 3;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum MouseMode {
        MOUSE_NOTHING = 0, MOUSE_SELECT_ALL = 1, MOUSE_SELECT_COL = 2, MOUSE_SELECT_ROW = 3, MOUSE_SELECT_CELLS = 4,
        MOUSE_OVER_ROW_DIVIDE = 6, MOUSE_SIZING_ROW = 7, MOUSE_OVER_COL_DIVIDE = 8, MOUSE_SIZING_COL = 9,
        MOUSE_PREPARE_EDIT = 10, MOUSE_PREPARE_DRAG = 11, MOUSE_DRAGGING = 12
    };
    // Compares two cells' texts for sorting: <0, 0, >0.
    using CompareFn = std::function<int(const CGridCellBase*, const CGridCellBase*, intptr_t data)>;
    // Compares two data rows of a virtual grid.
    using VirtualCompareFn = std::function<bool(int, int)>;
    using DisplayCallback = std::function<bool(CGridItem&)>;

    CGridCtrl(CGridOwner* owner, QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // --- Contents
    bool SetRowCount(int n);
    bool SetColumnCount(int n);
    bool SetFixedRowCount(int n);
    bool SetFixedColumnCount(int n);
    int GetRowCount() const { return m_rows; }
    int GetColumnCount() const { return m_cols; }
    int GetFixedRowCount() const { return m_fixedRows; }
    int GetFixedColumnCount() const { return m_fixedCols; }
    void DeleteAllItems();
    // The cell; in virtual mode one per-grid cell overwritten by the next call.
    CGridCellBase* GetCell(int row, int col) const;
    bool SetItemText(int row, int col, const std::string& text);
    std::string GetItemText(int row, int col) const;
    void SetItemTextChecked(int row, int col, const std::string& text);
    void ClearCells(const CCellRange& range);
    bool SetItemState(int row, int col, uint32_t state);
    uint32_t GetItemState(int row, int col) const;
    void SetModified(int row, int col);
    bool GetModified() const { return m_modified; }
    void SetVirtualMode(bool on);
    bool GetVirtualMode() const { return m_virtual; }
    void ResetVirtualOrder();
    void ShiftRowOrder(int row, int delta);
    void SetDisplayCallback(DisplayCallback callback) { m_callback = std::move(callback); }
    const std::vector<int>& RowOrder() const { return m_rowOrder; }
    const std::vector<int>& ColumnOrder() const { return m_colOrder; }
    // The code page of cell texts (the non-fixed default cell's font).
    int CodePage() const;

    // --- Settings
    void SetEditable(bool on) { m_editable = on; }
    bool IsEditable() const { return m_editable; }
    void SetListMode(bool on) { m_listMode = on; }
    void SetSingleRowSelection(bool on) { m_singleRowSelection = on; }
    void SetSingleColSelection(bool on) { m_singleColSelection = on; }
    void SetFixedRowSelection(bool on) { m_fixedRowSelection = on; }
    void SetFixedColumnSelection(bool on) { m_fixedColumnSelection = on; }
    void SetHeaderSort(bool on) { m_sortOnClick = on; }
    void SetDragAndDrop(bool on);
    bool GetDragAndDrop() const { return m_dragAndDrop; }
    void SetRowResize(bool on) { m_allowRowResize = on; }
    void SetColumnResize(bool on) { m_allowColumnResize = on; }
    void SetAutoSizeStyle(int style) { m_autoSizeStyle = style; }
    void SetGridLines(int lines) { m_gridLines = lines; viewport()->update(); }
    int GetGridLines() const { return m_gridLines; }
    bool GetFrameFocusCell() const { return m_frameFocus; }
    void SetFrameFocusCell(bool on) { m_frameFocus = on; }
    void SetHandleTabKey(bool on) { m_handleTab = on; }
    void SetTitleTips(bool on) { m_titleTips = on; }
    // Clears the selection and the focus cell and switches selecting on or off.
    void EnableSelection(bool on = true);
    void SetRedraw(bool allow);
    void SetTrackFocusCell(bool on) { m_trackFocusCell = on; }
    // A row dragged out of this virtual grid and dropped on it moves there.
    void SetRowDragMode(bool on) { m_rowDragMode = on; }
    // Lines per wheel notch; -1 scrolls a page per notch.
    void SetWheelScrollLines(int lines) { m_wheelLines = lines; }
    int GetWheelScrollLines() const { return m_wheelLines; }
    COLORREF GetGridBkColor() const { return m_gridBkColor; }
    void SetGridLineColor(COLORREF c) { m_gridLineColor = c; }
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    // The font of every default cell (they recompute their sizes).
    void SetGridFont(const LOGFONTA& font);
    const LOGFONTA& GetGridFont() const { return *m_cellDefault.GetFont(); }

    // --- Geometry
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int64_t GetVirtualHeight() const;
    int64_t GetVirtualWidth() const;
    // The widget size that shows every cell without scrolling (frame
    // included), at most `limit`; with `scrollBar` room for a vertical
    // scroll bar too.
    QSize ContentSize(const QSize& limit, bool scrollBar = false) const;
    bool GetCellOrigin(int row, int col, QPoint& origin) const;
    bool GetCellRect(int row, int col, RECT& rect) const; // right and bottom inclusive
    bool GetTextRect(int row, int col, RECT& rect) const;
    CCellID GetCellFromPt(QPoint point, bool allowFixed = true) const;
    CCellID GetTopLeftNonFixedCell(bool forceRecalc = false) const;
    CCellRange GetVisibleNonFixedCellRange(bool fully = false) const;
    bool IsCellVisible(int row, int col) const;
    void EnsureVisible(int row, int col);
    bool AutoSizeColumn(int col, int style = 0, bool resetScroll = true);
    bool AutoSizeRow(int row);
    void AutoSizeColumns();
    void ResetScrollBars();

    // --- Selection and focus
    CCellID SetFocusCell(int row, int col);
    CCellID GetFocusCell() const { return m_focus; }
    void SetSelectedRange(const CCellRange& range, bool forceRepaint = false, bool select = true);
    void SelectAllCells();
    void SelectColumns(CCellID cell);
    void SelectRows(CCellID cell);
    void SelectCells(CCellID cell);
    void OnSelecting(CCellID cell);
    void ResetSelectedRange();
    CCellRange GetSelectedCellRange() const;
    bool IsCellSelected(int row, int col) const { return m_selection.Contains(row, col); }
    const CGridSelection& Selection() const { return m_selection; }
    void ToggleSelectAll();
    bool IsValid(int row, int col) const { return row >= 0 && col >= 0 && row < m_rows && col < m_cols; }
    bool IsValid(CCellID cell) const { return IsValid(cell.row, cell.col); }
    bool IsCellEditable(int row, int col) const;

    // --- Painting
    void OnDraw(CDC& dc, const RECT& clip);
    bool RedrawCell(int row, int col);
    int GetSortColumn() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_sortAscending; }

    // --- Clipboard, drag and drop
    // The selected text (tab between cells, CR LF between rows), or nothing.
    std::optional<std::string> CopyTextFromGrid() const;
    void CutSelectedText();
    bool PasteTextToGrid(CCellID cell, const std::string& text, bool select = true);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    int OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point); // 0 none, 1 copy, 2 move
    void OnDragLeave();
    bool OnDrop(const QMimeData* data, int effect, QPoint point);

    // --- Editing and sorting
    void OnEditCell(int row, int col, QPoint point, const CEditStart& start);
    void EndEditing();
    void OnEndEditCell(int row, int col, const std::string& text);
    bool ValidateEdit(int row, int col, const std::string& text);
    // The in-place editor's end: the text and the key that ended it.
    void EditorEnded(int row, int col, const std::string& text, int lastKey);
    bool SortByColumn(int col, bool ascending);
    bool SortItems(int col, bool ascending, intptr_t data = 0, int low = -1, int high = -1);
    void SetCompareFunction(CompareFn fn) { m_compare = std::move(fn); }
    void SetVirtualCompare(VirtualCompareFn fn) { m_virtualCompare = std::move(fn); }
    void Reorder(int from, int to);
    QWidget* InPlaceEditor() const { return m_editor; }
    CTitleTip* TitleTip() const { return m_titleTip.get(); }

    int MouseMode() const { return m_mouseMode; }

signals:
    // A left-button release on a cell (posted after the release's notifications).
    void cellReleased();

protected:
    bool viewportEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

    virtual CGridCellBase* CreateCell(int row, int col);
    virtual void OnFixedRowClick(CCellID cell);
    virtual void OnFixedColumnClick(CCellID cell);

private:
    friend class CGridInPlaceEdit;
    CGridCellBase* cellAt(int row, int col) const; // normal mode
    void fillVirtualCell(int row, int col) const;
    void destroyCell(int row, int col);
    void resetColumnOrder();
    void invalidateTopLeft() { m_topLeftValid = false; }
    int scrollPosV() const;
    int scrollPosH() const;
    void invalidateCell(int row, int col);
    void redrawFocusHeaders(CCellID cell, CCellID other);
    bool handleKey(int key, Qt::KeyboardModifiers mods);
    CCellID nextCellForKey(int key, Qt::KeyboardModifiers mods, bool& handled);
    int nextVisibleRow(int row, int step) const;
    int nextVisibleCol(int col, int step) const;
    void lineScroll(bool vertical, int steps);
    void pageScroll(bool vertical, int steps);
    bool mouseOverColumnResizeArea(QPoint p) const;
    bool mouseOverRowResizeArea(QPoint p) const;
    void drawDivider(); // toggles the inverted sizing line
    void autoScrollTick();
    void offerTitleTip(QPoint p);
    void startDrag();
    void postRelease();
    void repaintAll() { viewport()->update(); }
    void applySystemColours();
    int selectionStartColumn() const { return m_selectionIncludesFixedCols ? 0 : m_fixedCols; }
    bool sortHelper(int col, bool ascending, intptr_t data, int low, int high);

    CGridOwner* m_owner = nullptr;
    int m_rows = 0, m_cols = 0, m_fixedRows = 0, m_fixedCols = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowOrder;
    std::vector<int> m_colOrder;
    std::vector<std::vector<std::unique_ptr<CGridCellBase>>> m_cells;
    bool m_virtual = false;
    DisplayCallback m_callback;
    mutable CGridItem m_virtualItem;   // per grid: several grids live at once
    mutable CGridCell m_virtualCell;
    bool m_destroying = false;

    CGridDefaultCell m_cellDefault, m_cellFixedColDef, m_cellFixedRowDef, m_cellFixedRowColDef;
    COLORREF m_gridLineColor = RGB(192, 192, 192);
    COLORREF m_gridBkColor;
    COLORREF m_sysWindowText, m_sysWindow, m_sysBtnFace, m_sysBtnShadow;
    int m_gridLines = GVL_BOTH;

    bool m_editable = true, m_dragAndDrop = false, m_listMode = false, m_singleRowSelection = false;
    bool m_singleColSelection = false, m_allowDraw = true, m_enableSelection = true;
    bool m_fixedRowSelection = true, m_fixedColumnSelection = true, m_sortOnClick = false;
    bool m_handleTab = true, m_titleTips = true, m_allowZeroSize = true, m_trackFocusCell = true;
    bool m_frameFocus = true, m_allowRowResize = true, m_allowColumnResize = true;
    bool m_selectionIncludesFixedCols = false, m_rowDragMode = true, m_modified = false;
    int m_autoSizeStyle = 3, m_resizeRange = 3, m_autoScrollInterval = 25, m_wheelLines = 3;
    int m_wheelRemainder = 0;
    bool m_leavingByTab = false;

    CGridSelection m_selection, m_prevSelection;
    CCellID m_focus, m_selectionStart, m_leftClickDown, m_dropCell;
    QPoint m_lastMouse, m_leftClickPoint;
    int m_mouseMode = MOUSE_NOTHING;
    bool m_lButtonDown = false, m_hasFocus = false;
    QTimer m_autoScroll;
    int m_dragRow = -1;
    int m_sizeIndex = -1; // the column or row being sized
    std::optional<int> m_dividerPos; // the inverted sizing line, when shown
    int m_sizeClipLo = 0, m_sizeClipHi = 0;

    mutable CCellID m_topLeft;
    mutable bool m_topLeftValid = false;

    int m_sortColumn = -1;
    bool m_sortAscending = true;
    CompareFn m_compare;
    VirtualCompareFn m_virtualCompare;

    QWidget* m_editor = nullptr;
    std::unique_ptr<CTitleTip> m_titleTip;
    QTimer m_tipTimer;
    QPoint m_tipPoint;
};
