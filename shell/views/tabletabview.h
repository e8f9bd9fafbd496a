#pragma once
// The row of table tabs of a project: one tab per data table, each with a
// table view, and a last tab "+" that adds a table. Choosing a tab makes
// its table the document's current one.
#include "document/frame/document.h"
#include "shell/views/projectviewcontext.h"
#include "shell/views/tabview.h"

class CVorteplanSoftMainView;

class CTableTabView : public CTabView, public CTabObserver {
    Q_OBJECT
public:
    static constexpr int kMaxTables = 255;

    // `mainView` (may be null) takes "Show windows stacked" from the table views.
    CTableTabView(const CProjectViewContext& context, CVorteplanSoftMainView* mainView, QWidget* parent = nullptr);
    ~CTableTabView() override;

    // Tabs for the document's tables and the add tab; the first is active.
    void CreateTabs();
    bool IsAddTab() const { return m_bAddTab; }

    void TabAdded(TabKind kind, int index, const std::string& label) override;
    void TabRemoved(TabKind kind, int index) override;
    void TabActivated(TabKind kind, int index) override;
    void TabLabelsChanged(TabKind kind) override;

protected:
    QWidget* CreatePage(int index) override;
    void OnActivateView(int index) override;

private:
    void addTableTab();
    QString labelFor(int slot, const std::string& given);
    void activate(int index);

    CProjectViewContext m_context;
    CVorteplanSoftMainView* m_mainView = nullptr;
    bool m_bAddTab = false;
};
