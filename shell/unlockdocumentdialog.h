#pragma once
// "Unlock document": the password must equal the document's exactly.
#include <QDialog>

#include <string>

class QLineEdit;

class CUnlockDocumentDialog : public QDialog {
    Q_OBJECT
public:
    explicit CUnlockDocumentDialog(QWidget* parent = nullptr);

    // The document's password (cp1252 bytes) the typed one must match.
    void SetExpectedPassword(const std::string& password) { m_expected = password; }

    // OK: ends the dialog when the password matches byte for byte,
    // otherwise says "Bad password" and stays open.
    void accept() override;

private:
    std::string m_expected;
    QLineEdit* m_password;
};
