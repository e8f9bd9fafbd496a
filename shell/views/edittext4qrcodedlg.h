#pragma once
// "Constant text for QR Code® symbol": one multi-line edit (Enter starts a
// new line) with OK and Cancel. The text is model bytes in a code page with
// CR LF between lines; the edit shows LF.
#include <QDialog>

#include <string>

class QPlainTextEdit;

class CEditText4QRCodeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxBytes = 8192;

    explicit CEditText4QRCodeDlg(QWidget* parent = nullptr);

    QPlainTextEdit* Edit() const { return m_edit; }
    // The text as model bytes (CR LF, characters the page lacks as '?',
    // at most kMaxBytes - 1 bytes cut on a character boundary).
    void SetText(const std::string& bytes, int codePage);
    std::string GetText(int codePage) const;

    // Runs the dialog on `bytes`; true with the edited text on OK.
    static bool Run(QWidget* parent, std::string& bytes, int codePage);

private:
    QPlainTextEdit* m_edit = nullptr;
};
