#include "shell/labelprintdialog.h"

#include <QAbstractButton>
#include <QPrinter>

namespace {

// The toolkit's widgets (by their object names) of the choices that are
// not the run's: the free page list, the page set and the page order.
constexpr const char* kForeignChoices[] = {"pagesRadioButton", "pagesLineEdit", "pageSetLabel", "pageSetCombo",
                                           "reverse"};

} // namespace

CLabelPrintDialog::CLabelPrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent)
{
    // What the hidden choices read back when the dialog is accepted: every
    // page in the order the run prints it, copies one after the other.
    printer->setPageOrder(QPrinter::FirstPageFirst);
    printer->setCollateCopies(true);
    if (auto* range = findChild<QAbstractButton*>(QStringLiteral("printRange")))
        range->setText(QStringLiteral("Labels from"));
}

void CLabelPrintDialog::setVisible(bool visible)
{
    QPrintDialog::setVisible(visible);
    if (visible)
        hideForeignChoices();
}

void CLabelPrintDialog::hideForeignChoices()
{
    for (const char* name : kForeignChoices)
        if (auto* widget = findChild<QWidget*>(QLatin1String(name)))
            widget->hide();
}
