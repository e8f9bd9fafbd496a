#pragma once
// The row of table tabs of a project: one tab per data table, each with a
// table view, and a last tab "+" that adds a table. Choosing a tab makes
// its table the document's current one and its table view the project
// window's active view.
#include "shell/views/documenttabview.h"

class CVorteplanSoftMainView;

class CTableTabView : public CDocumentTabView {
    Q_OBJECT
public:
    static constexpr int kMaxTables = 255;

    // `mainView` (may be null) takes "Show windows stacked" from the table views.
    CTableTabView(const CProjectViewContext& context, CVorteplanSoftMainView* mainView, QWidget* parent = nullptr);

    // Tabs for the document's tables and the add tab; the first is active.
    void CreateTabs();
    bool IsAddTab() const { return m_bAddTab; }

protected:
    QWidget* CreatePage(int index) override;
    void OnActivateView(int index) override;
    QString labelFor(int slot, const std::string& given) override;
    std::string storedName(int slot) const override;
    void repaintAfterRemoval(CVorteplanSoftLabelDoc& doc) override;

private:
    void addTableTab();

    CVorteplanSoftMainView* m_mainView = nullptr;
    bool m_bAddTab = false;
};
