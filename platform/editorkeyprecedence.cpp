#include "platform/editorkeyprecedence.h"

#include <QCoreApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QKeySequence>

CEditorKeyPrecedence* CEditorKeyPrecedence::InstallForApplication(QObject* owner)
{
    auto* filter = new CEditorKeyPrecedence(owner);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(filter);
    return filter;
}

bool CEditorKeyPrecedence::IsEditorKey(const QKeyEvent* event)
{
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::Cut,  QKeySequence::Copy,      QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo,      QKeySequence::SelectAll,
        QKeySequence::Delete,
    };
    for (const QKeySequence::StandardKey key : keys)
        if (event->matches(key))
            return true;
    // Escape (an in-place editor gives its edit up), plain Delete and
    // Backspace, whatever the platform binds them to.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::NoModifier &&
           (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace);
}

bool CEditorKeyPrecedence::IsTextEditor(QObject* object)
{
    if (!object)
        return false;
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImCursorPosition | Qt::ImReadOnly);
    QCoreApplication::sendEvent(object, &query);
    return query.value(Qt::ImEnabled).toBool() && query.value(Qt::ImCursorPosition).isValid() &&
           !query.value(Qt::ImReadOnly).toBool();
}

bool CEditorKeyPrecedence::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsEditorKey(static_cast<QKeyEvent*>(event)) &&
        IsTextEditor(watched)) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
