// The table view's dialogs: the sequence and repeat fills, the row filter
// and the text import.
#include "tables/view/vorteplansofttableview.h"

#include "content/tables/datatablefilter.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/dialogs/tablerepeatdlg.h"
#include "tables/dialogs/tablesequencedlg.h"
#include "tables/grid/gridctrl.h"
#include "tables/import/textimportcommand.h"

namespace {

// The letter of grid column c (1 = A).
std::string columnLetter(int column)
{
    return std::string(1, char('A' + column - 1));
}

} // namespace

void CVorteplanSoftTableView::registerDialogCommands()
{
    add(cmd::kSequence, [this] { SequenceCommand(); });
    add(cmd::kRepeat, [this] { RepeatCommand(); }, [this](TableCommandState& s) { s.enabled = hasDoc(); });
    add(cmd::kFilterSetup, [this] { SetupFilter(); });
    add(cmd::kImportText, [this] { ImportTextFile(); });
}

void CVorteplanSoftTableView::SequenceCommand()
{
    if (!m_doc || m_nCurrentRow < 1 || m_nCurrentColumn < 1)
        return;
    CTableSequenceDlg dialog(this, codePage());
    dialog.SetCell(columnLetter(m_nCurrentColumn).append(std::to_string(m_nCurrentRow)));
    if (dialog.exec() == QDialog::Accepted) {
        const tablefill::SequenceRequest request = SequenceRequestOf(dialog);
        RunSequence(request);
    }
    m_pGrid->setFocus();
}

tablefill::SequenceRequest CVorteplanSoftTableView::SequenceRequestOf(CTableSequenceDlg& dialog)
{
    tablefill::SequenceRequest request;
    request.cell = dialog.GetCell();
    request.start = dialog.GetStartValue();
    request.stop = dialog.GetStopValue(); // last: the stop text decides the letter case
    request.step = dialog.GetStep();
    request.copies = dialog.GetCopies();
    request.sets = dialog.GetSets();
    request.insert = dialog.GetInsert();
    request.reverse = dialog.GetReverse();
    // Every value lies between start and stop, which are int32.
    request.format = [&dialog](int64_t value) { return dialog.FormatValue(int32_t(value)); };
    return request;
}

void CVorteplanSoftTableView::RepeatCommand()
{
    if (!m_doc || m_nCurrentColumn < 0 || m_nCurrentColumn > 26 || m_nCurrentRow < 0)
        return;
    endFocusEdit();
    CTableRepeatDlg dialog(this, codePage());
    dialog.SetColumn(columnLetter(m_nCurrentColumn));
    dialog.SetRow(m_nCurrentRow);
    dialog.SetCopies(1);
    if (m_nCurrentRow >= 1 && m_nCurrentColumn >= 1)
        dialog.SetText(m_doc->GetTableCellText(m_nCurrentRow - 1, m_nCurrentColumn - 1));
    if (dialog.exec() == QDialog::Accepted) {
        tablefill::RepeatRequest request;
        request.column = dialog.GetColumn();
        request.row = dialog.GetRow();
        request.copies = dialog.GetCopies();
        request.insert = dialog.GetInsert();
        request.text = dialog.GetText();
        RunRepeat(request);
    }
    m_pGrid->setFocus();
}

void CVorteplanSoftTableView::SetupFilter()
{
    if (!m_doc || !AskToCreateFilter() || m_pFilterDialog)
        return;
    const CDataTableFilter* filter = m_doc->GetFilter(m_doc->GetCurrentTableIndex());
    m_pFilterDialog = new CTableFilterDlg(*m_doc, filter ? filter->GetMarkingType() : 0, this);
    m_pFilterDialog->show();
}

void CVorteplanSoftTableView::ImportTextFile()
{
    if (!m_doc)
        return;
    if (ImportTextFileIntoCurrentTable(*m_doc, this)) {
        repaintAll();
        UpdateGridRows();
    }
    m_pGrid->setFocus();
}
