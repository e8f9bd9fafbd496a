#pragma once
// The main window: the ribbon, the open projects as tabs (close button on
// the active tab, the document menu at the right of the tab row), the
// status bar with its two panes, the accelerators and the application
// looks. It is the third link of the command route and runs the idle
// update passes that give ribbon elements and panes their state.
#include "shell/frame/commandrouter.h"

#include <QMainWindow>
#include <QPointer>

#include <vector>

class CChildFrame;
class CRibbonBar;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;

class CMainFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    static constexpr int kStatusBarId = 59393;

    // `router` outlives the frame; the frame links itself and the active
    // project into it.
    explicit CMainFrame(CCommandRouter& router, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the frame: the stored look, the tabbed project area, the
    // ribbon, the status bar and accelerators. False when it failed.
    bool Create();

    CRibbonBar* Ribbon() const { return m_ribbon; }
    QMdiArea* MdiArea() const { return m_mdi; }
    QToolButton* DocumentMenuButton() const { return m_documentMenuButton; }
    // Status pane 120 or 121; null for another id.
    QLabel* StatusPane(int id) const;
    const std::vector<QAction*>& AcceleratorActions() const { return m_accelerators; }

    // --- projects
    void AddChild(CChildFrame* child);
    CChildFrame* GetActiveChild() const;
    std::vector<CChildFrame*> GetChildren() const;

    // --- window state, kept in the settings ("Workspace")
    static constexpr const char* kWindowStateKey = "MainWindow";
    // Shows the window as it was when the program last ended (maximised on
    // the first start).
    void ShowWithStoredState();
    void SaveWindowState() const;

    // --- looks: the current look (210-218 or the stored other value).
    int GetLook() const { return m_look; }
    int GetOffice2007Style() const { return m_office2007Style; }
    void OnApplicationLook(int look);

    // One idle pass now: ribbon elements and status panes.
    void UpdateCommandUI();
    // Asks for a pass once the event queue is empty (coalesced).
    void RequestIdleUpdate();
    int IdlePassCount() const { return m_idlePasses; }

signals:
    // Local files dropped on the window, in order.
    void filesDropped(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createStatusBar();
    void createAccelerators();
    void createDocumentMenu();
    void fillDocumentMenu();
    void showWindowDialog();
    void placeDocumentMenuButton();
    void updateTabCloseButtons();
    void updateWindowTitle();
    // Before the program ends: one round of questions about every modified
    // project, then every window closes. False, with every window open,
    // when an answer was Cancel or a save failed.
    bool closeProjects();

    CCommandRouter& m_router;
    CRibbonBar* m_ribbon = nullptr;
    QMdiArea* m_mdi = nullptr;
    QLabel* m_pane1 = nullptr;
    QLabel* m_pane2 = nullptr;
    QToolButton* m_documentMenuButton = nullptr;
    QMenu* m_documentMenu = nullptr;
    std::vector<QAction*> m_accelerators;
    // The project window last activated (or added while hidden).
    QPointer<CChildFrame> m_current;
    // The project window whose views gave the ribbon's boxes their values.
    QPointer<CChildFrame> m_valuesOf;
    bool m_valuesShown = false;
    int m_look = 0;
    int m_office2007Style = 0;
    bool m_idlePending = false;
    int m_idlePasses = 0;
};

// The text of status pane 1: the application name, the version and the
// maker's notice.
QString StatusPaneText();
