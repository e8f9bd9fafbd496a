#include "shell/lockdocumentdialog.h"

#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/codepagevalidator.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* passwordEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(CLockDocumentDialog::kMaxPassword);
    edit->setValidator(new CCodePageValidator(edit));
    return edit;
}

} // namespace

CLockDocumentDialog::CLockDocumentDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Lock document"));
    m_lock = new QCheckBox(QStringLiteral("Lock template"), this);
    m_lock->setChecked(true);
    m_lock->setObjectName(QStringLiteral("lock"));
    m_password = passwordEdit(this);
    m_confirm = passwordEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_confirm->setObjectName(QStringLiteral("confirm"));
    auto* passwordLabel = new QLabel(QStringLiteral("Password"), this);
    passwordLabel->setBuddy(m_password);
    auto* confirmLabel = new QLabel(QStringLiteral("Confirm password"), this);
    confirmLabel->setBuddy(m_confirm);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lock);
    layout->addWidget(passwordLabel);
    layout->addWidget(m_password);
    layout->addWidget(confirmLabel);
    layout->addWidget(m_confirm);
    layout->addWidget(buttons);
    setTabOrder(m_lock, m_password);
    setTabOrder(m_password, m_confirm);
    setTabOrder(m_confirm, buttons);
    m_password->setFocus();
}

void CLockDocumentDialog::SetLockFlag(bool lock)
{
    m_lock->setChecked(lock);
}

bool CLockDocumentDialog::GetLockFlag() const
{
    return m_lock->isChecked();
}

std::string CLockDocumentDialog::GetPassword() const
{
    return codepage::FromUnicode(m_password->text());
}

void CLockDocumentDialog::accept()
{
    if (codepage::FromUnicode(m_password->text()) != codepage::FromUnicode(m_confirm->text())) {
        ShowUserMessage("Bad password", "Error", MessageIcon::Error);
        return;
    }
    QDialog::accept();
}
