// The table view's find and replace, and the sequence and repeat fills.
#include "tables/view/vorteplansofttableview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/modeltext.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/view/findreplacedialog.h"
#include "tables/view/tablesearch.h"

#include <algorithm>
#include <cctype>

// --- find and replace ----------------------------------------------------------------------

void CVorteplanSoftTableView::OpenFindDialog(bool replace)
{
    if (m_pFindDialog) {
        m_pFindDialog->show();
        m_pFindDialog->raise();
        m_pFindDialog->activateWindow();
        return;
    }
    m_pFindDialog = new CFindReplaceDialog(replace, this);
    connect(m_pFindDialog, &CFindReplaceDialog::request, this, &CVorteplanSoftTableView::OnFindReplaceRequest);
    m_pFindDialog->show();
}

void CVorteplanSoftTableView::OnFindReplaceRequest(int flags, const QString& findText, const QString& replaceText)
{
    if (flags & FR_DIALOGTERM) {
        m_pFindDialog = nullptr;
        m_pGrid->setFocus();
        return;
    }
    std::string text = codepage::FromUnicode(findText, codePage());
    std::string replacement = codepage::FromUnicode(replaceText, codePage());
    modeltext::CutToLimit(text, tablesearch::kMaxCellBytes, codePage());
    modeltext::CutToLimit(replacement, tablesearch::kMaxCellBytes, codePage());
    const bool matchCase = flags & FR_MATCHCASE;
    const bool wholeWord = flags & FR_WHOLEWORD;
    const bool down = flags & FR_DOWN;
    bool result = true;
    if (flags & FR_FINDNEXT)
        result = FindReplaceInTable(text, matchCase, wholeWord, down, FindKind::Find, replacement);
    else if (flags & FR_REPLACE)
        result = FindReplaceInTable(text, matchCase, wholeWord, down, FindKind::Replace, replacement);
    else if (flags & FR_REPLACEALL)
        result = FindReplaceInTable(text, matchCase, wholeWord, down, FindKind::ReplaceAll, replacement);
    if (!result && !m_bFoundOnce)
        Ui().ShowMessage(UserMessage{"Cannot find the text you're searching for.", {}, MessageIcon::None});
}

bool CVorteplanSoftTableView::FindReplaceInTable(const std::string& text, bool matchCase, bool wholeWord, bool down,
                                                 FindKind kind, const std::string& replacement)
{
    const CCellID focus = m_pGrid->GetFocusCell();
    if (!m_doc || !m_pGrid->IsValid(focus) || focus.row < 1 || focus.col < 1)
        return false;
    int r = focus.row - 1;
    const int c = focus.col - 1;
    const int n = m_doc->GetTableRowCount();
    if (text != m_strLastFindText) {
        m_bFoundOnce = false;
        m_strLastFindText = text;
    }
    if (matchCase != m_bMatchCase) {
        m_bFoundOnce = false;
        m_bMatchCase = matchCase;
    }
    if (wholeWord != m_bWholeWord) {
        m_bFoundOnce = false;
        m_bWholeWord = wholeWord;
    }
    const tablesearch::CaseFolder folder(codePage());
    bool snapshotPending = true;
    bool replacedAny = false;
    bool skipStep = kind != FindKind::Find;
    for (;;) {
        if (!skipStep) {
            r += down ? 1 : -1;
            if (r >= n || r < 0)
                break;
        }
        skipStep = false;
        if (r >= n || r < 0)
            break;
        const std::string cell = m_doc->GetTableCellText(r, c);
        if (!tablesearch::Matches(cell, text, matchCase, wholeWord, folder))
            continue;
        m_bFoundOnce = true;
        if (kind == FindKind::Find)
            break;
        if (snapshotPending) {
            m_doc->SaveTableUndoState();
            snapshotPending = kind != FindKind::ReplaceAll;
        }
        const std::string newText =
            wholeWord ? replacement : tablesearch::ReplaceFirstOccurrence(cell, text, replacement, matchCase, folder);
        m_doc->SetTableCellText(newText, r, c);
        replacedAny = true;
        if (kind == FindKind::Replace)
            break;
    }
    if (replacedAny)
        repaintAll();
    if (kind == FindKind::ReplaceAll || r >= n || r < 0)
        return m_bFoundOnce;
    moveFocusTo(r + 1, c + 1);
    return true;
}

// --- sequence and repeat ---------------------------------------------------------------------

void CVorteplanSoftTableView::RunSequence(const tablefill::SequenceRequest& request)
{
    if (!m_doc || m_nCurrentRow < 1 || m_nCurrentColumn < 1)
        return;
    const auto cell = tablefill::ParseCell(request.cell);
    const int64_t values = tablefill::SequenceValueCount(request.start, request.stop, request.step, request.reverse);
    // A fill that cannot end in a sensible table is refused before anything
    // is touched.
    if (cell && !tablefill::FitsRowLimit(cell->row - 1, values, request.copies, request.sets)) {
        Ui().ShowMessage(UserMessage{tablefill::LimitMessage(), {}, MessageIcon::Warning});
        return;
    }
    m_doc->SaveTableUndoState();
    if (!cell)
        return;
    endFocusEdit();
    CWaitCursor wait;
    const int first = int(cell->row - 1);
    const int column = cell->column;
    // No copies write nothing (and the values need not be counted out).
    const int copies = int(std::clamp<int64_t>(request.copies, 0, tablefill::kMaxFillRows));
    std::vector<std::string> texts;
    if (copies > 0)
        texts.reserve(size_t(values * request.sets));
    for (int64_t set = 0; copies > 0 && set < request.sets; ++set) {
        for (int64_t i = 0; i < values; ++i) {
            const int64_t v = request.reverse ? request.start - i * request.step : request.start + i * request.step;
            texts.push_back(request.format ? request.format(v) : std::to_string(v));
        }
    }
    // With Insert, room for every copy of a value, so the rows below survive.
    m_doc->FillTableColumn(texts, first, column, copies, request.insert);
    const int write = int(first + int64_t(texts.size()) * copies);
    UpdateGridRows();
    moveFocusTo(write + 1, column + 1);
    m_pGrid->setFocus();
}

void CVorteplanSoftTableView::RunRepeat(const tablefill::RepeatRequest& request)
{
    if (!m_doc || m_nCurrentColumn < 0 || m_nCurrentColumn > 26 || m_nCurrentRow < 0)
        return;
    endFocusEdit();
    if (request.row >= 1 && request.copies >= 1 && !tablefill::FitsRowLimit(request.row - 1, 1, request.copies, 1)) {
        Ui().ShowMessage(UserMessage{tablefill::LimitMessage(), {}, MessageIcon::Warning});
        return;
    }
    m_doc->SaveTableUndoState();
    const int column = request.column.empty()
                           ? -1
                           : std::toupper(static_cast<unsigned char>(request.column[0])) - 'A';
    // Row 0 or less addresses no table row.
    if (column < 0 || column > 25 || request.row < 1 || request.copies < 1)
        return;
    const int row = int(request.row);
    if (request.insert)
        m_doc->InsertTableRows(row, int(request.copies - 1));
    std::string text = request.text;
    modeltext::CutToLimit(text, tablesearch::kMaxCellBytes, codePage());
    for (int64_t i = 0; i < request.copies; ++i)
        m_doc->SetTableCellText(text, int(row - 1 + i), column);
    moveFocusTo(int(row - 1 + request.copies), column + 1);
    repaintAll();
    UpdateGridRows();
    m_pGrid->setFocus();
}
