#include "platform/editorkeyprecedence.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QObject>

CEditorKeyPrecedence* CEditorKeyPrecedence::Install(QObject* editor)
{
    auto* filter = new CEditorKeyPrecedence(editor);
    editor->installEventFilter(filter);
    return filter;
}

bool CEditorKeyPrecedence::IsEditingKey(const QKeyEvent* event)
{
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::Cut,  QKeySequence::Copy,      QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo,      QKeySequence::SelectAll,
        QKeySequence::Delete,
    };
    for (const QKeySequence::StandardKey key : keys)
        if (event->matches(key))
            return true;
    // Plain Delete and Backspace, whatever the platform binds them to.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::NoModifier && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace);
}

bool CEditorKeyPrecedence::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsEditingKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
