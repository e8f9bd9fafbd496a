#include "tables/view/findreplacedialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindReplaceDialog::CFindReplaceDialog(bool replace, QWidget* parent) : QDialog(parent), m_replaceKind(replace)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(replace ? tr("Replace") : tr("Find"));

    auto* fields = new QGridLayout;
    m_find = new QLineEdit(this);
    m_find->setMaxLength(255);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(m_find);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_find, 0, 1);
    if (replace) {
        m_replace = new QLineEdit(this);
        m_replace->setMaxLength(255);
        auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
        replaceLabel->setBuddy(m_replace);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replace, 1, 1);
    }
    m_wholeWord = new QCheckBox(tr("Match &whole word only"), this);
    m_matchCase = new QCheckBox(tr("Match &case"), this);
    auto* options = new QVBoxLayout;
    options->addWidget(m_wholeWord);
    options->addWidget(m_matchCase);
    auto* lower = new QHBoxLayout;
    lower->addLayout(options);
    m_up = new QRadioButton(tr("&Up"), this);
    m_down = new QRadioButton(tr("&Down"), this);
    m_down->setChecked(true);
    if (!replace) {
        auto* direction = new QGroupBox(tr("Direction"), this);
        auto* dirLayout = new QHBoxLayout(direction);
        dirLayout->addWidget(m_up);
        dirLayout->addWidget(m_down);
        lower->addWidget(direction);
    } else {
        m_up->hide();
        m_down->hide();
    }
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(lower);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    m_findNext = new QPushButton(tr("&Find Next"), this);
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, [this] { send(FR_FINDNEXT); });
    if (replace) {
        m_replaceButton = new QPushButton(tr("&Replace"), this);
        m_replaceAll = new QPushButton(tr("Replace &All"), this);
        buttons->addWidget(m_replaceButton);
        buttons->addWidget(m_replaceAll);
        connect(m_replaceButton, &QPushButton::clicked, this, [this] { send(FR_REPLACE); });
        connect(m_replaceAll, &QPushButton::clicked, this, [this] { send(FR_REPLACEALL); });
    }
    auto* cancel = new QPushButton(tr("Cancel"), this);
    buttons->addWidget(cancel);
    buttons->addStretch();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_find, &QLineEdit::textChanged, this, &CFindReplaceDialog::updateButtons);
    updateButtons();
}

void CFindReplaceDialog::updateButtons()
{
    // Nothing to search for: nothing to press, as in the common dialog.
    const bool any = !m_find->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replaceButton) {
        m_replaceButton->setEnabled(any);
        m_replaceAll->setEnabled(any);
    }
}

void CFindReplaceDialog::send(int kind)
{
    if (m_find->text().isEmpty())
        return;
    int flags = kind;
    if (m_down->isChecked() || m_replaceKind)
        flags |= FR_DOWN;
    if (m_wholeWord->isChecked())
        flags |= FR_WHOLEWORD;
    if (m_matchCase->isChecked())
        flags |= FR_MATCHCASE;
    emit request(flags, m_find->text(), m_replace ? m_replace->text() : QString());
}

void CFindReplaceDialog::done(int result)
{
    if (!m_closing) {
        m_closing = true;
        emit request(FR_DIALOGTERM, m_find->text(), m_replace ? m_replace->text() : QString());
    }
    QDialog::done(result);
}
