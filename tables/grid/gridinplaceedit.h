#pragma once
// The editor laid over a grid cell. It ends when it loses the focus; Tab,
// Enter and Escape (and the arrow and page keys when it was opened from the
// keyboard, or with Ctrl) hand the focus back to the grid, which then moves
// on with that key.
#include "platform/windef.h"
#include "tables/grid/gridcellbase.h"

#include <QLineEdit>

#include <string>

class CGridCtrl;

class CGridInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    CGridInPlaceEdit(CGridCtrl* grid, const RECT& rect, Qt::Alignment align, int row, int col,
                     const std::string& initialText, const CEditStart& start);

    // Applies a start key or typed text as the first character rules say.
    void TypeStart(const CEditStart& start);
    // Reports the text to the grid and closes the editor (once).
    void EndEdit();
    // The grid goes away: the editor closes without reporting.
    void Abandon() { m_ended = true; }

    int Row() const { return m_row; }
    int Col() const { return m_col; }
    int LastKey() const { return m_lastKey; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void finishWith(int key);
    void grow();

    CGridCtrl* m_grid;
    int m_row;
    int m_col;
    QString m_initialText;
    int m_lastKey = 0;
    bool m_exitOnArrows;
    bool m_ended = false;
};
