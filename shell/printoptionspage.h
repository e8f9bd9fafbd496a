#pragma once
// The program's own page of the print dialog: reverse order, sort vertical,
// the compensation of the printer, repeat, first label and sets. It shows an
// options record and reads it back with the rules of the page's edits.
#include "document/print/printrun.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QToolButton;

class CPrintOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit CPrintOptionsPage(QWidget* parent = nullptr);

    void SetOptions(const PrintOptionsRecord& options);
    // The options as the edits give them. A compensation that cannot be
    // read keeps the value last read on this page (0 at first).
    PrintOptionsRecord GetOptions();

    QCheckBox* ReverseBox() const { return m_reverse; }
    QCheckBox* SortVerticalBox() const { return m_sortVertical; }
    QLineEdit* TopEdit() const { return m_top; }
    QLineEdit* LeftEdit() const { return m_left; }
    QLineEdit* RepeatEdit() const { return m_repeat; }
    QLineEdit* FirstLabelEdit() const { return m_firstLabel; }
    QLineEdit* SetsEdit() const { return m_sets; }
    QCheckBox* PageBreakBox() const { return m_pageBreak; }
    // The spin buttons: up adds one, down takes one away, never below 1.
    QToolButton* FirstLabelUp() const { return m_firstUp; }
    QToolButton* FirstLabelDown() const { return m_firstDown; }
    QToolButton* SetsUp() const { return m_setsUp; }
    QToolButton* SetsDown() const { return m_setsDown; }

private:
    void spin(QLineEdit* edit, int delta);

    QCheckBox* m_reverse;
    QCheckBox* m_sortVertical;
    QLineEdit* m_top;
    QLineEdit* m_left;
    QLineEdit* m_repeat;
    QLineEdit* m_firstLabel;
    QLineEdit* m_sets;
    QCheckBox* m_pageBreak;
    QToolButton* m_firstUp;
    QToolButton* m_firstDown;
    QToolButton* m_setsUp;
    QToolButton* m_setsDown;
    PrintOptionsRecord m_shown;
    int32_t m_lastTop = 0;
    int32_t m_lastLeft = 0;
};
