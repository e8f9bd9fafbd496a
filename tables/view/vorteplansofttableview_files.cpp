// The table view's files: table files and Excel workbooks imported into the
// table, filter files loaded and stored, and enabling the filter.
#include "tables/view/vorteplansofttableview.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/import/excelimportcommand.h"
#include "tables/import/excelselectsheetdlg.h"

#include <QFileInfo>

namespace {

FileDialogRequest fileRequest(const char* filter, const char* extension)
{
    FileDialogRequest request;
    request.filter = filter;
    request.defaultExtension = extension;
    return request;
}

std::string fileName(const QString& path)
{
    return codepage::FromUnicode(QFileInfo(path).fileName());
}

} // namespace

void CVorteplanSoftTableView::ImportTable()
{
    const auto path = Ui().AskOpenFileName(fileRequest("Table files |*.tbl;*.tbf||", "tbl"));
    if (path && m_doc) {
        m_doc->SaveTableUndoState();
        // A file that is not read changes nothing; the document has said why.
        if (m_doc->ImportTableFile(*path)) {
            m_doc->SetModifiedFlag(true);
            repaintAll();
            UpdateGridRows();
        }
    }
    m_pGrid->setFocus();
}

void CVorteplanSoftTableView::ImportExcel()
{
    const auto path = Ui().AskOpenFileName(fileRequest("Excel files|*.xl*||", ""));
    if (!path || !m_doc)
        return;
    CExcelSelectSheetDlg chooser(this, codePage());
    ImportExcelIntoCurrentTable(*m_doc, *path, chooser);
    UpdateGridRows();
    m_pGrid->setFocus();
}

void CVorteplanSoftTableView::LoadFilter()
{
    const auto path = Ui().AskOpenFileName(fileRequest("Filter files|*.filter|", "filter"));
    if (!path || !m_doc)
        return;
    if (!m_doc->ReadTableFilterFile(*path)) {
        Ui().ShowMessage(UserMessage{"Can not open file " + fileName(*path), {}, MessageIcon::Error});
        return;
    }
    m_doc->ReapplyTableFilter();
    repaintAll();
    UpdateGridRows();
}

void CVorteplanSoftTableView::StoreFilter()
{
    const auto path = Ui().AskSaveFileName(fileRequest("Filter files|*.filter|", "filter"));
    if (!path || !m_doc)
        return;
    std::string error;
    if (!m_doc->StoreTableFilter(*path, &error))
        Ui().ShowMessage(
            UserMessage{"Can not save file " + fileName(*path) + " (" + error + ")", {}, MessageIcon::Error});
}

bool CVorteplanSoftTableView::AskToCreateFilter()
{
    if (!m_doc)
        return false;
    if (m_doc->GetFilter(m_doc->GetCurrentTableIndex()))
        return true;
    const MessageAnswer answer =
        Ui().Ask(UserMessage{"The table does not have a filter yet, do you want to insert a filter?", {},
                             MessageIcon::Question},
                 MessageButtons::YesNo, MessageAnswer::No);
    if (answer != MessageAnswer::Yes)
        return false;
    m_doc->SetupTableFilter();
    return true;
}

void CVorteplanSoftTableView::EnableFilter()
{
    if (!m_doc)
        return;
    if (!m_doc->GetFilter(m_doc->GetCurrentTableIndex()))
        SetupFilter();
    m_doc->EnableTableFilter();
    UpdateGridRows();
}

bool CVorteplanSoftTableView::IsFilterEnabled() const
{
    if (!m_doc)
        return false;
    const CDataTableFilter* filter = m_doc->GetFilter(m_doc->GetCurrentTableIndex());
    return filter && filter->IsActive();
}
