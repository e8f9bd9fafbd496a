// The table view's commands: registration with their update handlers, and
// the edits of rows, columns, cells and the clipboard, image columns,
// sorting, navigation, the Excel import and the character set.
#include "tables/view/vorteplansofttableview.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/grid/gridinplaceedit.h"
#include "tables/tableviewhost.h"

#include <QLineEdit>

#include <algorithm>

void CVorteplanSoftTableView::add(int id, std::function<void()> run, std::function<void(TableCommandState&)> update)
{
    m_commands.push_back(TableCommand{id, std::move(run), std::move(update)});
}

bool CVorteplanSoftTableView::RunCommand(int id)
{
    for (const TableCommand& command : m_commands) {
        if (command.id != id)
            continue;
        TableCommandState state;
        if (command.update)
            command.update(state);
        if (!state.enabled || !command.run)
            return false;
        command.run();
        return true;
    }
    return false;
}

TableCommandState CVorteplanSoftTableView::CommandState(int id) const
{
    TableCommandState state;
    state.enabled = false;
    for (const TableCommand& command : m_commands)
        if (command.id == id) {
            state.enabled = true;
            if (command.update)
                command.update(state);
        }
    return state;
}

void CVorteplanSoftTableView::registerCommands()
{
    // The tab view holding this view switches its pages.
    add(cmd::kShowDesign, [this] { emit pageCommand(cmd::kShowDesign); },
        [](TableCommandState& s) { s.checked = false; });
    add(cmd::kShowTable, [this] { emit pageCommand(cmd::kShowTable); },
        [this](TableCommandState& s) { s.checked = isVisible(); });
    add(cmd::kShowPreview, [this] { emit pageCommand(cmd::kShowPreview); }, [this](TableCommandState& s) {
        s.checked = false;
        s.enabled = hasDoc();
    });
    add(cmd::kStatusPane2, {}, [this](TableCommandState& s) { s.text = SelectionPaneText(); });
    add(cmd::kCharSetBox, [this] { ApplyCharSetBox(); }, [this](TableCommandState& s) {
        if (m_doc)
            s.text = QString::fromLatin1(m_doc->GetCharSetName(m_doc->GetTableFont().lfCharSet).substr(0, 63));
    });
    registerEditCommands();
    registerTableCommands();
}

void CVorteplanSoftTableView::registerEditCommands()
{
    auto withDoc = [this](TableCommandState& s) { s.enabled = hasDoc(); };
    add(cmd::kInsertRow, [this] { InsertRow(); }, withDoc);
    add(cmd::kInsertColumn, [this] { InsertColumn(); });
    add(cmd::kDelete, [this] { DeleteSelection(); }, withDoc);
    add(cmd::kEditCut, [this] { Cut(); }, withDoc);
    add(cmd::kEditCopy, [this] { Copy(); }, withDoc);
    add(cmd::kEditPaste, [this] { Paste(); });
    add(cmd::kEditUndo, [this] { Undo(); }, [this](TableCommandState& s) { s.enabled = CanUndo(); });
    add(cmd::kEditSelectAll, [this] { m_pGrid->ToggleSelectAll(); updateSelectionPane(); });
    add(cmd::kImageColumn, [this] { ToggleImageColumnCommand(); },
        [this](TableCommandState& s) { s.checked = ImageColumnCheck() != 0; });
    add(cmd::kLinkImage, [this] { LinkImage(); }, [this](TableCommandState& s) { s.enabled = m_doc && m_host; });
}

void CVorteplanSoftTableView::registerTableCommands()
{
    auto hasData = [this](TableCommandState& s) { s.enabled = m_doc && m_doc->GetTableRowCount() > 0; };
    add(cmd::kSortAscending, [this] { SortCommand(false); }, hasData);
    add(cmd::kSortDescending, [this] { SortCommand(true); }, hasData);
    add(cmd::kFind, [this] { OpenFindDialog(false); });
    add(cmd::kReplace, [this] { OpenFindDialog(true); });
    add(cmd::kFirstRow, [this] { GoToFirstRow(); });
    add(cmd::kLastRow, [this] { GoToLastRow(); });
    add(cmd::kPreviousRow, [this] { GoToPreviousRowCommand(); });
    add(cmd::kNextRow, [this] { GoToNextRowCommand(); });
    add(cmd::kPreviousPage, [this] { GoToPreviousPage(); });
    add(cmd::kNextPage, [this] { GoToNextPage(); });
    add(cmd::kImportExcel, [this] { ImportExcel(); });
    add(cmd::kImportTable, [this] { ImportTable(); });
    add(cmd::kFilePrint, [this] { Print(); });
    add(cmd::kFilterEnable, [this] { EnableFilter(); },
        [this](TableCommandState& s) { s.checked = IsFilterEnabled(); });
    add(cmd::kFilterLoad, [this] { LoadFilter(); });
    add(cmd::kFilterStore, [this] { StoreFilter(); });
    registerDialogCommands();
}

// --- helpers -------------------------------------------------------------------------------

void CVorteplanSoftTableView::endFocusEdit()
{
    if (m_pGrid->IsValid(m_pGrid->GetFocusCell()))
        m_pGrid->EndEditing();
}

int CVorteplanSoftTableView::focusColumn() const
{
    const CCellID focus = m_pGrid->GetFocusCell();
    if (focus.col >= 1)
        return focus.col;
    return std::max(m_nCurrentColumn, 1);
}

void CVorteplanSoftTableView::moveFocusTo(int row, int column)
{
    if (row < 1 || column < 1)
        return;
    if (row >= m_pGrid->GetRowCount()) {
        m_nCurrentRow = row;
        UpdateGridRows();
    }
    m_pGrid->EnsureVisible(row, column);
    m_pGrid->SetFocusCell(row, column);
    m_pGrid->SetSelectedRange(CCellRange(row, column, row, column));
    m_nCurrentRow = row;
    m_nCurrentColumn = column;
    UpdateGridRows();
    if (m_doc)
        m_doc->SetCurrentTableRow(row - 1);
}

// --- rows, columns, cells ------------------------------------------------------------------

void CVorteplanSoftTableView::InsertRow()
{
    if (!m_doc)
        return;
    endFocusEdit();
    if (m_nCurrentRow == 0)
        return;
    m_doc->SaveTableUndoState();
    m_doc->InsertTableRow(m_nCurrentRow - 1);
    UpdateGridRows();
}

void CVorteplanSoftTableView::InsertColumn()
{
    if (!m_doc)
        return;
    int column = m_nCurrentColumn - 1;
    if (column < 0 && IsWholeColumnSelection())
        column = m_pGrid->GetSelectedCellRange().minCol - 1;
    if (column < 0)
        return;
    m_doc->SaveTableUndoState();
    if (m_doc->InsertTableColumn(column))
        repaintAll();
}

void CVorteplanSoftTableView::DeleteSelection()
{
    if (!m_doc)
        return;
    const CCellRange range = m_pGrid->GetSelectedCellRange();
    if (IsWholeRowSelection()) {
        m_doc->SaveTableUndoState();
        CWaitCursor wait;
        for (int row = range.maxRow; row >= range.minRow; --row)
            if (m_pGrid->IsCellSelected(row, 1))
                m_doc->DeleteTableRows(row - 1);
        m_pGrid->EnableSelection();
        repaintAll();
        UpdateGridRows();
    } else if (IsWholeColumnSelection()) {
        m_doc->SaveTableUndoState();
        CWaitCursor wait;
        for (int column = range.maxCol; column >= range.minCol; --column)
            m_doc->DeleteTableColumn(column - 1);
        m_pGrid->EnableSelection();
        repaintAll();
    }
    updateSelectionPane();
}

void CVorteplanSoftTableView::Cut()
{
    if (!m_doc)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(m_pGrid->InPlaceEditor())) {
        edit->cut();
        return;
    }
    const CCellRange range = m_pGrid->GetSelectedCellRange();
    if (IsWholeRowSelection()) {
        m_doc->SaveTableUndoState();
        CWaitCursor wait;
        m_pGrid->OnEditCopy();
        for (int row = range.maxRow; row >= range.minRow; --row)
            m_doc->DeleteTableRows(row - 1);
        m_pGrid->EnableSelection();
        repaintAll();
        UpdateGridRows();
    } else if (IsWholeColumnSelection()) {
        m_doc->SaveTableUndoState();
        CWaitCursor wait;
        m_pGrid->OnEditCopy();
        for (int column = range.maxCol; column >= range.minCol; --column)
            m_doc->DeleteTableColumn(column - 1);
        m_pGrid->EnableSelection();
        repaintAll();
    } else if (range.IsValid()) {
        m_doc->SaveTableUndoState();
        m_pGrid->OnEditCopy();
        switchTableUndo(false);
        m_pGrid->ClearCells(range);
        if (!switchTableUndo(true))
            repaintAll();
    }
    updateSelectionPane();
}

void CVorteplanSoftTableView::Copy()
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_pGrid->InPlaceEditor())) {
        edit->copy();
        return;
    }
    m_pGrid->OnEditCopy();
}

void CVorteplanSoftTableView::Paste()
{
    if (!m_doc)
        return;
    m_doc->SaveTableUndoState();
    switchTableUndo(false);
    m_bPasting = true;
    m_pGrid->OnEditPaste();
    m_bPasting = false;
    if (!switchTableUndo(true))
        repaintAll();
    UpdateGridRows();
}

bool CVorteplanSoftTableView::CanUndo() const
{
    if (!m_doc)
        return false;
    const int slot = m_doc->GetCurrentTableIndex();
    if (!m_doc->GetTableSnapshot(slot, 0))
        return false;
    return !m_doc->GetFilter(slot) || m_doc->GetFilteredSnapshot(slot, 0);
}

void CVorteplanSoftTableView::Undo()
{
    if (!m_doc)
        return;
    m_doc->UndoTable();
    // The restored table differs from what may have been saved.
    repaintAll();
    UpdateGridRows();
}

void CVorteplanSoftTableView::ToggleImageColumnCommand()
{
    if (!m_doc)
        return;
    const CCellRange range = m_pGrid->GetSelectedCellRange();
    const int gridColumn =
        IsWholeColumnSelection() && range.maxCol >= range.minCol ? range.maxCol : m_nCurrentColumn;
    const int flagColumn = flagColumnOfGridColumn(gridColumn);
    if (flagColumn >= 0)
        m_doc->ToggleImageColumn(flagColumn);
}

int CVorteplanSoftTableView::ImageColumnCheck() const
{
    if (!m_doc)
        return 0;
    const int gridColumn = IsWholeColumnSelection() ? m_pGrid->GetSelectedCellRange().maxCol : m_nCurrentColumn;
    const int flagColumn = flagColumnOfGridColumn(gridColumn);
    return flagColumn >= 0 && flagColumn <= 255 && m_doc->IsImageColumn(flagColumn) ? 1 : 0;
}

void CVorteplanSoftTableView::LinkImage()
{
    if (!m_doc || !m_host)
        return;
    m_host->LinkImages(this, "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||");
}

void CVorteplanSoftTableView::SortCommand(bool descending)
{
    if (!m_doc)
        return;
    endFocusEdit();
    m_doc->SaveTableUndoState();
    if (m_doc->SortTable(m_nCurrentColumn - 1, descending))
        repaintAll();
}

// --- navigation ----------------------------------------------------------------------------

int CVorteplanSoftTableView::labelsPerSheet() const
{
    return m_doc ? std::max(m_doc->GetLabelsPerSheet(), 0) : 0;
}

void CVorteplanSoftTableView::GoToFirstRow()
{
    endFocusEdit();
    moveFocusTo(1, focusColumn());
}

void CVorteplanSoftTableView::GoToLastRow()
{
    if (!m_doc)
        return;
    endFocusEdit();
    moveFocusTo(m_doc->GetTableRowCount(), focusColumn());
}

void CVorteplanSoftTableView::GoToPreviousRowCommand()
{
    endFocusEdit();
    const int row = m_pGrid->GetFocusCell().row;
    if (row > 1)
        moveFocusTo(row - 1, focusColumn());
}

void CVorteplanSoftTableView::GoToNextRowCommand()
{
    if (!m_doc)
        return;
    endFocusEdit();
    const int row = m_pGrid->GetFocusCell().row;
    if (row < m_doc->GetTableRowCount())
        moveFocusTo(std::max(row, 0) + 1, focusColumn());
}

void CVorteplanSoftTableView::GoToPreviousPage()
{
    endFocusEdit();
    const int row = m_pGrid->GetFocusCell().row;
    moveFocusTo(std::max(row - labelsPerSheet(), 1), focusColumn());
}

void CVorteplanSoftTableView::GoToNextPage()
{
    if (!m_doc)
        return;
    endFocusEdit();
    const int row = std::max(m_pGrid->GetFocusCell().row, 1);
    moveFocusTo(int(std::min<int64_t>(int64_t(row) + labelsPerSheet(), m_doc->GetTableRowCount())), focusColumn());
}

void CVorteplanSoftTableView::GoToPreviousRow()
{
    if (!m_doc)
        return;
    GoToPreviousRowCommand();
}

void CVorteplanSoftTableView::GoToNextRow()
{
    if (!m_doc)
        return;
    endFocusEdit();
    moveFocusTo(std::max(m_pGrid->GetFocusCell().row, 0) + 1, focusColumn());
}

// --- the character set ---------------------------------------------------------------------

void CVorteplanSoftTableView::Print()
{
    if (m_doc && m_host)
        m_host->Print(this);
}

void CVorteplanSoftTableView::ApplyCharSetBox()
{
    if (!m_doc || !m_host || m_doc->GetCurrentTemplate().IsLocked())
        return;
    m_doc->SetTableCharSet(m_doc->GetCharSetFromName(m_host->CharSetBoxText()));
}
