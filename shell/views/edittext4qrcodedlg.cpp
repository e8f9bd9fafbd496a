#include "shell/views/edittext4qrcodedlg.h"

#include "platform/modeltext.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CEditText4QRCodeDlg::CEditText4QRCodeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Constant text for QR Code\u00AE symbol"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Text"), this));
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("edit1075"));
    m_edit->setTabChangesFocus(true);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setMinimumSize(450, 210);
    layout->addWidget(m_edit, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter belongs to the edit: no default button.
    for (QAbstractButton* b : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b))
            push->setAutoDefault(false);
    layout->addWidget(buttons);
    m_edit->setFocus();
}

void CEditText4QRCodeDlg::SetText(const std::string& bytes, int codePage)
{
    m_edit->setPlainText(modeltext::ToEditor(bytes, codePage));
}

std::string CEditText4QRCodeDlg::GetText(int codePage) const
{
    std::string bytes = modeltext::FromEditor(m_edit->toPlainText(), codePage);
    modeltext::CutToLimit(bytes, kMaxBytes - 1, codePage);
    return bytes;
}

bool CEditText4QRCodeDlg::Run(QWidget* parent, std::string& bytes, int codePage)
{
    CEditText4QRCodeDlg dialog(parent);
    dialog.SetText(bytes, codePage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bytes = dialog.GetText(codePage);
    return true;
}
