#include "shell/mainframetableviewhost.h"

#include "platform/codepage.h"
#include "platform/commandids.h"
#include "shell/application/contextmenus.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/linkimage/linkimagefiledialog.h"
#include "shell/printdriver.h"
#include "tables/view/vorteplansofttableview.h"

#include <QLabel>
#include <QPrinter>

CMainFrameTableViewHost::CMainFrameTableViewHost(CMainFrame& frame, CCommandRouter& router,
                                                 CContextMenuManager& menus)
    : m_frame(frame), m_router(router), m_menus(menus)
{
}

std::string CMainFrameTableViewHost::CharSetBoxText() const
{
    const CRibbonBar* ribbon = m_frame.Ribbon();
    return ribbon ? codepage::FromUnicode(ribbon->GetEditText(cmd::kCharSetBox)) : std::string();
}

void CMainFrameTableViewHost::ShowCharSetBoxText(const std::string& name)
{
    if (CRibbonBar* ribbon = m_frame.Ribbon())
        ribbon->SetEditText(cmd::kCharSetBox, codepage::ToUnicode(name));
}

void CMainFrameTableViewHost::ShowContextMenu(QWidget* view, QPoint globalPoint)
{
    m_menus.ShowPopupMenu(QStringLiteral("Table"), globalPoint, view);
}

void CMainFrameTableViewHost::Print(QWidget* view)
{
    auto* tableView = qobject_cast<CVorteplanSoftTableView*>(view);
    if (!tableView || !tableView->GetDocument())
        return;
    QPrinter& printer = m_printer ? *m_printer : CPrintDriver::ApplicationPrinter();
    // Whole rows selected of a template that prints table data: the dialog
    // offers the selection and has it chosen.
    const bool selection = tableView->PreselectPrintSelection();
    printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    CPrintDriver::Job job;
    job.parent = view;
    job.selection = selection ? tableView : nullptr;
    job.runDialog = m_runDialog;
    job.saveAfterPrint = true;
    CPrintDriver::PrintDocument(*tableView->GetDocument(), printer, job);
}

bool CMainFrameTableViewHost::LinkImages(QWidget* view, const std::string& /*filter*/)
{
    // The dialog browses pictures itself; the filter's extensions are its own.
    auto* tableView = qobject_cast<CVorteplanSoftTableView*>(view);
    if (!tableView)
        return false;
    CLinkImageFileDialog dialog(*tableView, view->window());
    dialog.exec();
    return true;
}

void CMainFrameTableViewHost::DeleteTable()
{
    m_router.Route(cmd::kDeleteTable);
}

void CMainFrameTableViewHost::ToggleStackedWindows()
{
}

bool CMainFrameTableViewHost::IsStackedWindows() const
{
    return false;
}

void CMainFrameTableViewHost::SetSelectionPaneText(const QString& text)
{
    if (QLabel* pane = m_frame.StatusPane(cmd::kStatusPane2))
        pane->setText(text);
}
