#pragma once
// Gives an open editor the keys it needs before the window's accelerators.
// While a text editor has the focus (the in-place editor of a grid cell or
// of a design text, a ribbon box, a dialog's box: whatever takes
// input-method text, has a text cursor and is not read-only), Escape and
// the standard editing keys (Cut, Copy, Paste, Delete, Undo, Redo, Select
// all, plain Delete and Backspace) reach it as key presses: the filter
// accepts their ShortcutOverride, so no window shortcut takes them. Every
// other shortcut (Save, Print, Find, ...) still reaches the window.
//
// One filter serves the whole application; the window that owns the
// accelerators installs it.
#include <QObject>

class QKeyEvent;

class CEditorKeyPrecedence : public QObject {
    Q_OBJECT
public:
    // Filters the application's events while `owner` lives (deleted with it).
    static CEditorKeyPrecedence* InstallForApplication(QObject* owner);

    // Escape and the editing keys.
    static bool IsEditorKey(const QKeyEvent* event);
    // Whether `object` edits text: it takes input-method text, answers with
    // a cursor position and is not read-only. (A grid takes typed characters
    // to open its editor, but has no cursor: not an editor.)
    static bool IsTextEditor(QObject* object);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CEditorKeyPrecedence(QObject* parent) : QObject(parent) {}
};
