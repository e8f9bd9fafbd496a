#pragma once
// "Select Excel worksheet": lists the sheets of a workbook and answers the
// one the user picks. OK without a selection keeps the dialog open.
#include "platform/codepage.h"
#include "tables/import/excelfilemanager.h"

#include <QDialog>

class QListWidget;

class CExcelSelectSheetDlg : public QDialog, public CExcelSheetChooser {
    Q_OBJECT
public:
    // `codePage` is the table's: the one the import gives the names in.
    explicit CExcelSelectSheetDlg(QWidget* parent = nullptr, int codePage = codepage::kAnsi);

    // Fills the list with `names` (in the table's code page) and runs the
    // dialog modally.
    std::optional<int> ChooseSheet(const std::vector<std::string>& names) override;

    // The list, for tests.
    QListWidget* list() const { return m_list; }
    // The index chosen by the last OK (0 at start).
    int chosenIndex() const { return m_index; }

    void accept() override;

private:
    QListWidget* m_list;
    int m_index = 0;
    int m_codePage;
};
