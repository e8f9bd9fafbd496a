#pragma once
// The view of a table tab: the document's current table in a virtual grid
// (grid row r shows table row r - 1, grid column c table column c - 1).
// It turns the grid's notifications into document operations, owns the
// table commands of the ribbon and the context menu, searches and replaces
// in the table, imports files into it, and serves the print run and the
// link-image dialog with the selected rows and the image cells of the
// current row. What it needs of the application goes through
// CTableViewHost.
//
// Grid columns and image-column flags: with an enabled filter the grid
// shows the filtered table, whose columns are the shown columns of the full
// table; the flags belong to the full table's columns. Every change from
// one to the other goes through the document's shown-column mapping.
#include "document/frame/document.h"
#include "document/project/areadraw.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/gridowner.h"
#include "tables/view/findreplacedialog.h"
#include "tables/view/tablecommand.h"
#include "tables/view/tablefill.h"

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class CGridCtrl;
class CTableViewHost;
class CVorteplanSoftLabelDoc;
class CTableSequenceDlg;

class CVorteplanSoftTableView : public QWidget, public CDocView, public CGridOwner, public CRowSelection {
    Q_OBJECT
public:
    // The find / replace kinds of FindReplaceInTable.
    enum class FindKind { Find, Replace, ReplaceAll };

    // Builds the grid; with a document the view attaches itself to it and
    // runs its initial update.
    CVorteplanSoftTableView(CVorteplanSoftLabelDoc* document, CTableViewHost* host, QWidget* parent = nullptr);
    ~CVorteplanSoftTableView() override;

    CVorteplanSoftLabelDoc* GetDocument() const { return m_doc; }
    // The commands this view claims, for the command router.
    const TableCommandList& Commands() const { return m_commands; }
    // Runs a claimed command when its update state allows it; false when
    // the view does not claim it or it is disabled.
    bool RunCommand(int id);
    TableCommandState CommandState(int id) const;
    CGridCtrl* Grid() const { return m_pGrid; }
    int CurrentRow() const { return m_nCurrentRow; }
    int CurrentColumn() const { return m_nCurrentColumn; }
    CFindReplaceDialog* FindDialog() const { return m_pFindDialog; }

    // --- grid rows
    void ResizeGridRows(int height);
    void UpdateGridRows();

    // --- selection as the view reads it
    bool IsWholeRowSelection() const;
    bool IsWholeColumnSelection() const;
    int CountSelectedRows() const;
    // Grid rows whose column-1 cell is selected; -1 when none.
    int FindFirstSelectedRow() const;
    int FindLastSelectedRow() const;
    int FindNextSelectedRow(int row) const;
    int FindPreviousSelectedRow(int row) const;
    // The status pane text for the selection.
    QString SelectionPaneText() const;
    // Print: whether the print dialog opens with Selection chosen (the
    // current template prints table data and whole rows are selected).
    bool PreselectPrintSelection() const;
    // For the print run: table row `row` (0-based) is selected.
    bool IsRowSelected(int row) const override;

    // --- commands (public for the context menu's and the tests' sake)
    void InsertRow();
    void InsertColumn();
    void DeleteSelection();
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    bool CanUndo() const;
    void ToggleImageColumnCommand();
    int ImageColumnCheck() const;
    void LinkImage();
    void SortCommand(bool descending);
    void GoToFirstRow();
    void GoToLastRow();
    void GoToPreviousRowCommand();
    void GoToNextRowCommand();
    void GoToPreviousPage();
    void GoToNextPage();
    void OpenFindDialog(bool replace);
    void ImportExcel();
    void ImportTable();
    void LoadFilter();
    void StoreFilter();
    // Enable filter: a table without a filter is offered one first.
    void EnableFilter();
    bool IsFilterEnabled() const;
    // Asks whether to create a filter when the table has none; true when
    // it has one now.
    bool AskToCreateFilter();
    void ApplyCharSetBox();
    // Print (57607): the print run through the host.
    void Print();
    // The fills with the values their dialogs answer.
    void RunSequence(const tablefill::SequenceRequest& request);
    void RunRepeat(const tablefill::RepeatRequest& request);
    // What an accepted sequence dialog asks for; its format uses the
    // dialog, which must outlive the request.
    static tablefill::SequenceRequest SequenceRequestOf(CTableSequenceDlg& dialog);
    // --- the dialogs (vorteplansofttableview_dialogs.cpp)
    // Sequence (731) and Repeat (741): the dialog, then the fill.
    void SequenceCommand();
    void RepeatCommand();
    // Setup filter (804): a table without a filter is offered one; then the
    // filter dialog opens unless it is open already.
    void SetupFilter();
    CTableFilterDlg* FilterDialog() const { return m_pFilterDialog; }
    // Import a text file (805).
    void ImportTextFile();

    // --- find and replace
    // A request of the find dialog (FR_* flags; texts as typed).
    void OnFindReplaceRequest(int flags, const QString& findText, const QString& replaceText);
    bool FindReplaceInTable(const std::string& text, bool matchCase, bool wholeWord, bool down, FindKind kind,
                            const std::string& replacement);

    // --- services for the link-image dialog and the image browser
    void GoToPreviousRow();
    void GoToNextRow();
    void FillImageColumn(int n, const std::vector<std::string>& names);
    void SetImageCell(int n, int offset, const std::string& name);
    bool AreImageCellsFilled() const;
    std::string GetImageCell(int n) const;
    void ClearImageCell(int n);

    // The document deleted this view's table: the view goes once the event
    // loop is reached again.
    void DestroyLater();
    // Link-image requests posted by refused edits so far (coalesced).
    int PostedLinkImageCount() const { return m_linkImagePosts; }

    // --- CDocView
    ViewKind GetViewKind() const override { return ViewKind::Table; }
    void Invalidate() override;
    void EndInPlaceEdit() override;
    bool GetGridFont(LOGFONTA& font) const override;
    void SetGridFont(const LOGFONTA& font) override;

    // --- CGridOwner
    int ItemChanged(int row, int column) override;
    int BeginLabelEdit(int row, int column) override;
    int EndLabelEdit(int row, int column, const std::string& text) override;
    int GetDispInfo(int row, int column, std::string& text) override;
    void SaveTableUndo() override;
    void EnableTableUndo(bool on) override;
    void GridCommand(int id) override;

signals:
    // Commands 242 / 243 / 244 for the tab view holding this view.
    void pageCommand(int id);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void add(int id, std::function<void()> run, std::function<void(TableCommandState&)> update = {});
    void registerCommands();
    void registerEditCommands();
    void registerTableCommands();
    void registerDialogCommands();
    bool hasDoc() const { return m_doc != nullptr; }
    int codePage() const;
    void endFocusEdit();
    void moveFocusTo(int row, int column);
    int focusColumn() const;
    int labelsPerSheet() const;
    void postLinkImage();
    void repaintAll();
    // Switches the table's undo snapshots; switching them off starts a bulk
    // edit of the grid, switching them on ends it. True when the end
    // repainted the views for the cells the bulk edit stored.
    bool switchTableUndo(bool on);
    void updateSelectionPane();
    // The full-table column of grid column c (>= 1); -1 when none.
    int flagColumnOfGridColumn(int column) const;
    // The visible-table column showing full-table column j; -1 when hidden.
    int cellColumnOfFlagColumn(int flagColumn) const;
    // The n-th image column (0-based) of the full table; -1 when none.
    int nthImageColumn(int n) const;
    int imageCellColumn(int n) const;

    CVorteplanSoftLabelDoc* m_doc = nullptr;
    CTableViewHost* m_host = nullptr;
    CGridCtrl* m_pGrid = nullptr;
    int m_nCurrentRow = 0;
    int m_nCurrentColumn = 0;
    std::string m_strLastFindText;
    bool m_bMatchCase = false;
    bool m_bWholeWord = false;
    bool m_bFoundOnce = false;
    bool m_bPasting = false;
    // A bulk edit of the grid (paste, cut, clearing) is under way, and
    // whether it has stored a cell: its cells repaint the views once, at
    // its end, not one by one.
    bool m_bulkEdit = false;
    bool m_bulkEditStored = false;
    bool m_linkImagePending = false;
    int m_linkImagePosts = 0;
    QPointer<CFindReplaceDialog> m_pFindDialog;
    QPointer<CTableFilterDlg> m_pFilterDialog; // clears itself when the dialog goes
    TableCommandList m_commands;
};
