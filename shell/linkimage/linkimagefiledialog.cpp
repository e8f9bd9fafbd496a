#include "shell/linkimage/linkimagefiledialog.h"

#include "document/project/projectdoc.h"
#include "platform/modeltext.h"
#include "platform/paths.h"
#include "platform/uiservices.h"
#include "shell/linkimage/imagebrowser.h"
#include "shell/linkimage/imagewindow.h"
#include "tables/grid/gridctrl.h"
#include "tables/view/vorteplansofttableview.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CLinkImageFileDialog::CLinkImageFileDialog(CVorteplanSoftTableView& view, QWidget* parent)
    : QDialog(parent), m_view(view)
{
    setWindowTitle(QStringLiteral("Link image"));
    m_folder = new QComboBox(this);
    m_folder->setObjectName(QStringLiteral("folder"));
    m_folder->setEditable(true);
    m_folder->setInsertPolicy(QComboBox::NoInsert);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    auto* browserLabel =
        new QLabel(QStringLiteral("&Images: ( drag and drop on squares at bottom to choose )"), this);
    m_browser = new CImageBrowser(this);
    m_browser->setObjectName(QStringLiteral("browser"));
    browserLabel->setBuddy(m_browser);
    m_browser->setMinimumSize(400, 260);

    auto* slotGrid = new QGridLayout;
    for (int n = 0; n < kSlots; ++n) {
        m_labels[size_t(n)] = new QLabel(QStringLiteral("Image &%1").arg(n + 1), this);
        m_slots[size_t(n)] = new CImageWindow(n, view, this);
        m_slots[size_t(n)]->setObjectName(QStringLiteral("slot%1").arg(n + 1));
        m_slots[size_t(n)]->setFixedSize(96, 96);
        m_labels[size_t(n)]->setBuddy(m_slots[size_t(n)]);
        slotGrid->addWidget(m_labels[size_t(n)], 0, n);
        slotGrid->addWidget(m_slots[size_t(n)], 1, n);
        connect(m_slots[size_t(n)], &CImageWindow::filesDropped, this,
                [this](int slot, const QStringList& files) { LinkFiles(slot, files, false); });
    }
    m_row = new QLineEdit(this);
    m_row->setObjectName(QStringLiteral("row"));
    m_row->setReadOnly(true);
    m_row->setMaximumWidth(80);
    auto* previous = new QPushButton(QStringLiteral("Previous"), this);
    auto* next = new QPushButton(QStringLiteral("Next"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    previous->setObjectName(QStringLiteral("previous"));
    next->setObjectName(QStringLiteral("next"));
    close->setObjectName(QStringLiteral("close"));
    for (QPushButton* b : {previous, next})
        b->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto* rowLine = new QHBoxLayout;
    rowLine->addWidget(new QLabel(QStringLiteral("Row"), this));
    rowLine->addWidget(m_row);
    rowLine->addWidget(previous);
    rowLine->addWidget(next);
    rowLine->addStretch(1);
    rowLine->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addWidget(browserLabel);
    layout->addWidget(m_browser, 1);
    layout->addLayout(slotGrid);
    layout->addLayout(rowLine);

    connect(browse, &QPushButton::clicked, this, &CLinkImageFileDialog::browse);
    connect(m_folder, &QComboBox::textActivated, this, &CLinkImageFileDialog::SetFolder);
    connect(previous, &QPushButton::clicked, this, &CLinkImageFileDialog::GoToPrevious);
    connect(next, &QPushButton::clicked, this, &CLinkImageFileDialog::GoToNext);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_browser, &CImageBrowser::selectionDropped, this, &CLinkImageFileDialog::onSelectionDropped);

    // Slots beyond the table's image columns stay hidden.
    const CVorteplanSoftLabelDoc* doc = view.GetDocument();
    const int columns = doc ? doc->GetImageColumnCount() : 0;
    for (int n = columns; n < kSlots; ++n) {
        m_slots[size_t(n)]->hide();
        m_labels[size_t(n)]->hide();
    }
    refreshRow();
    SetFolder(paths::GetClipartFolder());
}

CLinkImageFileDialog::~CLinkImageFileDialog() = default;

void CLinkImageFileDialog::SetFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QSignalBlocker block(m_folder);
    m_folder->clear();
    QDir dir(clean);
    m_folder->addItem(QDir::toNativeSeparators(clean));
    while (dir.cdUp())
        m_folder->addItem(QDir::toNativeSeparators(dir.absolutePath()));
    m_folder->setCurrentIndex(0);
    m_browser->ScanFolder(clean);
}

void CLinkImageFileDialog::browse()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder"), m_browser->Folder());
    if (!folder.isEmpty())
        SetFolder(folder);
}

void CLinkImageFileDialog::refreshRow()
{
    m_row->setText(QString::number(m_view.CurrentRow()));
    for (CImageWindow* slot : m_slots)
        slot->update();
}

void CLinkImageFileDialog::GoToPrevious()
{
    m_view.GoToPreviousRow();
    refreshRow();
}

void CLinkImageFileDialog::GoToNext()
{
    m_view.GoToNextRow();
    refreshRow();
}

bool CLinkImageFileDialog::cellTexts(const QStringList& files, std::vector<std::string>& out) const
{
    const int codePage = m_view.Grid() ? m_view.Grid()->CodePage() : codepage::kAnsi;
    out.clear();
    for (const QString& file : files) {
        const QString path = QDir::fromNativeSeparators(file);
        std::string bytes = modeltext::CanEncode(path, codePage) ? modeltext::FromEditor(path, codePage)
                                                                 : std::string();
        if (bytes.empty() || bytes.size() > kMaxCellBytes) {
            ShowUserMessage("The file name\n" + codepage::FromUnicode(path) +
                                "\ndoes not fit in a table cell (at most 255 characters). No image was linked.",
                            {}, MessageIcon::Warning);
            return false;
        }
        out.push_back(std::move(bytes));
    }
    return true;
}

bool CLinkImageFileDialog::LinkFiles(int n, const QStringList& files, bool fromBrowser)
{
    if (n < 0 || n >= kSlots || files.isEmpty())
        return false;
    std::vector<std::string> names;
    if (!cellTexts(files, names))
        return false;
    if (fromBrowser) {
        m_view.FillImageColumn(n, names);
    } else {
        for (size_t k = 0; k < names.size(); ++k)
            m_view.SetImageCell(n, int(k), names[k]);
    }
    if (m_view.AreImageCellsFilled())
        QMetaObject::invokeMethod(this, &CLinkImageFileDialog::GoToNext, Qt::QueuedConnection);
    m_slots[size_t(n)]->update();
    m_browser->viewport()->update();
    return true;
}

void CLinkImageFileDialog::onSelectionDropped(QPoint globalPoint)
{
    QWidget* target = childAt(mapFromGlobal(globalPoint));
    while (target && target != this) {
        if (auto* slot = qobject_cast<CImageWindow*>(target)) {
            if (slot->isVisible()) {
                QStringList files;
                for (int i = 0; i < m_browser->GetSelectedCount(); ++i)
                    files.append(m_browser->GetSelectedPath(i));
                LinkFiles(slot->Number(), files, true);
            }
            return;
        }
        target = target->parentWidget();
    }
}
