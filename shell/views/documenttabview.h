#pragma once
// The tabs of one kind of slot of a project (templates or tables): one tab
// per slot and a last tab "+" that adds a slot. Follows the document's tab
// notifications for its kind: a tab added, removed or activated by the
// document, and the tab texts read anew from a project file.
#include "document/frame/document.h"
#include "shell/views/projectviewcontext.h"
#include "shell/views/tabview.h"

#include <string>

class CDocumentTabView : public CTabView, public CTabObserver {
    Q_OBJECT
public:
    ~CDocumentTabView() override;

    void TabAdded(TabKind kind, int index, const std::string& label) override;
    void TabRemoved(TabKind kind, int index) override;
    void TabActivated(TabKind kind, int index) override;
    void TabLabelsChanged(TabKind kind) override;

protected:
    CDocumentTabView(TabKind kind, const CProjectViewContext& context, QWidget* parent);

    // The text of the tab of `slot`; `given` is the label the document
    // handed with the tab, empty when none.
    virtual QString labelFor(int slot, const std::string& given) = 0;
    // The name the document keeps for `slot` (empty: none).
    virtual std::string storedName(int slot) const = 0;
    // Repaints what shows the current slot after a tab went.
    virtual void repaintAfterRemoval(CVorteplanSoftLabelDoc& doc) = 0;

    // Selects a tab and runs its activation.
    void activate(int index);

    CProjectViewContext m_context;

private:
    TabKind m_kind;
};
