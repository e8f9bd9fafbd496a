#pragma once
// "Select label": the label catalogue of the user's labels folder as a
// filtered, sortable list with the picture of the selected definition. It
// opens a definition's information file, deletes definition files and
// imports files into the user's folders. The result is the path of the
// chosen definition file as the catalogue found it (letter case kept).
//
//     CSelectLabelDialog dlg(parent);
//     dlg.SetFolders(labels, images, info);
//     if (dlg.exec() == QDialog::Accepted)
//         doc.LoadLabelDefinition(QFile::encodeName(dlg.GetPath()).toStdString());
#include "document/catalogue/labelmanager.h"

#include <QDialog>

#include <array>
#include <optional>
#include <string>
#include <vector>

class CLabelImagePreview;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CSelectLabelDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { kFamily = 0, kName = 1, kWidth = 2, kHeight = 3, kColumns = 4 };
    // Rows from this index on show no picture.
    static constexpr int kPreviewRows = 1024;
    static constexpr int kMaxImportFiles = 100;
    static constexpr int kMaxArticleNumberText = 256;

    explicit CSelectLabelDialog(QWidget* parent = nullptr);
    ~CSelectLabelDialog() override;

    // The "Select label" command's dialog over the per-user folders: the
    // chosen definition file, or nothing on Cancel.
    static std::optional<QString> Choose(QWidget* parent);

    // The per-user folders; set before the dialog is shown (Reload then
    // runs by itself) or call Reload afterwards.
    void SetFolders(const QString& labels, const QString& images, const QString& info);
    // The chosen definition file; empty until OK.
    const QString& GetPath() const { return m_result; }

    // Reloads the catalogue, fills the combos and the list, sorts by name
    // and then by family.
    void Reload();
    // Sorts the list by a column in its current direction, then flips it.
    void SortByColumn(int column);
    // Natural order of two names: < 0, 0 or > 0.
    static int CompareNames(const std::string& a, const std::string& b);

    // The actions of the buttons.
    void OnShowInfo();
    void OnDelete();
    void OnImport();
    void OnSearch();
    void accept() override;

    // For tests and the benchmark.
    QTreeWidget* List() const { return m_list; }
    CLabelImagePreview* Preview() const { return m_preview; }
    const CLabelManager& Catalogue() const { return m_catalogue; }
    // The catalogue slot a list row shows; -1 for none.
    int SlotOfRow(int row) const;
    void FillList();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        std::string family;
        std::string name;
        double widthValue = 0; // as the shown texts read
        double heightValue = 0;
        QString path;
    };
    void fillFamilies();
    bool passes(const CLabelFileNew& label) const;
    bool passesTypes(const CLabelFileNew& label) const;
    void sortRows(int column, bool descending);
    int compareRows(int column, int slotA, int slotB) const;
    void onSelectionChanged();
    void showPreviewOf(int slot);
    void resizeColumns();
    void showLabelsFolder();
    QString selectedPath() const;
    // Copies one file into a folder; true when a new file was made.
    bool importFile(const QString& source, const QString& folder);
    void selectRow(const std::string& family, const std::string& name);

    QString m_labelsFolder;
    QString m_imagesFolder;
    QString m_infoFolder;
    QString m_result;
    std::string m_articleNumber;
    std::array<bool, kColumns> m_descending{};
    bool m_loaded = false;
    CLabelManager m_catalogue;
    std::vector<Entry> m_entries; // by catalogue slot

    QComboBox* m_markingType;
    QComboBox* m_printerType;
    QComboBox* m_family;
    QLineEdit* m_articleEdit;
    QTreeWidget* m_list;
    CLabelImagePreview* m_preview;
    QPushButton* m_showInfo;
};
