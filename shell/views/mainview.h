#pragma once
// The view of one project window: the template tabs and the table tabs,
// side by side or stacked, each half of the window. Every template keeps
// the layout it was last shown with; choosing its tab brings that back.
#include "shell/views/projectviewcontext.h"

#include <QWidget>

class CCmdTarget;
class CTableTabView;
class CTemplateTabView;
class QSplitter;

class CVorteplanSoftMainView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumPane = 10;

    explicit CVorteplanSoftMainView(const CProjectViewContext& context, QWidget* parent = nullptr);
    ~CVorteplanSoftMainView() override;

    CTemplateTabView* TemplateTabs() const { return m_templateTabs; }
    CTableTabView* TableTabs() const { return m_tableTabs; }
    QSplitter* Splitter() const { return m_pSplitter; }
    bool IsStackedLayout() const { return m_bStackedLayout; }

    // "Show windows stacked": flips between side by side and stacked.
    void OnShowStacked();
    // The same from a view, which may also remember the new layout for the
    // current template.
    void ShowStackedFromView(bool rememberForTemplate);

    // Lets a view (the design view, the table view) handle "Show windows
    // stacked" by passing it on to `mainView`; its check mark shows the
    // layout. The design view remembers the layout for the current template,
    // the table view does not.
    static void RegisterStackedCommand(CCmdTarget& view, CVorteplanSoftMainView* mainView, bool rememberForTemplate);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLayout();

    CProjectViewContext m_context;
    QSplitter* m_pSplitter = nullptr;
    CTemplateTabView* m_templateTabs = nullptr;
    CTableTabView* m_tableTabs = nullptr;
    bool m_bStackedLayout = false;
};
