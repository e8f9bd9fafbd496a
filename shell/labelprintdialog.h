#pragma once
// The print dialog of a label run: the toolkit's dialog with only the
// choices the run carries out. The run prints all labels, the labels from
// one number to another, or the selected rows, in its own order; the
// toolkit's free page list, its page set and its reverse order would act on
// the printed pages behind the run's back (a printer queue filters the
// pages the run sends), so they are not offered. Copies stay: a queue makes
// them, and the print driver repeats the run for a file.
#include <QPrintDialog>

class CLabelPrintDialog : public QPrintDialog {
public:
    explicit CLabelPrintDialog(QPrinter* printer, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

private:
    // The toolkit shows its widgets again each time the dialog opens.
    void hideForeignChoices();
};
