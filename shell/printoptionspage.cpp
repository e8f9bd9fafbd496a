#include "shell/printoptionspage.h"

#include "platform/codepage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

std::string bytesOf(const QLineEdit* edit)
{
    return codepage::FromUnicode(edit->text());
}

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    return b;
}

} // namespace

CPrintOptionsPage::CPrintOptionsPage(QWidget* parent) : QWidget(parent)
{
    // The tab beside the toolkit's own "Options" page.
    setWindowTitle(tr("Label printing"));
    m_reverse = new QCheckBox(tr("Reverse order"), this);
    m_sortVertical = new QCheckBox(tr("Sort vertical"), this);
    m_top = new QLineEdit(this);
    m_left = new QLineEdit(this);
    m_repeat = new QLineEdit(this);
    m_firstLabel = new QLineEdit(this);
    m_sets = new QLineEdit(this);
    m_pageBreak = new QCheckBox(tr("Page break on new set"), this);
    m_firstUp = arrowButton(Qt::UpArrow, this);
    m_firstDown = arrowButton(Qt::DownArrow, this);
    m_setsUp = arrowButton(Qt::UpArrow, this);
    m_setsDown = arrowButton(Qt::DownArrow, this);

    auto* compensation = new QGroupBox(tr("Compensation"), this);
    auto* cl = new QGridLayout(compensation);
    cl->addWidget(new QLabel(tr("Top"), compensation), 0, 0);
    cl->addWidget(m_top, 0, 1);
    cl->addWidget(new QLabel(tr("Left"), compensation), 1, 0);
    cl->addWidget(m_left, 1, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Repeat:"), this), 0, 0);
    grid->addWidget(m_repeat, 0, 1);
    grid->addWidget(new QLabel(tr("First label: "), this), 1, 0);
    grid->addWidget(m_firstLabel, 1, 1);
    grid->addWidget(m_firstUp, 1, 2);
    grid->addWidget(m_firstDown, 1, 3);
    grid->addWidget(new QLabel(tr("Sets:"), this), 2, 0);
    grid->addWidget(m_sets, 2, 1);
    grid->addWidget(m_setsUp, 2, 2);
    grid->addWidget(m_setsDown, 2, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_reverse);
    layout->addWidget(m_sortVertical);
    layout->addWidget(compensation);
    layout->addLayout(grid);
    layout->addWidget(m_pageBreak);
    layout->addStretch();

    // Up is a delta of -1, as the arrows of an up-down control report it.
    connect(m_firstUp, &QToolButton::clicked, this, [this] { spin(m_firstLabel, -1); });
    connect(m_firstDown, &QToolButton::clicked, this, [this] { spin(m_firstLabel, 1); });
    connect(m_setsUp, &QToolButton::clicked, this, [this] { spin(m_sets, -1); });
    connect(m_setsDown, &QToolButton::clicked, this, [this] { spin(m_sets, 1); });
}

void CPrintOptionsPage::spin(QLineEdit* edit, int delta)
{
    const int32_t current = printoptions::ParseFirstLabel(bytesOf(edit));
    edit->setText(QString::number(printoptions::SpinValue(current, delta)));
}

void CPrintOptionsPage::SetOptions(const PrintOptionsRecord& o)
{
    m_shown = o;
    m_reverse->setChecked(o.reverse != 0);
    m_sortVertical->setChecked(o.sortVertical != 0);
    m_top->setText(codepage::ToUnicode(FormatPrintLength(o.topCompensation)));
    m_left->setText(codepage::ToUnicode(FormatPrintLength(o.leftCompensation)));
    m_repeat->setText(codepage::ToUnicode(printoptions::RepeatText(o.repeat)));
    m_firstLabel->setText(QString::number(o.firstLabel));
    m_sets->setText(QString::number(o.sets));
    m_pageBreak->setChecked(o.pageBreakOnNewSet != 0);
}

PrintOptionsRecord CPrintOptionsPage::GetOptions()
{
    PrintOptionsRecord o = m_shown;
    o.reverse = m_reverse->isChecked() ? 1 : 0;
    o.sortVertical = m_sortVertical->isChecked() ? 1 : 0;
    if (const auto v = ParsePrintLength(bytesOf(m_top)))
        m_lastTop = *v;
    if (const auto v = ParsePrintLength(bytesOf(m_left)))
        m_lastLeft = *v;
    o.topCompensation = m_lastTop;
    o.leftCompensation = m_lastLeft;
    o.repeat = printoptions::ParseRepeat(bytesOf(m_repeat));
    o.firstLabel = printoptions::ParseFirstLabel(bytesOf(m_firstLabel));
    o.sets = printoptions::ParseSets(bytesOf(m_sets));
    o.pageBreakOnNewSet = m_pageBreak->isChecked() ? 1 : 0;
    return o;
}
