#pragma once
// The row of template tabs of a project: one tab per template, each with a
// template page, and a last tab "+" that adds a template. Choosing a tab
// makes its template the document's current one and applies the layout
// (side by side or stacked) that template was last shown with.
#include "document/frame/document.h"
#include "shell/views/projectviewcontext.h"
#include "shell/views/tabview.h"

#include <functional>

class CVorteplanSoftTemplateView;

class CTemplateTabView : public CTabView, public CTabObserver {
    Q_OBJECT
public:
    static constexpr int kMaxTemplates = 255;

    struct Layout {
        std::function<bool()> isStacked;   // the layout now shown
        std::function<void()> switchLayout; // flips it
    };

    CTemplateTabView(const CProjectViewContext& context, Layout layout, QWidget* parent = nullptr);
    ~CTemplateTabView() override;

    // Tabs for the document's templates and the add tab; the first is
    // activated.
    void CreateTabs();
    CVorteplanSoftTemplateView* GetTemplateView(int index);

    // --- CTabObserver: the document added, removed or activated a tab.
    void TabAdded(TabKind kind, int index, const std::string& label) override;
    void TabRemoved(TabKind kind, int index) override;
    void TabActivated(TabKind kind, int index) override;
    void TabLabelsChanged(TabKind kind) override;

protected:
    QWidget* CreatePage(int index) override;
    void OnActivateView(int index) override;

private:
    void addTemplateTab();
    QString labelFor(int slot, const std::string& given);
    void activate(int index);

    CProjectViewContext m_context;
    Layout m_layout;
};

// "%s %d" of `base` and n; n grows while a tab of `view` bears the text.
QString MakeUniqueTabLabel(const QString& base, const CTabView& view, int n);
