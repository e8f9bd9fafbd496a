#pragma once
// The print preview: the lower half of every template page. It shows the
// whole sheet of the current template that holds the current table row:
// the paper, the header and footer, every label position filled with the
// row that would be printed there, and the label of the current row in
// yellow. It follows the document's current template and row; the document
// repaints it through CDocView::Invalidate.
//
// Painting goes into the back buffer; zoom 100 fits the whole page into
// the window, other zooms scale that and make the view scroll.
#include "document/frame/document.h"
#include "shell/backbufferview.h"
#include "shell/frame/commandrouter.h"

#include <cstdint>
#include <functional>
#include <vector>

class CContextMenuManager;
class CRibbonBar;
class CVorteplanSoftLabelDoc;
class CLabel;

namespace preview {

inline constexpr COLORREF kBackground = RGB(224, 224, 224);
inline constexpr COLORREF kCurrentLabel = RGB(255, 255, 0);
inline constexpr int kPageLeft = 8;     // where the page starts in the window
inline constexpr int kPageTop = 4;
inline constexpr int kLabelLeft = 4;    // what label positions add
inline constexpr int kLabelTop = 8;
// Label positions drawn in one paint at most. Positions whose pitch rounds
// to nothing all lie in view at once; a definition of millions of them
// would otherwise keep the window from ever finishing its paint.
inline constexpr int64_t kMaxDrawnPositions = 5000;

struct PageSize {
    int64_t width = 210000; // um
    int64_t height = 297000;
};

// The paper the preview shows for a label definition (A4 portrait without one).
PageSize PageSizeOf(const CLabel* label);

// The pixels per inch that fit the page into a client of w x h pixels at
// `zoom` percent, rounded to a whole percentage of `dpi` (returned in
// `percent` when given). A page side of 0 gives 100 %.
int ScaleFor(const PageSize& page, int zoom, int w, int h, int dpi, int* percent = nullptr);

// (um x scale + 12700) / 25400, kept within 32 bits.
int32_t ToPixels(int64_t um, int scale);

} // namespace preview

struct CLabelPreviewLinks {
    CRibbonBar* ribbon = nullptr;          // the zoom box
    CContextMenuManager* menus = nullptr;  // the "Preview" menu
    // Told when the preview becomes the active view of its window.
    std::function<void(CCmdTarget*)> activate;
    // Commands the preview passes on to the window that holds it.
    std::function<void(int id)> forwardToParent;
};

class CLabelPreview : public CBackBufferView, public CDocView, public CCmdTarget {
    Q_OBJECT
public:
    static constexpr int kMinZoomText = 26;
    static constexpr int kMaxZoomText = 3199;
    using Links = CLabelPreviewLinks;

    // `document` may be null (nothing is drawn); it must outlive the view.
    explicit CLabelPreview(CVorteplanSoftLabelDoc* document, Links links = {}, QWidget* parent = nullptr);
    ~CLabelPreview() override;

    // --- CDocView
    ViewKind GetViewKind() const override { return ViewKind::Preview; }
    // A hidden preview draws when it is shown.
    void Invalidate() override;

    CVorteplanSoftLabelDoc* GetDocument() const { return m_document; }
    int GetZoom() const { return m_zoom; }
    void SetZoom(int percent);
    // The zoom box's text: "%d" read from its start; 26..3199 taken, else
    // ignored (false).
    bool OnZoomText(const QString& text);
    // The scale (pixels per inch) of the last paint; 0 before one.
    int GetScale() const { return m_scale; }
    // Label positions drawn by the last paint.
    int GetDrawnLabelCount() const { return m_drawnLabels; }
    // Their label numbers, in drawing order.
    const std::vector<int>& GetDrawnLabelNumbers() const { return m_drawnNumbers; }

protected:
    void PaintScene(CDC& dc) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void registerCommands();
    void updateScrollSizes();
    void paintSheet(CDC& dc, int width, int height);

    CVorteplanSoftLabelDoc* m_document;
    Links m_links;
    int m_zoom = 100;
    int m_scale = 0;
    int m_drawnLabels = 0;
    std::vector<int> m_drawnNumbers;
};
