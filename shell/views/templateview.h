#pragma once
// The page of one template tab: the label view above and the print preview
// below, split in two halves that the user can move. Closing the page asks
// the application to delete the current template (command 856); the page
// itself stays.
#include "shell/views/projectviewcontext.h"

#include <QSplitter>

class CLabelPreview;
class CVorteplanSoftLabelView;

class CVorteplanSoftTemplateView : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kMinimumRow = 10;

    explicit CVorteplanSoftTemplateView(const CProjectViewContext& context, QWidget* parent = nullptr);
    ~CVorteplanSoftTemplateView() override;

    CVorteplanSoftLabelView* GetLabelView() const { return m_labelView; }
    CLabelPreview* GetPreview() const { return m_preview; }
    // Repaints the page's views for the document's current template.
    void OnUpdate();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CProjectViewContext m_context;
    CVorteplanSoftLabelView* m_labelView = nullptr;
    CLabelPreview* m_preview = nullptr;
};

// Adds the page's label view's canvas and its preview to the document's
// views (and RemoveTemplateViewsFromDocument takes them out again).
void AttachTemplateViewsToDocument(CVorteplanSoftLabelDoc* document, CVorteplanSoftTemplateView* view);
void RemoveTemplateViewsFromDocument(CVorteplanSoftLabelDoc* document, CVorteplanSoftTemplateView* view);
