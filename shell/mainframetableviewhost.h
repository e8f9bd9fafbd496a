#pragma once
// What the table view asks of the application, answered by the main frame:
// the ribbon's character-set box, the "Table" context menu, the main
// window's commands through the router, and the status bar's selection
// pane, printing through the print driver, and the link-image dialog.
#include "tables/tableviewhost.h"

#include <functional>

class CCommandRouter;
class CContextMenuManager;
class CMainFrame;
class QPrintDialog;
class QPrinter;

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

    // Tests: a printer instead of the application's, and what runs the
    // print dialog (true for OK) instead of showing it.
    void SetPrintHooks(QPrinter* printer, std::function<bool(QPrintDialog&)> runDialog)
    {
        m_printer = printer;
        m_runDialog = std::move(runDialog);
    }

private:
    CMainFrame& m_frame;
    CCommandRouter& m_router;
    CContextMenuManager& m_menus;
    QPrinter* m_printer = nullptr;
    std::function<bool(QPrintDialog&)> m_runDialog;
};
