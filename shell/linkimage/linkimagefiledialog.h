#pragma once
// "Link image": browses a folder of pictures and links them to the image
// columns of the table view's current row. Up to four slots show the cells
// of the row's image columns; pictures dragged from the browser (or files
// dropped from the desktop) onto slot n fill image column n from the
// current row downwards. Previous and Next move the current row. The
// dialog's effect is the edited table.
//
// A cell holds at most kMaxCellBytes bytes of the table's code page: a
// path that does not fit, or that the code page cannot spell, is refused
// with a message naming it, and no cell changes.
#include <QDialog>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

class CImageBrowser;
class CImageWindow;
class CVorteplanSoftTableView;
class QComboBox;
class QLabel;
class QLineEdit;

class CLinkImageFileDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSlots = 4;
    static constexpr size_t kMaxCellBytes = 255;

    // `view` is not owned and outlives the dialog. The dialog starts in the
    // clip-art folder.
    explicit CLinkImageFileDialog(CVorteplanSoftTableView& view, QWidget* parent = nullptr);
    ~CLinkImageFileDialog() override;

    // Shows `folder` in the combo (with its parents) and scans it.
    void SetFolder(const QString& folder);
    // Fills image column n with the files, from the current row downwards
    // (dropped files: one cell each; browser drags: as one table edit).
    // False when a file was refused.
    bool LinkFiles(int n, const QStringList& files, bool fromBrowser);
    void GoToPrevious();
    void GoToNext();

    CImageBrowser* Browser() const { return m_browser; }
    CImageWindow* Slot(int n) const { return n >= 0 && n < kSlots ? m_slots[size_t(n)] : nullptr; }
    QComboBox* FolderCombo() const { return m_folder; }
    QLineEdit* RowEdit() const { return m_row; }

private:
    void onSelectionDropped(QPoint globalPoint);
    void browse();
    void refreshRow();
    // The cell texts of the files; nothing (after telling the user) when
    // one does not fit.
    bool cellTexts(const QStringList& files, std::vector<std::string>& out) const;

    CVorteplanSoftTableView& m_view;
    CImageBrowser* m_browser;
    QComboBox* m_folder;
    QLineEdit* m_row;
    std::array<CImageWindow*, kSlots> m_slots{};
    std::array<QLabel*, kSlots> m_labels{};
};
