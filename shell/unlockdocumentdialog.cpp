#include "shell/unlockdocumentdialog.h"

#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/codepagevalidator.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CUnlockDocumentDialog::CUnlockDocumentDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Unlock document"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setValidator(new CCodePageValidator(m_password));
    auto* label = new QLabel(QStringLiteral("Password"), this);
    label->setBuddy(m_password);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_password);
    layout->addWidget(buttons);
    setTabOrder(m_password, buttons);
    m_password->setFocus();
}

void CUnlockDocumentDialog::accept()
{
    if (codepage::FromUnicode(m_password->text()) != m_expected) {
        ShowUserMessage("Bad password", "Error", MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
