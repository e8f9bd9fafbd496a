#pragma once
// "Filter": the current table's row filter as a matrix of filter functions
// (rows) against the table columns A..Z, with an argument per function.
// Modeless; every click and edit goes into the document's filter at once
// and the table is filtered again. The dialog deletes itself when closed,
// so a QPointer to it clears itself.
#include "tables/gridowner.h"

#include <QDialog>

#include <array>
#include <string>

class CGridCtrl;
class CVorteplanSoftLabelDoc;
class QComboBox;

class CTableFilterDlg : public QDialog, public CGridOwner {
    Q_OBJECT
public:
    static constexpr int kFunctions = 11;
    static constexpr int kGridRows = kFunctions + 1;
    static constexpr int kGridColumns = 28;
    static constexpr int kMarkingTypes = 6;

    // `doc` must outlive the dialog. `markingType` (0 none, 1..6) is shown
    // in the combo box; other values show as none.
    CTableFilterDlg(CVorteplanSoftLabelDoc& doc, int markingType, QWidget* parent = nullptr);
    ~CTableFilterDlg() override;

    CGridCtrl* Grid() const { return m_grid; }
    QComboBox* MarkingTypeBox() const { return m_markingBox; }
    int GetMarkingType() const { return m_markingType; }

    // CGridOwner
    int ItemChanged(int row, int column) override;
    int BeginLabelEdit(int row, int column) override;
    int EndLabelEdit(int row, int column, const std::string& text) override;
    int GetDispInfo(int row, int column, std::string& text) override;

protected:
    void done(int result) override;

private:
    static bool isMarkCell(int row, int column) { return row >= 1 && row < kGridRows && column >= 2 && column < kGridColumns; }
    void toggleMark(int row, int column);
    void refilter();
    void markingTypeChosen(int index);

    CVorteplanSoftLabelDoc& m_doc;
    CGridCtrl* m_grid;
    QComboBox* m_markingBox;
    int m_markingType = 0;
};
