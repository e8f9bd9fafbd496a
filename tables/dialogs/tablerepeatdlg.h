#pragma once
// "Repeat": one text written into several rows of one table column. The
// table view presets the values, runs the dialog and, on OK, does the
// writing with the values read back.
#include <QDialog>

#include <cstdint>
#include <string>

class CUpDownCtrl;
class QCheckBox;
class QComboBox;
class QLineEdit;

class CTableRepeatDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int32_t kMaxValue = 2000000000;

    // Texts are bytes in `codePage`, the table font's code page.
    explicit CTableRepeatDlg(QWidget* parent = nullptr, int codePage = 1252);

    // Presets, shown when the dialog opens.
    void SetColumn(const std::string& letter);
    void SetRow(int32_t row);
    void SetCopies(int32_t copies);
    void SetText(const std::string& text);
    void SetInsert(bool on);

    // The values taken at OK (the presets until then).
    const std::string& GetColumn() const { return m_column; }
    int32_t GetRow() const { return m_row; }
    int32_t GetCopies() const { return m_copies; }
    const std::string& GetText() const { return m_text; }
    bool GetInsert() const { return m_insert; }

    // Reads the fields into the values; false (the user told, the dialog
    // still open) when a number is missing or out of range.
    bool ExchangeData();

    void accept() override;

private:
    void stepField(QLineEdit* field, int delta);

    int m_codePage;
    QComboBox* m_columnBox;
    QLineEdit* m_rowEdit;
    QLineEdit* m_copiesEdit;
    QLineEdit* m_textEdit;
    QCheckBox* m_insertBox;
    CUpDownCtrl* m_rowSpin;
    CUpDownCtrl* m_copiesSpin;

    std::string m_column;
    int32_t m_row = 1;
    int32_t m_copies = 1;
    std::string m_text;
    bool m_insert = false;
};
