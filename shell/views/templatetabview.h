#pragma once
// The row of template tabs of a project: one tab per template, each with a
// template page, and a last tab "+" that adds a template. Choosing a tab
// makes its template the document's current one and applies the layout
// (side by side or stacked) that template was last shown with.
#include "shell/views/documenttabview.h"

#include <functional>

class CVorteplanSoftTemplateView;

class CTemplateTabView : public CDocumentTabView {
    Q_OBJECT
public:
    static constexpr int kMaxTemplates = 255;

    struct Layout {
        std::function<bool()> isStacked;   // the layout now shown
        std::function<void()> switchLayout; // flips it
    };

    CTemplateTabView(const CProjectViewContext& context, Layout layout, QWidget* parent = nullptr);

    // Tabs for the document's templates and the add tab; the first is
    // activated.
    void CreateTabs();
    CVorteplanSoftTemplateView* GetTemplateView(int index);

protected:
    QWidget* CreatePage(int index) override;
    void OnActivateView(int index) override;
    // A page draws the document's current template: the tab's template
    // becomes current before its page is shown, so that the page's first
    // drawing (which takes the template's stored zoom) is of its own.
    void PageAboutToShow(int index) override;
    QString labelFor(int slot, const std::string& given) override;
    std::string storedName(int slot) const override;
    void repaintAfterRemoval(CVorteplanSoftLabelDoc& doc) override;

private:
    void addTemplateTab();

    Layout m_layout;
};

// "%s %d" of `base` and n; n grows while a tab of `view` bears the text.
QString MakeUniqueTabLabel(const QString& base, const CTabView& view, int n);
