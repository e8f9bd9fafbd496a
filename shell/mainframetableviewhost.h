#pragma once
// What the table view asks of the application, answered by the main frame:
// the ribbon's character-set box, the "Table" context menu, the main
// window's commands through the router, and the status bar's selection
// pane. Printing and the link-image dialog are not there yet: Print does
// nothing and LinkImages answers false.
#include "tables/tableviewhost.h"

class CCommandRouter;
class CContextMenuManager;
class CMainFrame;

class CMainFrameTableViewHost : public CTableViewHost {
public:
    // All three outlive the host.
    CMainFrameTableViewHost(CMainFrame& frame, CCommandRouter& router, CContextMenuManager& menus);

    std::string CharSetBoxText() const override;
    void ShowCharSetBoxText(const std::string& name) override;
    void ShowContextMenu(QWidget* view, QPoint globalPoint) override;
    void Print(QWidget* view) override;
    bool LinkImages(QWidget* view, const std::string& filter) override;
    void DeleteTable() override;
    void ToggleStackedWindows() override;
    bool IsStackedWindows() const override;
    void SetSelectionPaneText(const QString& text) override;

private:
    CMainFrame& m_frame;
    CCommandRouter& m_router;
    CContextMenuManager& m_menus;
};
