#pragma once
// The small up/down arrow pair beside a number field. It only reports the
// arrow clicked; what happens to the field is the dialog's business (a
// QSpinBox would clamp the value silently and hide the range message of the
// data exchange).
#include <QWidget>

class QLineEdit;
class QToolButton;

class CUpDownCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    // +1 for the arrow pointing up, -1 for the one pointing down.
    void stepped(int delta);

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

// A row of a number field with its arrows beside it, for a form.
QWidget* WithArrows(QWidget* parent, QLineEdit* edit, CUpDownCtrl* arrows);
