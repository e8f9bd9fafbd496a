#pragma once
// "Enter article number": the article numbers of a label definition, with
// adding and deleting. Changes go to the definition at once.
#include <QDialog>

class CLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class CLabelArticleNoDlg : public QDialog {
    Q_OBJECT
public:
    // Longest text the "New" edit takes.
    static constexpr int kMaxEdit = 256;

    // `label` is not owned and must outlive the dialog.
    explicit CLabelArticleNoDlg(CLabel& label, QWidget* parent = nullptr);

    // Offers the edit text to the definition: accepted, the edit is cleared
    // and the list refilled; refused, the beep sounds.
    void OnAdd();
    // Removes the selected number; the beep sounds when the definition
    // refuses. Without a selection nothing happens.
    void OnDelete();

private:
    void fillList();

    CLabel& m_label;
    QListWidget* m_list;
    QLineEdit* m_edit;
    QPushButton* m_add;
    QPushButton* m_delete;
};
