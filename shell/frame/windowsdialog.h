#pragma once
// The window dialog (command 131): the open project windows, with
// Activate and Close for the chosen ones.
#include <QDialog>

class QListWidget;
class QMdiArea;

class CWindowsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CWindowsDialog(QMdiArea* area, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    // Activates the selected window and closes the dialog.
    void ActivateSelected();
    // Closes the selected windows (each may refuse).
    void CloseSelected();

private:
    void fill();

    QMdiArea* m_area;
    QListWidget* m_list;
};
