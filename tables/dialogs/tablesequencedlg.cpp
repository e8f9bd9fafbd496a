#include "tables/dialogs/tablesequencedlg.h"

#include "platform/codepage.h"
#include "tables/dialogs/dataexchange.h"
#include "tables/dialogs/updownctrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What the dialog remembers between uses while the program runs.
struct Remembered {
    int base = CTableSequenceDlg::Decimal;
    std::string prefix, start, stop, suffix;
};

Remembered& remembered()
{
    static Remembered r;
    return r;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// The leading integer of a text in `radix` as scanf's "%d", "%o" and "%x"
// read it: blanks skipped, an optional sign, for radix 16 an optional "0x",
// then digits up to the first other character. No digits, or a value
// outside int32, give 0.
int32_t scanInteger(const std::string& text, int radix)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (radix == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    int64_t value = 0;
    for (; i < text.size() && digitValue(text[i]) < radix; ++i) {
        value = value * radix + digitValue(text[i]);
        if (value > int64_t(INT32_MAX) + 1)
            return 0;
    }
    if (negative)
        value = -value;
    return value > INT32_MAX ? 0 : int32_t(value);
}

void appendWithin(std::string& out, std::string_view piece, size_t limit)
{
    if (out.size() < limit)
        out.append(piece.substr(0, limit - out.size()));
}

} // namespace

CTableSequenceDlg::CTableSequenceDlg(QWidget* parent, int codePage)
    : QDialog(parent), m_codePage(codePage), m_baseGroup(new QButtonGroup(this)), m_prefixEdit(new QLineEdit(this)),
      m_startEdit(new QLineEdit(this)), m_stopEdit(new QLineEdit(this)), m_suffixEdit(new QLineEdit(this)),
      m_stepEdit(new QLineEdit(this)), m_copiesEdit(new QLineEdit(this)), m_setsEdit(new QLineEdit(this)),
      m_cellEdit(new QLineEdit(this)), m_leadingZeroBox(new QCheckBox(QStringLiteral("Leading zero"), this)),
      m_reverseBox(new QCheckBox(QStringLiteral("Reverse order"), this)),
      m_insertBox(new QCheckBox(QStringLiteral("Insert"), this))
{
    setWindowTitle(QStringLiteral("Sequence"));
    const Remembered& r = remembered();
    m_base = r.base;
    m_prefix = r.prefix;
    m_start = r.start;
    m_stop = r.stop;
    m_suffix = r.suffix;

    auto* baseBox = new QGroupBox(QStringLiteral("Base"), this);
    auto* baseLayout = new QVBoxLayout(baseBox);
    const char* names[] = {"Decimal ( 0..9 )", "Octal ( 0..7 )", "Hex ( 0..9, A..F )", "Alphabetic ( A..Z )"};
    const char* ids[] = {"decimal", "octal", "hex", "alphabetic"};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(names[i]), baseBox);
        radio->setObjectName(QLatin1String(ids[i]));
        m_baseGroup->addButton(radio, i);
        baseLayout->addWidget(radio);
    }
    if (QAbstractButton* b = m_baseGroup->button(m_base))
        b->setChecked(true);
    connect(m_baseGroup, &QButtonGroup::idClicked, this, &CTableSequenceDlg::baseClicked);

    struct Field {
        QLineEdit* edit;
        const char* name;
    };
    for (const Field& f : {Field{m_prefixEdit, "prefix"}, Field{m_startEdit, "start"}, Field{m_stopEdit, "stop"},
                           Field{m_suffixEdit, "suffix"}, Field{m_stepEdit, "step"}, Field{m_copiesEdit, "copies"},
                           Field{m_setsEdit, "sets"}, Field{m_cellEdit, "cell"}})
        f.edit->setObjectName(QLatin1String(f.name));
    m_leadingZeroBox->setObjectName(QStringLiteral("leadingZero"));
    m_reverseBox->setObjectName(QStringLiteral("reverse"));
    m_insertBox->setObjectName(QStringLiteral("insert"));

    m_prefixEdit->setText(toText(m_prefix));
    m_startEdit->setText(toText(m_start));
    m_stopEdit->setText(toText(m_stop));
    m_suffixEdit->setText(toText(m_suffix));
    m_stepEdit->setText(QString::number(m_step));
    m_copiesEdit->setText(QString::number(m_copies));
    m_setsEdit->setText(QString::number(m_sets));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Prefix"), m_prefixEdit);
    form->addRow(QStringLiteral("Start"), m_startEdit);
    form->addRow(QStringLiteral("Stop"), m_stopEdit);
    form->addRow(QStringLiteral("Suffix"), m_suffixEdit);
    struct Stepped {
        QLineEdit* edit;
        const char* label;
        const char* arrows;
    };
    for (const Stepped& s : {Stepped{m_stepEdit, "Step", "stepArrows"}, Stepped{m_copiesEdit, "Copies", "copiesArrows"},
                             Stepped{m_setsEdit, "Sets", "setsArrows"}}) {
        auto* arrows = new CUpDownCtrl(this);
        arrows->setObjectName(QLatin1String(s.arrows));
        QLineEdit* edit = s.edit;
        connect(arrows, &CUpDownCtrl::stepped, this, [this, edit](int d) { stepField(edit, d); });
        form->addRow(QLatin1String(s.label), WithArrows(this, edit, arrows));
    }
    form->addRow(QStringLiteral("Cell"), m_cellEdit);

    auto* checks = new QVBoxLayout;
    checks->addWidget(baseBox);
    checks->addWidget(m_leadingZeroBox);
    checks->addWidget(m_reverseBox);
    checks->addWidget(m_insertBox);
    checks->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(checks);
    columns->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void CTableSequenceDlg::ResetRemembered()
{
    remembered() = Remembered{};
}

QString CTableSequenceDlg::toText(const std::string& bytes) const
{
    return codepage::ToUnicode(bytes, m_codePage);
}

std::string CTableSequenceDlg::toBytes(const QString& text) const
{
    return codepage::FromUnicode(text, m_codePage);
}

void CTableSequenceDlg::SetCell(const std::string& cell)
{
    m_cell = cell;
    m_cellEdit->setText(toText(cell));
}

void CTableSequenceDlg::baseClicked(int base)
{
    m_leadingZeroBox->setEnabled(base != Alphabetic);
}

// Steps the field only when it holds a number; the range is tested at OK.
void CTableSequenceDlg::stepField(QLineEdit* field, int delta)
{
    if (const std::optional<int32_t> value = dataexchange::ParseInteger(field->text()))
        field->setText(QString::number(int64_t(*value) + delta));
}

bool CTableSequenceDlg::ExchangeData()
{
    const std::optional<int32_t> step = dataexchange::ExchangeInteger(m_stepEdit, 1, kMaxValue);
    if (!step)
        return false;
    const std::optional<int32_t> copies = dataexchange::ExchangeInteger(m_copiesEdit, 1, kMaxValue);
    if (!copies)
        return false;
    const std::optional<int32_t> sets = dataexchange::ExchangeInteger(m_setsEdit, 1, kMaxValue);
    if (!sets)
        return false;
    m_base = std::max(0, m_baseGroup->checkedId());
    m_prefix = toBytes(m_prefixEdit->text());
    m_start = toBytes(m_startEdit->text());
    m_stop = toBytes(m_stopEdit->text());
    m_suffix = toBytes(m_suffixEdit->text());
    m_step = *step;
    m_copies = *copies;
    m_sets = *sets;
    m_cell = toBytes(m_cellEdit->text());
    m_leadingZero = m_leadingZeroBox->isChecked();
    m_reverse = m_reverseBox->isChecked();
    m_insert = m_insertBox->isChecked();
    remembered() = Remembered{m_base, m_prefix, m_start, m_stop, m_suffix};
    return true;
}

void CTableSequenceDlg::accept()
{
    if (ExchangeData())
        QDialog::accept();
}

int32_t CTableSequenceDlg::ParseValue(const std::string& text)
{
    switch (m_base) {
    case Decimal:
        return scanInteger(text, 10);
    case Octal:
        return scanInteger(text, 8);
    case Hex:
        if (text.find_first_of("ABCDEF") != std::string::npos)
            m_upperCase = true;
        else if (text.find_first_of("abcdef") != std::string::npos)
            m_upperCase = false;
        return scanInteger(text, 16);
    case Alphabetic: {
        if (text.empty())
            return 0;
        int64_t value = 0;
        for (char c : text) {
            m_upperCase = !(c >= 'a' && c <= 'z');
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
            if (c < 'A' || c > 'Z')
                return 0;
            value = value * 26 + (c - 'A');
            if (value > INT32_MAX)
                return 0;
        }
        return int32_t(value);
    }
    default:
        return 0;
    }
}

int32_t CTableSequenceDlg::GetStartValue()
{
    return ParseValue(m_reverse ? m_stop : m_start);
}

int32_t CTableSequenceDlg::GetStopValue()
{
    return ParseValue(m_reverse ? m_start : m_stop);
}

std::string CTableSequenceDlg::FormatValue(int32_t value) const
{
    std::string number;
    char buffer[16];
    switch (m_base) {
    case Octal:
        snprintf(buffer, sizeof buffer, "%o", unsigned(value));
        number = buffer;
        break;
    case Hex:
        snprintf(buffer, sizeof buffer, m_upperCase ? "%X" : "%x", unsigned(value));
        number = buffer;
        break;
    case Alphabetic: {
        // Base-26 letters, the least significant last; 0 is "A". Values
        // never come out negative from ParseValue; one that does is
        // written as its magnitude after a minus sign.
        const char a = m_upperCase ? 'A' : 'a';
        int64_t v = value;
        const bool negative = v < 0;
        if (negative)
            v = -v;
        do {
            number.insert(number.begin(), char(a + v % 26));
            v /= 26;
        } while (v > 0);
        if (negative)
            number.insert(number.begin(), '-');
        break;
    }
    default:
        snprintf(buffer, sizeof buffer, "%d", value);
        number = buffer;
        break;
    }

    std::string fill;
    const size_t longest = std::max(m_start.size(), m_stop.size());
    if (longest > number.size() && (m_base == Alphabetic || m_leadingZero)) {
        const size_t n = std::min(longest - number.size(), kMaxFill);
        fill.assign(n, m_base == Alphabetic ? (m_upperCase ? 'A' : 'a') : '0');
    }
    std::string out;
    appendWithin(out, m_prefix, kMaxText);
    appendWithin(out, fill, kMaxText);
    appendWithin(out, number, kMaxText);
    appendWithin(out, m_suffix, kMaxText);
    return out;
}
