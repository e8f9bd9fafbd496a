// The mouse state machine of the design canvas.
#include "shell/design/designview.h"

#include "content/objects/collection.h"
#include "content/objects/marker.h"
#include "document/project/projectdoc.h"
#include "platform/uiservices.h"
#include "shell/cursorshape.h"
#include "shell/feedbackdc.h"

#include <QMouseEvent>

namespace {

int keyFlags(Qt::KeyboardModifiers modifiers)
{
    int flags = MK_LBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// The cursor of a handle code; nothing for codes without one.
std::optional<SystemCursor> handleCursor(int code)
{
    switch (code) {
    case kHandleTopLeft:
    case kHandleBottomRight: return SystemCursor::SizeNWSE;
    case kHandleTop:
    case kHandleBottom: return SystemCursor::SizeNS;
    case kHandleTopRight:
    case kHandleBottomLeft: return SystemCursor::SizeNESW;
    case kHandleRight:
    case kHandleLeft: return SystemCursor::SizeWE;
    case kHandleLineStart:
    case kHandleLineEnd: return SystemCursor::SizeAll;
    case kHandleNone: return SystemCursor::Arrow;
    default: return std::nullopt;
    }
}

} // namespace

// --- Qt events ------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CBackBufferView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    onLButtonDown(event->position().toPoint(), event->modifiers());
    event->accept();
}

void Vorteplan_SoftLabelDesignView::mouseMoveEvent(QMouseEvent* event)
{
    onMouseMove(event->position().toPoint(), event->modifiers());
    event->accept();
}

void Vorteplan_SoftLabelDesignView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CBackBufferView::mouseReleaseEvent(event);
        return;
    }
    onLButtonUp(event->position().toPoint(), event->modifiers());
    event->accept();
}

void Vorteplan_SoftLabelDesignView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CBackBufferView::mouseDoubleClickEvent(event);
        return;
    }
    onLButtonDblClk(event->position().toPoint());
    event->accept();
}

// --- press ----------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::onLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers)
{
    if (m_pInPlaceEdit)
        EndInPlaceEdit();
    if (!IsEditable() || m_bButtonDown)
        return;
    m_bButtonDown = true;
    if (m_nMouseMode == MouseKeyboardMove)
        EndKeyboardMove();
    const POINT p = toView(client);
    const bool shift = modifiers & Qt::ShiftModifier;

    if (IsModuleSelection()) {
        CFeedbackDC fb(*this);
        prepare(fb.Dc());
        if (hitTestMarkers(fb.Dc(), p))
            RedrawScene();
        return;
    }
    if (m_nMouseMode == MouseCreate) {
        BeginCreateObject(p.x, p.y);
        return;
    }
    CGraphCollection* c = area();
    if (!c)
        return;
    CFeedbackDC fb(*this);
    CDC& dc = fb.Dc();
    prepare(dc);
    if (c->GetSelectedCount() == 1 && m_pDocument->GetObjectWithHandleAt(m_nArea, dc, m_nZoom, p.x, p.y)) {
        m_nMouseMode = MouseResize;
        c->BeginResizeSelected(m_gesture, dc, m_nZoom, p.x, p.y);
        touchAll(fb);
        return;
    }
    if (CGraphObject* object = m_pDocument->GetObjectAt(m_nArea, dc, m_nZoom, p.x, p.y)) {
        pressOnObject(fb, *object, p, shift);
        return;
    }
    if (shift)
        return;
    if (c->HasSelection()) {
        m_pDocument->DeselectAll(m_nArea);
        m_pDocument->InvalidateDesignViews();
    }
    if (m_nMouseMode != MouseRubberBand)
        startRubberBand(fb, p);
}

void Vorteplan_SoftLabelDesignView::pressOnObject(CFeedbackDC& fb, CGraphObject& object, POINT view, bool shift)
{
    if (shift) {
        object.SetSelected(!object.IsSelected());
        object.DrawHandles(fb.Dc(), m_nZoom);
        touchAll(fb);
        return;
    }
    if (!object.IsSelected()) {
        CGraphCollection* c = area();
        const bool hadSelection = c && c->HasSelection();
        m_pDocument->DeselectAll(m_nArea);
        object.SetSelected(true);
        if (hadSelection) {
            RedrawScene();
        } else {
            object.DrawHandles(fb.Dc(), m_nZoom);
            touchAll(fb);
        }
    }
    m_ptPress = view;
    m_dragTimer.start();
}

void Vorteplan_SoftLabelDesignView::startRubberBand(CFeedbackDC& fb, POINT view)
{
    m_nMouseMode = MouseRubberBand;
    m_pRubberBand = std::make_unique<CMarkerRect>(view.x, view.y, PS_DOT);
    m_pRubberBand->TrackTo(fb.Dc(), view.x, view.y);
    touchMarker(fb, *m_pRubberBand);
    m_cursorClip.Clip(viewport()->rect());
}

void Vorteplan_SoftLabelDesignView::BeginCreateObject(int x, int y)
{
    if (!m_pDocument)
        return;
    m_pDocument->DeselectAll(m_nArea);
    RedrawScene();
    if (m_pNewObject || !m_pPendingObject)
        return;
    m_pNewObject = std::move(m_pPendingObject);
    CFeedbackDC fb(*this);
    prepare(fb.Dc());
    m_newTracking = ObjectTracking{};
    m_pNewObject->BeginCreate(m_newTracking, fb.Dc(), m_nZoom, x, y);
    touchAll(fb);
}

void Vorteplan_SoftLabelDesignView::onDragTimer()
{
    if (!m_bButtonDown || !m_pDocument || m_nMouseMode != MouseIdle)
        return;
    m_nMouseMode = MouseMove;
    CFeedbackDC fb(*this);
    prepare(fb.Dc());
    m_pDocument->BeginMoveSelection(m_nArea, m_gesture, fb.Dc(), m_nZoom, m_ptPress.x, m_ptPress.y);
    touchAll(fb);
}

// --- move -----------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::onMouseMove(QPoint client, Qt::KeyboardModifiers modifiers)
{
    emit mouseMovedOnCanvas(client, modifiers);
    if (!m_pDocument || IsModuleSelection())
        return;
    const POINT p = toView(m_cursorClip.Apply(client));
    if (m_nMouseMode == MouseKeyboardMove) {
        EndKeyboardMove();
        return;
    }
    CFeedbackDC fb(*this);
    CDC& dc = fb.Dc();
    prepare(dc);
    switch (m_nMouseMode) {
    case MouseIdle:
        hoverCursor(dc, p);
        break;
    case MouseRubberBand:
        if (m_pRubberBand) {
            touchMarker(fb, *m_pRubberBand);
            m_pRubberBand->TrackTo(dc, p.x, p.y, modifiers & Qt::ControlModifier);
            touchMarker(fb, *m_pRubberBand);
        }
        break;
    case MouseMove:
        m_pDocument->TrackMoveSelection(m_nArea, m_gesture, dc, p.x, p.y);
        touchAll(fb);
        break;
    case MouseCreate:
        if (m_pNewObject) {
            m_pNewObject->TrackResize(m_newTracking, dc, p.x, p.y, keyFlags(modifiers));
            touchAll(fb);
            viewport()->setCursor(CursorShape(SystemCursor::Cross));
        }
        break;
    case MouseResize:
        if (CGraphCollection* c = area()) {
            c->TrackResizeSelected(m_gesture, dc, p.x, p.y, keyFlags(modifiers));
            touchAll(fb);
        }
        break;
    case MouseKeyboardMove:
        break;
    }
}

void Vorteplan_SoftLabelDesignView::hoverCursor(CDC& dc, POINT view)
{
    CGraphCollection* c = area();
    const int code = c ? c->HitTestHandle(dc, m_nZoom, view.x, view.y) : kHandleNone;
    std::optional<SystemCursor> cursor = handleCursor(code);
    if (code == kHandleNone && c && c->SelectedObjectAt(dc, m_nZoom, view.x, view.y))
        cursor = SystemCursor::SizeAll;
    if (cursor)
        viewport()->setCursor(CursorShape(*cursor));
}

// --- release --------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::onLButtonUp(QPoint client, Qt::KeyboardModifiers modifiers)
{
    if (!m_bButtonDown)
        return;
    m_bButtonDown = false;
    m_dragTimer.stop();
    if (!m_pDocument)
        return;
    // A band's point never left the viewport (the clip kept it inside).
    const QPoint point = m_cursorClip.Apply(client);
    const POINT p = toView(point);
    CFeedbackDC fb(*this);
    CDC& dc = fb.Dc();
    prepare(dc);
    if (!viewport()->rect().contains(point)) {
        Ui().Beep();
        if (m_nMouseMode == MouseMove) {
            if (CGraphCollection* c = area())
                c->CancelTrackingSelected(m_gesture, dc);
            touchAll(fb);
            m_nMouseMode = MouseIdle;
            return;
        }
    }
    switch (m_nMouseMode) {
    case MouseRubberBand:
        endRubberBand(fb, modifiers & Qt::ShiftModifier);
        break;
    case MouseMove:
        m_pDocument->EndMoveSelection(m_nArea, m_gesture, dc, p.x, p.y);
        touchAll(fb);
        m_nMouseMode = MouseIdle;
        UpdateScrollSizes();
        RedrawScene();
        break;
    case MouseCreate:
        endCreate(fb);
        break;
    case MouseResize:
        m_nMouseMode = MouseIdle;
        m_pDocument->EndResizeSelection(m_nArea, m_gesture, dc);
        touchAll(fb);
        RedrawScene();
        UpdateScrollSizes();
        break;
    case MouseIdle:
    case MouseKeyboardMove:
        break;
    }
    m_cursorClip.Release();
}

void Vorteplan_SoftLabelDesignView::endRubberBand(CFeedbackDC& fb, bool shift)
{
    m_nMouseMode = MouseIdle;
    m_cursorClip.Release();
    if (!m_pRubberBand)
        return;
    RECT r;
    m_pRubberBand->GetRect(r.left, r.top, r.right, r.bottom);
    touchMarker(fb, *m_pRubberBand);
    m_pRubberBand->Erase(fb.Dc());
    m_pRubberBand.reset();
    if (shift)
        return;
    if (CGraphCollection* c = area(); c && c->SelectInRect(fb.Dc(), m_nZoom, r))
        RedrawScene();
}

void Vorteplan_SoftLabelDesignView::endCreate(CFeedbackDC& fb)
{
    m_nMouseMode = MouseIdle;
    std::unique_ptr<CGraphObject> object = std::move(m_pNewObject);
    if (!object)
        return;
    const int size = object->GetTrackingSize(m_newTracking);
    object->EndResize(m_newTracking, fb.Dc());
    touchAll(fb);
    object->SetSelected(true);
    if (size < kMinCreateSize)
        return;
    keepSourceConstantInMarking(*object);
    m_pDocument->AddObjectToArea(m_nArea, std::move(object));
    RedrawScene();
}

// On a module-marking label an object outside the marked modules (left of
// the margin, beyond the last module, or inside a skipped module) shows a
// constant text rather than a marker's.
void Vorteplan_SoftLabelDesignView::keepSourceConstantInMarking(CGraphObject& object) const
{
    const CVorteplanSoftLabelDoc& doc = *m_pDocument;
    if (!doc.IsModuleMarking())
        return;
    const int32_t left = object.GetLeft();
    const int32_t right = object.GetRight();
    bool constant = right <= doc.GetMarkingLeftMargin() || doc.IsInSkippedMarker(left, right);
    if (const int last = doc.GetCurrentRowModuleCount() - 1; !constant && last >= 0)
        constant = int64_t(left) >= int64_t(doc.GetMarkerPosition(last)) + doc.GetMarkerLength(last);
    if (constant)
        object.SetSourceType(1);
}

// --- double click ---------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::onLButtonDblClk(QPoint client)
{
    if (!IsEditable() || m_nArea < 0 || m_nArea > 2)
        return;
    CGraphCollection* c = area();
    if (!c || c->GetSelectedCount() != 1)
        return;
    CGraphObject* selected = c->GetFirstSelected();
    const POINT p = toView(client);
    {
        CFeedbackDC fb(*this);
        prepare(fb.Dc());
        if (m_pDocument->GetSelectedObjectAt(m_nArea, fb.Dc(), m_nZoom, p.x, p.y) != selected)
            return;
    }
    if (AllowsInPlaceEdit(*selected)) {
        m_pDocument->SaveUndoState(m_nArea, true);
        m_pDocument->SetModifiedFlag();
        BeginInPlaceEdit();
    } else if (selected->HasEditContent() && selected->EditContent()) {
        m_pDocument->InvalidateDesignViews();
        m_pDocument->InvalidatePreviewViews();
        m_pDocument->SetModifiedFlag();
    }
}
