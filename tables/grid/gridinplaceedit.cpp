#include "tables/grid/gridinplaceedit.h"

#include "platform/font.h"
#include "platform/modeltext.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

namespace {

// One end at a time for the whole program: ending can move the focus,
// which would end again.
bool g_ending = false;

bool isSelectAllKey(int key)
{
    switch (key) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Space: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_End: case Qt::Key_Home: case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

CGridInPlaceEdit::CGridInPlaceEdit(CGridCtrl* grid, const RECT& rect, Qt::Alignment align, int row, int col,
                                   const std::string& initialText, const CEditStart& start)
    : QLineEdit(grid->viewport()), m_grid(grid), m_row(row), m_col(col),
      m_exitOnArrows(start.key != CEditStart::kEditByClick)
{
    setFrame(true);
    setFont(gdifont::ToQFont(grid->GetGridFont()));
    setAlignment(align | Qt::AlignVCenter);
    m_initialText = modeltext::ToEditor(initialText, grid->CodePage());
    setText(m_initialText);
    setGeometry(rect.left, rect.top, int(rect.Width()) + 1, int(rect.Height()) + 1);
    grid->m_editor = this;
    show();
    setFocus(Qt::OtherFocusReason);
    TypeStart(start);
}

void CGridInPlaceEdit::TypeStart(const CEditStart& start)
{
    if (!start.text.isEmpty()) {
        selectAll();
        insert(start.text);
        grow();
        return;
    }
    if (start.key == CEditStart::kEditByClick || start.key == Qt::Key_Return || start.key == Qt::Key_Enter) {
        end(false);
    } else if (start.key == Qt::Key_Backspace) {
        end(false);
        backspace();
    } else if (isSelectAllKey(start.key)) {
        selectAll();
    } else {
        selectAll();
    }
}

bool CGridInPlaceEdit::event(QEvent* e)
{
    // Every key reaches the editor, Tab included.
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CGridInPlaceEdit::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        finishWith((e->modifiers() & Qt::ShiftModifier) ? int(Qt::Key_Backtab) : key);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finishWith(Qt::Key_Return);
        return;
    case Qt::Key_Escape:
        setText(m_initialText);
        finishWith(Qt::Key_Escape);
        return;
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right:
    case Qt::Key_Down:
        if (m_exitOnArrows || ctrl) {
            finishWith(key);
            return;
        }
        break;
    default:
        break;
    }
    const QString typed = e->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !modeltext::CanEncode(typed, m_grid->CodePage())) {
        Ui().Beep(); // the cell's code page has no such character
        return;
    }
    QLineEdit::keyPressEvent(e);
    grow();
}

void CGridInPlaceEdit::grow()
{
    const QFontMetrics fm(font());
    const int needed = fm.horizontalAdvance(text() + QStringLiteral("  "));
    if (needed <= width())
        return;
    const int right = std::min(x() + needed, m_grid->viewport()->width());
    if (right > x() + width())
        resize(right - x(), height());
}

void CGridInPlaceEdit::finishWith(int key)
{
    m_lastKey = key;
    m_grid->setFocus(Qt::OtherFocusReason);
    if (!m_ended) // the focus did not move (hidden window): end here
        EndEdit();
}

void CGridInPlaceEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    EndEdit();
}

void CGridInPlaceEdit::EndEdit()
{
    if (g_ending || m_ended)
        return;
    struct Guard {
        Guard() { g_ending = true; }
        ~Guard() { g_ending = false; }
    } guard;
    m_ended = true;
    const std::string bytes = modeltext::FromEditor(text(), m_grid->CodePage());
    if (m_grid->m_editor == this)
        m_grid->m_editor = nullptr;
    hide();
    deleteLater();
    m_grid->EditorEnded(m_row, m_col, bytes, m_lastKey);
}
