#pragma once
// The window shown while a run prints: the page being printed and the
// labels printed so far, and a Cancel button that stops the run after the
// current page.
#include <QDialog>

class QLabel;
class QPushButton;

class CPrintProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPrintProgressDialog(QWidget* parent = nullptr);

    void SetProgress(int page, int labels);
    bool IsCancelled() const { return m_cancelled; }
    QPushButton* CancelButton() const { return m_cancel; }
    QString PageText() const;
    QString LabelText() const;

    // Escape and closing the window cancel as the button does.
    void reject() override;

private:
    QLabel* m_page;
    QLabel* m_labels;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};
