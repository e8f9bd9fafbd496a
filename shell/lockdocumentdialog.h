#pragma once
// "Lock document": the lock flag and a password typed twice. The caller
// reads the flag and the password after OK.
#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;

class CLockDocumentDialog : public QDialog {
    Q_OBJECT
public:
    // Longest password, in characters (one byte each in the code page).
    static constexpr int kMaxPassword = 32;

    explicit CLockDocumentDialog(QWidget* parent = nullptr);

    void SetLockFlag(bool lock);
    bool GetLockFlag() const;
    // The password as cp1252 bytes.
    std::string GetPassword() const;

    // OK: ends the dialog when both passwords are equal, otherwise says
    // "Bad password" and stays open.
    void accept() override;

private:
    QCheckBox* m_lock;
    QLineEdit* m_password;
    QLineEdit* m_confirm;
};
