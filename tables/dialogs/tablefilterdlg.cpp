#include "tables/dialogs/tablefilterdlg.h"

#include "content/tables/datatablefilter.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "tables/grid/gridctrl.h"

#include <QGuiApplication>
#include <QScreen>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kRowLabels[] = {"Function",
                                  "Show column",
                                  "Remove leading blanks",
                                  "Remove leading character",
                                  "Remove leading character",
                                  "Remove leading character",
                                  "Include rows containing",
                                  "Include rows containing",
                                  "Include rows containing",
                                  "Exclude rows containing",
                                  "Exclude rows containing",
                                  "Exclude rows containing"};

} // namespace

CTableFilterDlg::CTableFilterDlg(CVorteplanSoftLabelDoc& doc, int markingType, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_grid(new CGridCtrl(this, this)), m_markingBox(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Filter"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    m_markingBox->setObjectName(QStringLiteral("markingType"));
    m_markingBox->addItem(QString());
    for (int i = 1; i <= kMarkingTypes; ++i)
        m_markingBox->addItem(QString::fromLatin1(GetMarkingTypeName(i)));
    m_markingType = markingType >= 0 && markingType <= kMarkingTypes ? markingType : 0;
    m_markingBox->setCurrentIndex(m_markingType);
    connect(m_markingBox, &QComboBox::currentIndexChanged, this, &CTableFilterDlg::markingTypeChosen);

    m_grid->setObjectName(QStringLiteral("matrix"));
    m_grid->SetVirtualMode(true);
    m_grid->SetEditable(true);
    m_grid->SetRowCount(kGridRows);
    m_grid->SetColumnCount(kGridColumns);
    m_grid->SetFixedRowCount(1);
    m_grid->SetFixedColumnCount(1);
    m_grid->SetColumnWidth(0, 180);
    m_grid->SetColumnWidth(1, 70);
    for (int c = 2; c < kGridColumns; ++c)
        m_grid->SetColumnWidth(c, 24);
    m_grid->ResetScrollBars();

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Marking type"), this));
    top->addWidget(m_markingBox);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Filter settings"), this));
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    // As large as the matrix, within most of the screen.
    QSize room(1200, 800);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        room = screen->availableGeometry().size() * 9 / 10;
    m_grid->setMinimumSize(m_grid->ContentSize(room));
    adjustSize();
}

CTableFilterDlg::~CTableFilterDlg()
{
    // The grid asks its owner while it goes; let it go first.
    delete m_grid;
}

void CTableFilterDlg::done(int result)
{
    QDialog::done(result);
    // Close, Escape and the window's close box all end the dialog.
    deleteLater();
}

int CTableFilterDlg::GetDispInfo(int row, int column, std::string& text)
{
    if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns)
        return 0;
    if (row == 0) {
        if (column == 0)
            text = "Function";
        else if (column == 1)
            text = "Argument";
        else
            text = std::string(1, char(column + 63));
    } else if (column == 0) {
        text = kRowLabels[row];
    } else if (column == 1) {
        text = m_doc.GetFilterFieldText(row - 1);
    } else {
        text.assign(m_doc.GetFilterColumnFlag(row - 1, column - 2) ? 1 : 0, 'x'); // "x" or ""
    }
    return 0;
}

// The argument column is edited in place; a start of an edit anywhere else
// (typing into a mark cell) toggles the mark instead.
int CTableFilterDlg::BeginLabelEdit(int row, int column)
{
    if (column == 1)
        return 0;
    if (isMarkCell(row, column))
        toggleMark(row, column);
    return -1;
}

int CTableFilterDlg::EndLabelEdit(int row, int column, const std::string& text)
{
    if (column == 1 && row >= 1 && row < kGridRows) {
        if (m_doc.GetFilterFieldText(row - 1) != text && m_doc.GetFilter(m_doc.GetCurrentTableIndex())) {
            m_doc.SetFilterFieldText(row - 1, text);
            m_doc.SetModifiedFlag(true);
        }
        refilter();
    }
    return 0;
}

// The focus moved onto a cell, by mouse or keyboard.
int CTableFilterDlg::ItemChanged(int row, int column)
{
    if (isMarkCell(row, column))
        toggleMark(row, column);
    return 0;
}

void CTableFilterDlg::toggleMark(int row, int column)
{
    if (!m_doc.GetFilter(m_doc.GetCurrentTableIndex()))
        return;
    m_doc.ToggleFilterColumnFlag(row - 1, column - 2);
    m_doc.SetModifiedFlag(true);
    refilter();
    m_grid->viewport()->update();
}

void CTableFilterDlg::refilter()
{
    m_doc.ReapplyTableFilter();
}

void CTableFilterDlg::markingTypeChosen(int index)
{
    m_markingType = std::max(0, index);
    if (CDataTableFilter* filter = m_doc.GetFilter(m_doc.GetCurrentTableIndex())) {
        filter->SetMarkingType(m_markingType);
        m_doc.SetModifiedFlag(true);
    }
}
