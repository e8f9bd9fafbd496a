#pragma once
// The design canvas: the zoomable view of one area (label, header or
// footer) of the current template of a project document. It draws the
// area through the document, turns mouse and keyboard input into the
// document's operations (selection, rubber band, move, resize, drawing new
// objects, keyboard nudging, in-place text editing, module-marking
// navigation) and never changes the model itself.
//
// Coordinates: "client" points are viewport pixels; "view" points are
// client points plus the scroll position, content pixels at the current
// zoom. The document and the objects convert view pixels to micrometres
// with the zoom and the viewport's logical resolution.
//
// Gesture feedback (rubber band, outlines, handles) is XOR-drawn on the back
// buffer and only flushed; the scene is redrawn at the end of a gesture.
#include "content/objects/tracking.h"
#include "document/frame/document.h"
#include "platform/uiservices.h"
#include "shell/backbufferview.h"
#include "shell/cursorclip.h"
#include "shell/frame/commandrouter.h"
#include "shell/inplaceedit.h"

#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CContextMenuManager;
class CFeedbackDC;
class CGraphObject;
class CLabelManager;
class CMarker;
class CRibbonBar;
class CVorteplanSoftLabelDoc;
class QPrintDialog;
class QPrinter;

// What the design canvas reaches outside itself; both may be null (tests).
struct DesignViewLinks {
    CRibbonBar* ribbon = nullptr;         // zoom box, module-marking category
    CContextMenuManager* menus = nullptr; // the "Design" context menu
};

class Vorteplan_SoftLabelDesignView : public CBackBufferView, public CDocView, public CCmdTarget {
    Q_OBJECT
public:
    enum DesignMouseMode {
        MouseIdle = 0,
        MouseRubberBand = 1,
        MouseMove = 2,
        MouseCreate = 3, // armed by an Insert command, and while drawing
        MouseResize = 4,
        MouseKeyboardMove = 5,
    };

    static constexpr int kMinZoomText = 26;
    static constexpr int kMaxZoomText = 3199;
    // The ribbon category of module marking.
    static constexpr int kModuleMarkingCategory = 5;
    // Smallest side (or line length) in pixels of a newly drawn object.
    static constexpr int kMinCreateSize = 17;
    static constexpr int kDragDelayMs = 250;

    // `document` may be null (a canvas without a document draws nothing and
    // ignores input); it must outlive the view.
    explicit Vorteplan_SoftLabelDesignView(CVorteplanSoftLabelDoc* document, DesignViewLinks links = {},
                                           QWidget* parent = nullptr);
    ~Vorteplan_SoftLabelDesignView() override;

    // --- CDocView ------------------------------------------------------------------
    ViewKind GetViewKind() const override { return ViewKind::Design; }
    void Invalidate() override { RedrawScene(); }
    void EndInPlaceEdit() override;

    // --- state ------------------------------------------------------------------------
    CVorteplanSoftLabelDoc* GetDocument() const { return m_pDocument; }
    DesignMouseMode GetMouseMode() const { return m_nMouseMode; }
    int GetArea() const { return m_nArea; }
    void SetArea(int area);
    int GetZoom() const { return m_nZoom; }
    int GetMeasure() const { return m_nMeasure; }
    void SetMeasure(int measure) { m_nMeasure = measure; }
    bool IsShowFieldCodes() const { return m_bShowFieldCodes; }
    void SetShowFieldCodes(bool on);
    bool IsSelectModules() const { return m_bSelectModules; }
    void SetSelectModules(bool on);
    bool IsButtonDown() const { return m_bButtonDown; }
    CInPlaceEdit* GetInPlaceEdit() const { return m_pInPlaceEdit; }
    const CGraphObject* GetPendingObject() const { return m_pPendingObject.get(); }
    POINT GetNudgePoint() const { return m_ptNudge; }
    // Editable: a document whose current template is not locked.
    bool IsEditable() const;

    // --- zoom and scrolling ----------------------------------------------------------
    // A zoom change: ends an open in-place edit, offers the zoom to the
    // template, repaints, emits zoomed and updates the scroll sizes.
    void SetZoom(int percent);
    // The zoom box's text: one integer in 26..3199 is taken, anything else
    // is ignored (false).
    bool OnZoomText(const QString& text);
    void UpdateScrollSizes();
    // The scroll size in pixels of a design extent (um) at a zoom and
    // resolution, kept within what a scroll bar and the device context hold.
    static int ScrollExtent(int64_t um, int zoom, int logPixels);

    // --- lengths (in this view's measurement system) ------------------------------
    std::optional<int32_t> ParseLength(std::string_view text) const;
    static std::optional<int32_t> ParsePercent(std::string_view text);
    std::string FormatLength(int32_t um) const;

    // --- gestures the commands start -----------------------------------------------
    // An Insert command: in MouseIdle only (false otherwise) the object waits
    // for the next press, replacing one still pending.
    bool SetPendingObject(std::unique_ptr<CGraphObject> object);
    // Escape without an editor: an armed Insert is given up (the pending
    // object stays until the next Insert replaces it).
    void CancelCreate();
    void BeginCreateObject(int x, int y);
    void BeginInPlaceEdit();
    void EndKeyboardMove();
    // Whether a double click edits the object's text in place: a text with a
    // constant text, or a barcode with one whose symbology allows it.
    static bool AllowsInPlaceEdit(const CGraphObject& object);
    // One keyboard step: 10 pixels with Shift, else 1, in the arrow's direction.
    void NudgeSelection(int key, bool shift);

    // --- module marking -------------------------------------------------------------
    // Whether the ribbon shows its module-marking category.
    bool IsModuleMarkingMode() const;
    // Takes that into the view's state; repaints when it changed.
    void UpdateModuleMarkingMode();
    bool IsModuleSelection() const { return m_bModuleMarkingMode && m_bSelectModules; }

signals:
    // Every mouse move over the canvas, in client pixels.
    void mouseMovedOnCanvas(QPoint clientPoint, Qt::KeyboardModifiers modifiers);
    // The scroll position changed by (dx, dy) pixels.
    void scrolled(int dx, int dy);
    void zoomed(int percent);

protected:
    void PaintScene(CDC& dc) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The mouse state machine (designview_mouse.cpp); points are client pixels.
    void onLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers);
    void onMouseMove(QPoint client, Qt::KeyboardModifiers modifiers);
    void onLButtonUp(QPoint client, Qt::KeyboardModifiers modifiers);
    void onLButtonDblClk(QPoint client);
    void onDragTimer();
    void hoverCursor(CDC& dc, POINT view);
    void pressOnObject(CFeedbackDC& fb, CGraphObject& object, POINT view, bool shift);
    void startRubberBand(CFeedbackDC& fb, POINT view);
    void endRubberBand(CFeedbackDC& fb, bool shift);
    void endCreate(CFeedbackDC& fb);
    void keepSourceConstantInMarking(CGraphObject& object) const;
    // Keys (designview_keys.cpp).
    bool moduleMarkingKey(int key);
    bool hitTestMarkers(CDC& dc, POINT view);
    void beginKeyboardMove();
    void closeInPlaceEdit();
    void registerMarkingCommands();

    // A device context on the back buffer in view pixels (OnPrepareDC).
    void prepare(CDC& dc) const;
    POINT toView(QPoint client) const;
    // Declares the whole viewport dirty (object outlines can be anywhere).
    void touchAll(CFeedbackDC& fb) const;
    void touchMarker(CFeedbackDC& fb, const CMarker& marker) const;
    class CGraphCollection* area() const;
    void registerCommands();
    // The content size and the steps that go with it.
    void setScrollSizes(QSize extent);

    // === editing commands and clipboard (designview_editcommands.cpp,
    // designview_formatcommands.cpp, designview_clipboard.cpp) ==========
public:
    // Copy, Cut and Paste of the clipboard commands; with the in-place
    // editor open they act on its text.
    void Copy();
    void Cut();
    void Paste();
    // The state of Paste, from the cached clipboard formats only.
    bool CanPasteNow() const;
    // Center vertical (the view's own unless the label is a module-marking one).
    void CenterSelectionVertical();
    // The process-wide collection of copied objects: null before the first
    // copy and after any design view was destroyed.
    static const CGraphCollection* ClipboardCollection();

private:
    void registerEditCommands();
    void registerFormatCommands();
    void registerClipboardCommands();
    // A command that does nothing without a document; its update handler
    // disables it then.
    void docCommand(int id, std::function<void(CVorteplanSoftLabelDoc&)> run,
                    std::function<void(CVorteplanSoftLabelDoc&, CCmdUI&)> update = {});
    // The text of the ribbon box `id` as code-page bytes cut to `limit`;
    // nothing without a ribbon or such a box.
    std::optional<std::string> ribbonText(int id, size_t limit) const;
    COLORREF ribbonColour(int id) const;
    // Whether the canvas has the keyboard focus (box texts are refreshed
    // only then).
    bool viewHasFocus() const;
    // Area 0..2 with a selected object.
    bool hasSel() const;
    void refreshBox(CCmdUI& ui, const std::string& bytes) const;
    bool pasteFormat(ClipboardFormat format);
    static void releaseClipboardCollection();
    // === end of editing commands and clipboard ===========================

    CVorteplanSoftLabelDoc* m_pDocument;
    DesignViewLinks m_links;
    POINT m_ptNudge{0, 0};
    DesignMouseMode m_nMouseMode = MouseIdle;
    QPointer<CInPlaceEdit> m_pInPlaceEdit;
    std::unique_ptr<CGraphObject> m_pPendingObject;
    POINT m_ptPress{0, 0};
    std::unique_ptr<CGraphObject> m_pNewObject;
    // The current gesture: the tracking of the objects being moved or
    // resized, and of the object being drawn.
    CTracking m_gesture;
    ObjectTracking m_newTracking;
    std::unique_ptr<CMarker> m_pRubberBand;
    bool m_bButtonDown = false;
    int m_nArea = 0;
    int m_nZoom = 100;
    bool m_bShowFieldCodes = true;
    int m_nMeasure = 0;
    // Bit n: the first drawing of area n has taken its stored zoom.
    unsigned m_zoomTakenAreas = 0;
    bool m_bModuleMarkingMode = false;
    bool m_bSelectModules = true;
    QTimer m_dragTimer;
    CCursorClip m_cursorClip;
    QPoint m_lastScroll;

    // --- label-definition, page, module-marking and print commands --------------------
    // (designview_labelcommands.cpp, designview_markingcommands.cpp,
    // designview_printcommands.cpp)
public:
    // The label catalogue whose families the family box lists (may be null).
    void SetCatalogue(CLabelManager* catalogue) { m_pCatalogue = catalogue; }
    // Print (57607) of the current template.
    void OnFilePrint();
    // The printer set-up of the label definition (812).
    void OnPrinterSetup();
    // Runs the print and printer set-up dialogs instead of showing them
    // (tests); true for OK. Empty: shown modally.
    void SetPrintDialogRunner(std::function<bool(QPrintDialog&)> run) { m_runPrintDialog = std::move(run); }
    // The printer print jobs and the set-up use (null: the application's).
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }

private:
    void registerLabelCommands();
    void registerPageCommands();
    void registerLabelInfoCommands();
    void registerModuleMarkingCommands();
    void registerPrintCommands();
    // A ribbon box's text as model bytes; the box's text refreshed from the
    // model only while this view has the focus.
    std::string ribbonText(int id) const;
    void refreshText(CCmdUI& ui, const std::string& text) const;
    bool isMarkingLabel() const;
    bool isModules() const { return isMarkingLabel() && m_bSelectModules; }
    // A length box: its text through ParseLength into `set`; nothing for a
    // text that is no length.
    void onLengthBox(int id, const std::function<void(int32_t)>& set);
    QPrinter& printer() const;
    bool runPrintDialog(QPrintDialog& dialog);
    void postPrintToTableView();

    CLabelManager* m_pCatalogue = nullptr;
    std::function<bool(QPrintDialog&)> m_runPrintDialog;
    QPrinter* m_pPrinter = nullptr;
};
