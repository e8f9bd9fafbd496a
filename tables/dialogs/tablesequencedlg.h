#pragma once
// "Sequence": a column filled with a run of numbers or letters. The table
// view presets the start cell, runs the dialog and, on OK, writes the
// values GetStartValue .. GetStopValue as FormatValue gives them.
//
// Prefix, start, stop, suffix and base are remembered for the next use
// while the program runs; the other values start afresh each time.
#include <QDialog>

#include <cstdint>
#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

class CTableSequenceDlg : public QDialog {
    Q_OBJECT
public:
    enum Base { Decimal = 0, Octal = 1, Hex = 2, Alphabetic = 3 };
    static constexpr int32_t kMaxValue = 2000000000;
    // Longest cell text FormatValue gives, in bytes.
    static constexpr size_t kMaxText = 255;
    // Longest fill FormatValue puts before a number.
    static constexpr size_t kMaxFill = 19;

    // Texts are bytes in `codePage`, the table font's code page.
    // Opens with the prefix, start, stop, suffix and base of the last OK.
    explicit CTableSequenceDlg(QWidget* parent = nullptr, int codePage = 1252);

    // The start cell, letter and row ("B3").
    void SetCell(const std::string& cell);

    // The values taken at OK (the field contents until then).
    int GetBase() const { return m_base; }
    const std::string& GetPrefix() const { return m_prefix; }
    const std::string& GetStart() const { return m_start; }
    const std::string& GetStop() const { return m_stop; }
    const std::string& GetSuffix() const { return m_suffix; }
    int32_t GetStep() const { return m_step; }
    int32_t GetCopies() const { return m_copies; }
    int32_t GetSets() const { return m_sets; }
    const std::string& GetCell() const { return m_cell; }
    bool GetLeadingZero() const { return m_leadingZero; }
    bool GetReverse() const { return m_reverse; }
    bool GetInsert() const { return m_insert; }
    bool IsUpperCase() const { return m_upperCase; }

    // For code that runs the fill without showing the dialog.
    void SetBase(int base) { m_base = base; }
    void SetStart(const std::string& start) { m_start = start; }
    void SetStop(const std::string& stop) { m_stop = stop; }
    void SetPrefix(const std::string& prefix) { m_prefix = prefix; }
    void SetSuffix(const std::string& suffix) { m_suffix = suffix; }
    void SetLeadingZero(bool on) { m_leadingZero = on; }
    void SetReverse(bool on) { m_reverse = on; }

    // A text's value in the current base; also sets the letter case of hex
    // and alphabetic output. Invalid or empty texts, and values outside
    // int32, are 0.
    int32_t ParseValue(const std::string& text);
    // Start parsed (Stop in reverse order), and the other way round.
    int32_t GetStartValue();
    int32_t GetStopValue();
    // The cell text of a value: prefix, fill, number, suffix.
    std::string FormatValue(int32_t value) const;

    // Reads the fields into the values and remembers prefix, start, stop,
    // suffix and base; false (the user told, the dialog still open, nothing
    // remembered) when a number is missing or out of range.
    bool ExchangeData();

    void accept() override;

    // Forgets what earlier dialogs remembered (for tests).
    static void ResetRemembered();

private:
    void stepField(QLineEdit* field, int delta);
    void baseClicked(int base);
    QString toText(const std::string& bytes) const;
    std::string toBytes(const QString& text) const;

    int m_codePage;
    QButtonGroup* m_baseGroup;
    QLineEdit* m_prefixEdit;
    QLineEdit* m_startEdit;
    QLineEdit* m_stopEdit;
    QLineEdit* m_suffixEdit;
    QLineEdit* m_stepEdit;
    QLineEdit* m_copiesEdit;
    QLineEdit* m_setsEdit;
    QLineEdit* m_cellEdit;
    QCheckBox* m_leadingZeroBox;
    QCheckBox* m_reverseBox;
    QCheckBox* m_insertBox;

    int m_base = Decimal;
    std::string m_prefix, m_start, m_stop, m_suffix, m_cell;
    int32_t m_step = 1, m_copies = 1, m_sets = 1;
    bool m_leadingZero = false, m_reverse = false, m_insert = false;
    bool m_upperCase = true;
};
