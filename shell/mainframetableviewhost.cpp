#include "shell/mainframetableviewhost.h"

#include "platform/codepage.h"
#include "shell/application/contextmenus.h"
#include "shell/frame/commandids.h"
#include "shell/frame/commandrouter.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"

#include <QLabel>

namespace {

constexpr int kCharSetBox = 693;
constexpr int kDeleteTable = 857;

} // namespace

CMainFrameTableViewHost::CMainFrameTableViewHost(CMainFrame& frame, CCommandRouter& router,
                                                 CContextMenuManager& menus)
    : m_frame(frame), m_router(router), m_menus(menus)
{
}

std::string CMainFrameTableViewHost::CharSetBoxText() const
{
    const CRibbonBar* ribbon = m_frame.Ribbon();
    return ribbon ? codepage::FromUnicode(ribbon->GetEditText(kCharSetBox)) : std::string();
}

void CMainFrameTableViewHost::ShowCharSetBoxText(const std::string& name)
{
    if (CRibbonBar* ribbon = m_frame.Ribbon())
        ribbon->SetEditText(kCharSetBox, codepage::ToUnicode(name));
}

void CMainFrameTableViewHost::ShowContextMenu(QWidget* view, QPoint globalPoint)
{
    m_menus.ShowPopupMenu(QStringLiteral("Table"), globalPoint, view);
}

void CMainFrameTableViewHost::Print(QWidget* /*view*/)
{
}

bool CMainFrameTableViewHost::LinkImages(QWidget* /*view*/, const std::string& /*filter*/)
{
    return false;
}

void CMainFrameTableViewHost::DeleteTable()
{
    m_router.Route(kDeleteTable);
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
