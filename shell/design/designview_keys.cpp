// Keyboard, keyboard moves, in-place text editing and module-marking
// navigation of the design canvas.
#include "shell/design/designview.h"

#include "content/barcodes/barcode.h"
#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/commandids.h"
#include "platform/modeltext.h"
#include "platform/uiservices.h"
#include "shell/feedbackdc.h"
#include "shell/inplaceedit.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace {

// The longest text the in-place editor reads from an object and gives back.
constexpr size_t kInPlaceReadLimit = 4097;
constexpr size_t kInPlaceTextLimit = 4095;
constexpr int kNudgeStart = 100;

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

bool Vorteplan_SoftLabelDesignView::AllowsInPlaceEdit(const CGraphObject& object)
{
    const auto* text = dynamic_cast<const CGraphText*>(&object);
    if (!text || !text->TextPart() || !text->TextPart()->IsFixed())
        return false;
    if (const auto* barcode = dynamic_cast<const CGraphBarcode*>(text))
        return barcode->Symbology().EditsTextInPlace();
    return true;
}

void Vorteplan_SoftLabelDesignView::registerMarkingCommands()
{
    OnCommand(cmd::kSelectModules, [this] { SetSelectModules(true); }, [this](CCmdUI& ui) {
        ui.Enable(m_pDocument && m_pDocument->IsModuleMarking());
        ui.SetCheck(isModules());
    });
    OnCommand(cmd::kSelectObjects, [this] { SetSelectModules(false); }, [this](CCmdUI& ui) {
        const bool marking = m_pDocument && m_pDocument->IsModuleMarking();
        ui.Enable(marking);
        ui.SetCheck(marking && !m_bSelectModules);
    });
    OnCommand(cmd::kEscape, [this] {
        if (m_pInPlaceEdit)
            EndInPlaceEdit();
        else
            CancelCreate();
    });
}

// --- keys -----------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (!m_pDocument)
        return;
    const int key = event->key();
    if (event->modifiers() & Qt::AltModifier) {
        if (key == Qt::Key_Delete)
            Ui().Beep();
        return;
    }
    if (IsModuleSelection()) {
        moduleMarkingKey(key);
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EndKeyboardMove();
    } else if (isArrow(key)) {
        if (m_nMouseMode == MouseIdle) {
            const CGraphCollection* c = area();
            if (!c || !c->HasSelection())
                return;
            beginKeyboardMove();
        }
        if (m_nMouseMode == MouseKeyboardMove)
            NudgeSelection(key, shift);
    } else if (key == Qt::Key_Delete) {
        OnCmdMsg(cmd::kDelete);
    } else if (event->text() == QLatin1String("d")) {
        if (const CLabel* label = m_pDocument->GetCurrentTemplate().GetLabel())
            label->showDevModeInfo();
    } else {
        event->ignore();
    }
}

void Vorteplan_SoftLabelDesignView::beginKeyboardMove()
{
    // The document's end of the move takes the one undo snapshot.
    CFeedbackDC fb(*this);
    prepare(fb.Dc());
    m_ptNudge = m_ptPress = POINT{kNudgeStart, kNudgeStart};
    m_pDocument->BeginMoveSelection(m_nArea, m_gesture, fb.Dc(), m_nZoom, m_ptNudge.x, m_ptNudge.y);
    m_nMouseMode = MouseKeyboardMove;
}

void Vorteplan_SoftLabelDesignView::NudgeSelection(int key, bool shift)
{
    if (!m_pDocument || m_nMouseMode != MouseKeyboardMove)
        return;
    const int step = shift ? 10 : 1;
    switch (key) {
    case Qt::Key_Left: m_ptNudge.x -= step; break;
    case Qt::Key_Right: m_ptNudge.x += step; break;
    case Qt::Key_Up: m_ptNudge.y -= step; break;
    case Qt::Key_Down: m_ptNudge.y += step; break;
    default: return;
    }
    CFeedbackDC fb(*this);
    prepare(fb.Dc());
    m_pDocument->TrackMoveSelection(m_nArea, m_gesture, fb.Dc(), m_ptNudge.x, m_ptNudge.y);
    touchAll(fb);
}

void Vorteplan_SoftLabelDesignView::EndKeyboardMove()
{
    if (!m_pDocument || m_nMouseMode != MouseKeyboardMove)
        return;
    m_nMouseMode = MouseIdle;
    {
        CFeedbackDC fb(*this);
        prepare(fb.Dc());
        m_pDocument->EndMoveSelection(m_nArea, m_gesture, fb.Dc(), m_ptNudge.x, m_ptNudge.y);
        touchAll(fb);
    }
    UpdateScrollSizes();
}

// --- inserting ------------------------------------------------------------------------------

bool Vorteplan_SoftLabelDesignView::SetPendingObject(std::unique_ptr<CGraphObject> object)
{
    if (m_nMouseMode != MouseIdle || !object)
        return false;
    m_pPendingObject = std::move(object);
    m_nMouseMode = MouseCreate;
    return true;
}

void Vorteplan_SoftLabelDesignView::CancelCreate()
{
    if (m_nMouseMode == MouseCreate && !m_pNewObject)
        m_nMouseMode = MouseIdle;
}

// --- in-place editor ------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::BeginInPlaceEdit()
{
    if (!m_pDocument)
        return;
    CGraphCollection* c = area();
    auto* text = c && c->GetSelectedCount() == 1 ? dynamic_cast<CGraphText*>(c->GetFirstSelected()) : nullptr;
    if (!text || !text->TextPart())
        return;
    m_pDocument->SetModifiedFlag();
    delete m_pInPlaceEdit.data();

    RECT r;
    LOGFONTA font;
    {
        CFeedbackDC fb(*this);
        prepare(fb.Dc());
        r = text->CalcDeviceRect(fb.Dc(), m_nZoom, 0, 0);
        text->GetDesignLogFont(fb.Dc(), m_nZoom, font);
    }
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    const bool upright = text->GetRotation() == 900 || text->GetRotation() == 2700;
    if (upright) {
        std::swap(width, height);
        width += 2;
        height += 2;
    }
    font.lfEscapement = 0;
    const std::string bytes = text->TextPart()->GetText(DrawContext{.labelNumber = 1}, kInPlaceReadLimit);

    auto* edit = new CInPlaceEdit(font, viewport());
    const QPoint scroll = ScrollPosition();
    edit->setGeometry(r.left + 1 - scroll.x(), r.top + 1 - scroll.y(), std::max(width - 1, 1),
                      std::max(height - 1, 1));
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QTextEdit::NoWrap);
    edit->setFrameShape(upright ? QFrame::Box : QFrame::NoFrame);
    edit->SetText(bytes);
    int alignment = 0;
    text->GetAlignment(alignment);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(alignment == CGraphText::kAlignCenter  ? Qt::AlignHCenter
                        : alignment == CGraphText::kAlignRight ? Qt::AlignRight
                                                                : Qt::AlignLeft);
    edit->document()->setDefaultTextOption(option);
    edit->SetText(bytes); // again, so the paragraphs take the alignment
    // Escape closes the editor and applies the text, as a press beside it does.
    connect(edit, &CInPlaceEdit::escaped, this, [this] { EndInPlaceEdit(); });
    edit->show();
    edit->setFocus();
    m_pInPlaceEdit = edit;
}

void Vorteplan_SoftLabelDesignView::EndInPlaceEdit()
{
    if (!m_pInPlaceEdit)
        return;
    std::string text = m_pInPlaceEdit->GetText();
    modeltext::CutToLimit(text, kInPlaceTextLimit, codepage::ForCharset(m_pInPlaceEdit->GetLogFont().lfCharSet));
    closeInPlaceEdit();
    if (!m_pDocument)
        return;
    if (!m_pDocument->SetInPlaceText(m_nArea, text)) {
        m_pDocument->InvalidateDesignViews();
        m_pDocument->InvalidatePreviewViews();
    }
    setFocus();
}

void Vorteplan_SoftLabelDesignView::closeInPlaceEdit()
{
    CInPlaceEdit* edit = m_pInPlaceEdit.data();
    m_pInPlaceEdit.clear();
    edit->hide();
    edit->deleteLater();
}

// --- module marking -------------------------------------------------------------------------

bool Vorteplan_SoftLabelDesignView::hitTestMarkers(CDC& dc, POINT view)
{
    return m_pDocument->HitTestMarkers(dc, m_nZoom, view);
}

bool Vorteplan_SoftLabelDesignView::moduleMarkingKey(int key)
{
    bool changed = false;
    switch (key) {
    case Qt::Key_End: changed = m_pDocument->GotoLastMarker(); break;
    case Qt::Key_Home: changed = m_pDocument->GotoFirstMarker(); break;
    case Qt::Key_Left: changed = m_pDocument->GotoPreviousMarker(); break;
    case Qt::Key_Right: changed = m_pDocument->GotoNextMarker(); break;
    case Qt::Key_Delete:
        changed = m_pDocument->DeleteMarker();
        if (changed)
            UpdateScrollSizes();
        break;
    default: return false;
    }
    if (changed)
        RedrawScene();
    return changed;
}
