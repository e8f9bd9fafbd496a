// The table view: grid set-up, the grid's notifications, window events,
// grid rows, the selection walkers and the image cells of the current row.
#include "tables/view/vorteplansofttableview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/modeltext.h"
#include "platform/queuedcall.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/tableviewhost.h"
#include "tables/view/findreplacedialog.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>

#include <algorithm>

namespace {

constexpr int kGridColumns = 27;
constexpr int kMaxImageName = 259;

} // namespace

CVorteplanSoftTableView::CVorteplanSoftTableView(CVorteplanSoftLabelDoc* document, CTableViewHost* host,
                                                 QWidget* parent)
    : QWidget(parent), m_doc(document), m_host(host)
{
    m_pGrid = new CGridCtrl(this, this);
    m_pGrid->setGeometry(0, 0, 600, 600);
    m_pGrid->SetColumnCount(kGridColumns);
    m_pGrid->SetRowCount(1000);
    m_pGrid->SetVirtualMode(true);
    m_pGrid->SetEditable(true);
    m_pGrid->SetFixedRowSelection(true);
    m_pGrid->SetFixedColumnSelection(true);
    m_pGrid->SetFixedRowCount(1);
    m_pGrid->SetFixedColumnCount(1);
    m_pGrid->SetColumnCount(kGridColumns);
    m_pGrid->SetRowCount(100);
    m_pGrid->SetAutoSizeStyle(3);
    m_pGrid->SetRowResize(false);
    m_pGrid->SetHeaderSort(false);
    setFocusProxy(m_pGrid);
    connect(m_pGrid, &CGridCtrl::cellReleased, this, &CVorteplanSoftTableView::updateSelectionPane);
    registerCommands();
    if (m_doc) {
        m_pGrid->SetGridFont(m_doc->GetTableFont());
        m_doc->AddView(this);
        UpdateGridRows();
    }
}

CVorteplanSoftTableView::~CVorteplanSoftTableView()
{
    if (m_pFindDialog)
        delete m_pFindDialog.data();
    if (m_pFilterDialog)
        delete m_pFilterDialog.data();
    if (m_doc)
        m_doc->RemoveView(this);
    // The grid goes first: its last notifications must still find the view.
    delete m_pGrid;
    m_pGrid = nullptr;
}

int CVorteplanSoftTableView::codePage() const
{
    return m_pGrid ? m_pGrid->CodePage() : codepage::kAnsi;
}

void CVorteplanSoftTableView::DestroyLater()
{
    PostDestroy(this);
}

// --- CDocView ------------------------------------------------------------------------------

void CVorteplanSoftTableView::Invalidate()
{
    if (m_pGrid)
        m_pGrid->viewport()->update();
}

void CVorteplanSoftTableView::EndInPlaceEdit()
{
    if (m_pGrid)
        m_pGrid->EndEditing();
}

bool CVorteplanSoftTableView::GetGridFont(LOGFONTA& font) const
{
    if (!m_pGrid)
        return false;
    font = m_pGrid->GetGridFont();
    return true;
}

void CVorteplanSoftTableView::SetGridFont(const LOGFONTA& font)
{
    if (m_pGrid)
        m_pGrid->SetGridFont(font);
}

void CVorteplanSoftTableView::repaintAll()
{
    m_doc->TableDataEdited();
}

// --- grid notifications --------------------------------------------------------------------

int CVorteplanSoftTableView::GetDispInfo(int row, int column, std::string& text)
{
    text.clear();
    if (row == 0 && column >= 1) {
        if (!m_doc)
            return 0;
        const int i = m_doc->GetSourceColumnIndex(column - 1);
        if (i >= 0 && i <= 255 && m_doc->IsImageColumn(i)) {
            text = "Image " + std::to_string(m_doc->GetImageColumnNumber(i));
        } else if (i >= 0 && i < 26) {
            text = std::string(1, char('A' + i));
        }
        return 0;
    }
    if (column == 0 && row >= 1) {
        text = std::to_string(row);
        return 0;
    }
    if (row >= 1 && column >= 1 && m_doc)
        text = m_doc->GetTableCellText(row - 1, column - 1);
    return 0;
}

int CVorteplanSoftTableView::ItemChanged(int row, int column)
{
    if (row != m_nCurrentRow) {
        m_nCurrentRow = row;
        UpdateGridRows();
    }
    m_nCurrentColumn = column;
    if (m_doc)
        m_doc->SetCurrentTableRow(row != -1 ? row - 1 : FindFirstSelectedRow() - 1);
    return 0;
}

int CVorteplanSoftTableView::BeginLabelEdit(int row, int column)
{
    if (!m_doc || row < 1 || column < 1 || m_bPasting)
        return 0;
    // A column of the filtered view that shows no table column (the last
    // ones while the filter hides columns) has nowhere to keep a text.
    if (m_doc->IsTableFilterEnabled()) {
        const int source = m_doc->GetSourceColumnIndex(column - 1);
        if (source < 0 || source >= CDataTableBase::kColumnCount)
            return -1;
    }
    const int flagColumn = flagColumnOfGridColumn(column);
    if (flagColumn >= 0 && m_doc->IsImageColumn(flagColumn)) {
        postLinkImage();
        return -1;
    }
    return 0;
}

int CVorteplanSoftTableView::EndLabelEdit(int row, int column, const std::string& text)
{
    if (!m_doc || row < 1 || column < 1)
        return 0;
    // A cell holds 255 bytes: cut on a character boundary.
    std::string cell = text;
    modeltext::CutToLimit(cell, 255, codePage());
    m_doc->SaveTableUndoState();
    m_doc->SetTableCellText(cell, row - 1, column - 1);
    // The typed text is a change of the document like any other.
    if (m_bulkEdit)
        m_bulkEditStored = true;
    else
        repaintAll();
    return 0;
}

void CVorteplanSoftTableView::SaveTableUndo()
{
    if (m_doc)
        m_doc->SaveTableUndoState();
}

void CVorteplanSoftTableView::EnableTableUndo(bool on)
{
    switchTableUndo(on);
}

bool CVorteplanSoftTableView::switchTableUndo(bool on)
{
    if (!m_doc)
        return false;
    m_doc->SetTableUndo(m_doc->GetCurrentTableIndex(), on);
    m_bulkEdit = !on;
    const bool stored = on && m_bulkEditStored;
    m_bulkEditStored = false;
    if (stored)
        repaintAll();
    return stored;
}

void CVorteplanSoftTableView::GridCommand(int id)
{
    PostCall(this, [this, id] { RunCommand(id); });
}

void CVorteplanSoftTableView::postLinkImage()
{
    // One pending request at a time: a cut over many image cells asks once.
    ++m_linkImagePosts;
    if (m_linkImagePending)
        return;
    m_linkImagePending = true;
    PostCall(this, [this] {
        m_linkImagePending = false;
        LinkImage();
    });
}

// --- window events -------------------------------------------------------------------------

void CVorteplanSoftTableView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pGrid->setGeometry(0, 0, width(), height());
    ResizeGridRows(height());
}

void CVorteplanSoftTableView::keyPressEvent(QKeyEvent* event)
{
    if (!event->text().isEmpty())
        Ui().Beep();
    event->accept();
}

void CVorteplanSoftTableView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void CVorteplanSoftTableView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void CVorteplanSoftTableView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_host)
        m_host->ShowContextMenu(this, event->globalPos());
    event->accept();
}

void CVorteplanSoftTableView::closeEvent(QCloseEvent* event)
{
    // Closing the page asks for the table to be deleted; the document then
    // destroys the view.
    event->ignore();
    if (m_host)
        m_host->DeleteTable();
}

// --- grid rows -----------------------------------------------------------------------------

void CVorteplanSoftTableView::ResizeGridRows(int height)
{
    if (!m_doc)
        return;
    const int rowHeight = std::max(m_pGrid->GetRowHeight(0), 1);
    const int visible = height / rowHeight;
    int n = int(int64_t(visible) * 12 / 10);
    n = std::max(n, m_doc->GetTableRowCount() + 11);
    n = std::max(n, m_nCurrentRow + 11);
    if (n != m_pGrid->GetRowCount())
        m_pGrid->SetRowCount(n);
}

void CVorteplanSoftTableView::UpdateGridRows()
{
    ResizeGridRows(height());
}

// --- selection -----------------------------------------------------------------------------

bool CVorteplanSoftTableView::IsWholeRowSelection() const
{
    const CCellRange r = m_pGrid->GetSelectedCellRange();
    return r.IsValid() && r.minCol == 1 && r.maxCol == m_pGrid->GetColumnCount() - 1;
}

bool CVorteplanSoftTableView::IsWholeColumnSelection() const
{
    const CCellRange r = m_pGrid->GetSelectedCellRange();
    return r.IsValid() && r.minRow == 1 && r.maxRow == m_pGrid->GetRowCount() - 1;
}

int CVorteplanSoftTableView::CountSelectedRows() const
{
    if (!IsWholeRowSelection())
        return 0;
    const CCellRange r = m_pGrid->GetSelectedCellRange();
    int n = 0;
    for (int row = r.minRow; row <= r.maxRow; ++row)
        if (m_pGrid->IsCellSelected(row, 1))
            ++n;
    return n;
}

int CVorteplanSoftTableView::FindFirstSelectedRow() const
{
    return FindNextSelectedRow(0);
}

int CVorteplanSoftTableView::FindNextSelectedRow(int row) const
{
    for (int r = std::max(row + 1, 1); r < m_pGrid->GetRowCount(); ++r)
        if (m_pGrid->IsCellSelected(r, 1))
            return r;
    return -1;
}

int CVorteplanSoftTableView::FindPreviousSelectedRow(int row) const
{
    for (int r = std::min(row - 1, m_pGrid->GetRowCount() - 1); r >= 1; --r)
        if (m_pGrid->IsCellSelected(r, 1))
            return r;
    return -1;
}

int CVorteplanSoftTableView::FindLastSelectedRow() const
{
    return FindPreviousSelectedRow(m_pGrid->GetRowCount());
}

QString CVorteplanSoftTableView::SelectionPaneText() const
{
    const int n = CountSelectedRows();
    if (n == 0)
        return QString();
    if (n == 1)
        return QStringLiteral("One row selected");
    return QStringLiteral("%1 rows selected").arg(n);
}

void CVorteplanSoftTableView::updateSelectionPane()
{
    if (m_host)
        m_host->SetSelectionPaneText(SelectionPaneText());
}

bool CVorteplanSoftTableView::PreselectPrintSelection() const
{
    if (!m_doc)
        return false;
    const CTemplate& tpl = m_doc->GetCurrentTemplate();
    bool usesTable = false;
    for (int area = 0; area < 3; ++area)
        if (const CGraphCollection* objects = tpl.GetArea(area); objects && objects->UsesTableData())
            usesTable = true;
    return usesTable && IsWholeRowSelection();
}

bool CVorteplanSoftTableView::IsRowSelected(int row) const
{
    return row >= 0 && m_pGrid->IsCellSelected(row + 1, 1);
}

// --- columns and image cells ---------------------------------------------------------------

int CVorteplanSoftTableView::flagColumnOfGridColumn(int column) const
{
    if (!m_doc || column < 1)
        return -1;
    return m_doc->GetSourceColumnIndex(column - 1);
}

int CVorteplanSoftTableView::cellColumnOfFlagColumn(int flagColumn) const
{
    if (!m_doc || flagColumn < 0)
        return -1;
    if (!m_doc->IsTableFilterEnabled())
        return flagColumn;
    for (int k = 0; k < 256; ++k) {
        const int source = m_doc->GetSourceColumnIndex(k);
        if (source < 0)
            return -1;
        if (source == flagColumn)
            return k;
    }
    return -1;
}

int CVorteplanSoftTableView::nthImageColumn(int n) const
{
    if (!m_doc || n < 0)
        return -1;
    int seen = 0;
    for (int j = 0; j < 26; ++j)
        if (m_doc->IsImageColumn(j) && seen++ == n)
            return j;
    return -1;
}

int CVorteplanSoftTableView::imageCellColumn(int n) const
{
    return cellColumnOfFlagColumn(nthImageColumn(n));
}

void CVorteplanSoftTableView::FillImageColumn(int n, const std::vector<std::string>& names)
{
    const int column = imageCellColumn(n);
    if (column < 0)
        return;
    m_doc->SaveTableUndoState();
    int row = m_nCurrentRow - 1;
    const size_t count = std::min<size_t>(names.size(), 1024);
    for (size_t i = 0; i < count && row >= 0; ++i, ++row) {
        std::string name = names[i];
        modeltext::CutToLimit(name, kMaxImageName, codePage());
        m_doc->SetTableCellText(name, row, column);
    }
    repaintAll();
}

void CVorteplanSoftTableView::SetImageCell(int n, int offset, const std::string& name)
{
    const int column = imageCellColumn(n);
    const int row = m_nCurrentRow - 1 + offset;
    if (column < 0 || row < 0)
        return;
    std::string text = name;
    modeltext::CutToLimit(text, kMaxImageName, codePage());
    m_doc->SetTableCellText(text, row, column);
    repaintAll();
}

bool CVorteplanSoftTableView::AreImageCellsFilled() const
{
    if (!m_doc)
        return false;
    for (int n = 0;; ++n) {
        const int flagColumn = nthImageColumn(n);
        if (flagColumn < 0)
            return true;
        const int column = cellColumnOfFlagColumn(flagColumn);
        if (column >= 0 && m_doc->GetTableCellText(m_nCurrentRow - 1, column).empty())
            return false;
    }
}

std::string CVorteplanSoftTableView::GetImageCell(int n) const
{
    const int column = imageCellColumn(n);
    if (column < 0)
        return {};
    std::string text = m_doc->GetTableCellText(m_nCurrentRow - 1, column);
    modeltext::CutToLimit(text, kMaxImageName, codePage());
    return text;
}

void CVorteplanSoftTableView::ClearImageCell(int n)
{
    const int column = imageCellColumn(n);
    if (column < 0 || m_nCurrentRow < 1)
        return;
    m_doc->SetTableCellText({}, m_nCurrentRow - 1, column);
    repaintAll();
}
