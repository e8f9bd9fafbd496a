#pragma once
// Gives an open in-place editor the standard editing keys before the
// window's shortcuts: while it has the focus, Cut, Copy, Paste, Delete,
// Undo, Redo and Select all act on the editor's text, not on the view's
// selection or the table. Installed as an event filter on the editor; it
// accepts the ShortcutOverride of those keys, so Qt delivers them to the
// editor as key presses.
#include <QObject>

class QKeyEvent;

class CEditorKeyPrecedence : public QObject {
    Q_OBJECT
public:
    // Installs itself on `editor` and is deleted with it.
    static CEditorKeyPrecedence* Install(QObject* editor);

    static bool IsEditingKey(const QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CEditorKeyPrecedence(QObject* parent) : QObject(parent) {}
};
