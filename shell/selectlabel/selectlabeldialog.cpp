#include "shell/selectlabel/selectlabeldialog.h"

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/numberformat.h"
#include "platform/paths.h"
#include "platform/uiservices.h"
#include "shell/application/datafolders.h"
#include "shell/codepagevalidator.h"
#include "shell/selectlabel/labelimagepreview.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr const char* kMarkingTypes[] = {"All", "Wire", "Cable", "Component", "Terminal block", "PLC", "Other",
                                         "Module"};
constexpr const char* kPrinterTypes[] = {"All", "Laser", "Thermo", "Thermal transfer", "Other"};
constexpr uint32_t kPrinterTypeBits[] = {0x1u, 0x4u, 0x8u, 0x80000000u};
constexpr double kShares[] = {0.175, 0.40, 0.175, 0.175};

constexpr const char* kImportFilter =
    "Label files (*.label)|*.label|Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf|PDF files |*.pdf||";

QString text(const std::string& bytes) { return codepage::ToUnicode(bytes); }

std::string mmText(int32_t um) { return numfmt::FormatGeneral(double(um) / 1000.0, 6, '.') + " mm"; }

double readNumber(const std::string& text) { return numfmt::ParseLeadingNumber(text, '.').value_or(0.0); }

QString withSlash(const QString& folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

CSelectLabelDialog::CSelectLabelDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select label"));
    m_markingType = new QComboBox(this);
    m_markingType->setObjectName(QStringLiteral("markingType"));
    for (const char* name : kMarkingTypes)
        m_markingType->addItem(QString::fromLatin1(name));
    m_printerType = new QComboBox(this);
    m_printerType->setObjectName(QStringLiteral("printerType"));
    for (const char* name : kPrinterTypes)
        m_printerType->addItem(QString::fromLatin1(name));
    m_family = new QComboBox(this);
    m_family->setObjectName(QStringLiteral("family"));
    m_articleEdit = new QLineEdit(this);
    m_articleEdit->setObjectName(QStringLiteral("articleNumber"));
    m_articleEdit->setMaxLength(kMaxArticleNumberText);
    m_articleEdit->setValidator(new CCodePageValidator(m_articleEdit));
    auto* search = new QPushButton(QStringLiteral("Search"), this);
    search->setObjectName(QStringLiteral("search"));
    search->setAutoDefault(false);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("labels"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->setHeaderLabels({QStringLiteral("Family"), QStringLiteral("Name"), QStringLiteral("Width"),
                             QStringLiteral("Height")});
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setStretchLastSection(false);
    m_list->installEventFilter(this);
    m_preview = new CLabelImagePreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* remove = buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
    m_showInfo = buttons->addButton(QStringLiteral("Show info"), QDialogButtonBox::ActionRole);
    auto* import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("delete"));
    m_showInfo->setObjectName(QStringLiteral("showInfo"));
    import->setObjectName(QStringLiteral("import"));
    for (QPushButton* b : {remove, m_showInfo, import})
        b->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    const std::pair<const char*, QWidget*> filters[] = {{"Marking type", m_markingType},
                                                        {"Printer type", m_printerType},
                                                        {"Product family", m_family},
                                                        {"Article number", m_articleEdit}};
    int column = 0;
    for (const auto& [caption, widget] : filters) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(widget);
        layout->addWidget(label, 0, column);
        layout->addWidget(widget, 1, column++);
    }
    layout->addWidget(search, 1, column);
    layout->addWidget(m_list, 2, 0, 1, column + 1);
    layout->addWidget(m_preview, 0, column + 1, 3, 1);
    layout->addWidget(buttons, 3, 0, 1, column + 2);
    layout->setColumnStretch(column + 1, 1);
    resize(900, 420);

    connect(m_markingType, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
    connect(m_printerType, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
    connect(m_family, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
    connect(search, &QPushButton::clicked, this, &CSelectLabelDialog::OnSearch);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CSelectLabelDialog::SortByColumn);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CSelectLabelDialog::onSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectLabelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(remove, &QPushButton::clicked, this, &CSelectLabelDialog::OnDelete);
    connect(m_showInfo, &QPushButton::clicked, this, &CSelectLabelDialog::OnShowInfo);
    connect(import, &QPushButton::clicked, this, &CSelectLabelDialog::OnImport);

    // F2 anywhere in the dialog, the list included, names the labels folder.
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    f2->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f2, &QShortcut::activated, this, &CSelectLabelDialog::showLabelsFolder);
}

CSelectLabelDialog::~CSelectLabelDialog() = default;

std::optional<QString> CSelectLabelDialog::Choose(QWidget* parent)
{
    const QString base = datafolders::UserDataFolder();
    CSelectLabelDialog dialog(parent);
    dialog.SetFolders(datafolders::SubFolder(base, datafolders::kLabels),
                      datafolders::SubFolder(base, datafolders::kLabelImages),
                      datafolders::SubFolder(base, datafolders::kLabelInfo));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetPath();
}

void CSelectLabelDialog::SetFolders(const QString& labels, const QString& images, const QString& info)
{
    m_labelsFolder = labels;
    m_imagesFolder = images;
    m_infoFolder = info;
}

void CSelectLabelDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded)
        Reload();
}

bool CSelectLabelDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::Resize)
        resizeColumns();
    return QDialog::eventFilter(watched, event);
}

void CSelectLabelDialog::resizeColumns()
{
    const int width = m_list->viewport()->width();
    for (int c = 0; c < kColumns; ++c)
        m_list->setColumnWidth(c, int(width * kShares[c]));
}

void CSelectLabelDialog::Reload()
{
    m_loaded = true;
    m_catalogue.Clear();
    m_catalogue.SetFolder(m_labelsFolder);
    m_catalogue.LoadFolder();
    m_entries.assign(size_t(m_catalogue.GetCount()), Entry{});
    for (int slot = 0; slot < m_catalogue.GetCount(); ++slot) {
        const CLabelFileNew* label = m_catalogue.GetAt(slot);
        if (!label)
            continue;
        Entry& e = m_entries[size_t(slot)];
        e.family = label->GetFamilyName();
        e.name = label->GetDisplayName();
        e.widthValue = readNumber(mmText(label->GetWidth(0)));
        e.heightValue = readNumber(mmText(label->GetHeight(0)));
        e.path = QFile::decodeName(QByteArray::fromStdString(label->GetFilePath()));
    }
    fillFamilies();
    FillList();
    sortRows(kName, false);
    sortRows(kFamily, false);
}

bool CSelectLabelDialog::passesTypes(const CLabelFileNew& label) const
{
    const int marking = m_markingType->currentIndex();
    if (marking >= 1 && !(label.GetMarkingTypes() & (1u << (marking - 1))))
        return false;
    const int printer = m_printerType->currentIndex();
    if (printer >= 1 && printer <= 4 && !(label.GetPrinterTypes() & kPrinterTypeBits[printer - 1]))
        return false;
    return true;
}

bool CSelectLabelDialog::passes(const CLabelFileNew& label) const
{
    if (m_family->currentIndex() > 0 &&
        !codepage::EqualsNoCase(label.GetFamilyName(), codepage::FromUnicode(m_family->currentText())))
        return false;
    if (!passesTypes(label))
        return false;
    return m_articleNumber.empty() || label.HasArticleNumberPrefix(m_articleNumber);
}

void CSelectLabelDialog::fillFamilies()
{
    std::vector<std::string> names;
    for (int slot = 0; slot < m_catalogue.GetCount(); ++slot) {
        const CLabelFileNew* label = m_catalogue.GetAt(slot);
        if (!label || !passesTypes(*label))
            continue;
        const std::string family = label->GetFamilyName();
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const std::string& n) { return codepage::EqualsNoCase(n, family); });
        if (!known && names.size() < size_t(CLabelManager::kMaxFamilies))
            names.push_back(family);
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::compare(text(a), text(b), Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker block(m_family);
    m_family->clear();
    m_family->addItem(QStringLiteral("All"));
    for (const std::string& name : names)
        m_family->addItem(text(name));
    m_family->setCurrentIndex(0);
}

void CSelectLabelDialog::FillList()
{
    const CWaitCursor wait;
    const QSignalBlocker block(m_list);
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (int slot = 0; slot < m_catalogue.GetCount(); ++slot) {
        const CLabelFileNew* label = m_catalogue.GetAt(slot);
        if (!label || !passes(*label))
            continue;
        auto* item = new QTreeWidgetItem;
        item->setText(kFamily, text(label->GetFamilyName()));
        item->setText(kName, text(label->GetDisplayName()));
        item->setText(kWidth, text(mmText(label->GetWidth(0))));
        item->setText(kHeight, text(mmText(label->GetHeight(0))));
        item->setData(0, Qt::UserRole, slot);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_preview->SetPath({});
    m_showInfo->setEnabled(true);
}

int CSelectLabelDialog::SlotOfRow(int row) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void CSelectLabelDialog::OnSearch()
{
    m_articleNumber = codepage::FromUnicode(m_articleEdit->text().left(kMaxArticleNumberText));
    FillList();
}

void CSelectLabelDialog::SortByColumn(int column)
{
    if (column < 0 || column >= kColumns)
        return;
    sortRows(column, m_descending[size_t(column)]);
    m_descending[size_t(column)] = !m_descending[size_t(column)];
}

int CSelectLabelDialog::compareRows(int column, int slotA, int slotB) const
{
    const Entry& a = m_entries[size_t(slotA)];
    const Entry& b = m_entries[size_t(slotB)];
    switch (column) {
    case kFamily: return a.family.compare(b.family);
    case kName: return CompareNames(a.name, b.name);
    case kWidth: return a.widthValue < b.widthValue ? -1 : a.widthValue > b.widthValue ? 1 : 0;
    default: return a.heightValue < b.heightValue ? -1 : a.heightValue > b.heightValue ? 1 : 0;
    }
}

void CSelectLabelDialog::sortRows(int column, bool descending)
{
    const QSignalBlocker block(m_list);
    QTreeWidgetItem* current = m_list->currentItem();
    QList<QTreeWidgetItem*> items = m_list->invisibleRootItem()->takeChildren();
    std::stable_sort(items.begin(), items.end(), [&](const QTreeWidgetItem* x, const QTreeWidgetItem* y) {
        const int c = compareRows(column, x->data(0, Qt::UserRole).toInt(), y->data(0, Qt::UserRole).toInt());
        return descending ? c > 0 : c < 0;
    });
    m_list->addTopLevelItems(items);
    if (current)
        m_list->setCurrentItem(current);
}

void CSelectLabelDialog::onSelectionChanged()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_list->indexOfTopLevelItem(selected.front());
    if (row >= kPreviewRows)
        m_preview->SetPath({});
    else
        showPreviewOf(selected.front()->data(0, Qt::UserRole).toInt());
    m_showInfo->setEnabled(true);
}

void CSelectLabelDialog::showPreviewOf(int slot)
{
    // The file is read again: a definition of a newer article-number
    // version is listed but shows no picture.
    const std::unique_ptr<CLabelFileNew> label =
        LoadLabelDefinitionFile(QFile::encodeName(m_entries[size_t(slot)].path).toStdString(), LabelReadOptions{});
    if (!label || label->GetPictureFile().empty()) {
        m_preview->SetPath({});
        return;
    }
    m_preview->SetPath(paths::ResolveStoredPath(label->GetPictureFile(), m_imagesFolder));
}

QString CSelectLabelDialog::selectedPath() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return {};
    const int slot = selected.front()->data(0, Qt::UserRole).toInt();
    return slot >= 0 && size_t(slot) < m_entries.size() ? m_entries[size_t(slot)].path : QString();
}

void CSelectLabelDialog::OnShowInfo()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const std::unique_ptr<CLabelFileNew> label =
        LoadLabelDefinitionFile(QFile::encodeName(path).toStdString(), LabelReadOptions{});
    if (!label || label->GetInfoFile().empty())
        return;
    const QString info = paths::ResolveStoredPath(label->GetInfoFile(), m_infoFolder);
    if (!Ui().OpenWithShell(info))
        ShowUserMessage("Can not open " + codepage::FromUnicode(info), {}, MessageIcon::Error);
}

void CSelectLabelDialog::OnDelete()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const MessageAnswer answer = Ui().Ask(
        UserMessage{"Delete selected label, are you sure?", {}, MessageIcon::Question}, MessageButtons::YesNo,
        MessageAnswer::No);
    if (answer != MessageAnswer::Yes || !QFile::remove(path))
        return;
    Reload();
}

void CSelectLabelDialog::accept()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    m_result = path;
    QDialog::accept();
}

void CSelectLabelDialog::showLabelsFolder()
{
    ShowUserMessage(codepage::FromUnicode(QDir::toNativeSeparators(m_labelsFolder)), "Label directory");
}

bool CSelectLabelDialog::importFile(const QString& source, const QString& folder)
{
    const QString fileName = QFileInfo(source).fileName();
    const QString target = withSlash(folder) + fileName;
    if (QFileInfo::exists(target)) {
        Ui().Ask(UserMessage{"The file " + codepage::FromUnicode(fileName) +
                                 " already exists in the folder and is kept as it is.",
                             "File already exists", MessageIcon::Warning},
                 MessageButtons::YesNo, MessageAnswer::No);
        return false;
    }
    QDir().mkpath(folder);
    std::string error;
    if (!files::CopyFileAtomically(source, target, &error)) {
        ShowUserMessage("Can not copy " + codepage::FromUnicode(QDir::toNativeSeparators(source)) + " to " +
                            codepage::FromUnicode(QDir::toNativeSeparators(folder)) + ": " + error,
                        {}, MessageIcon::Error);
        return false;
    }
    return true;
}

void CSelectLabelDialog::OnImport()
{
    FileDialogRequest request;
    request.filter = kImportFilter;
    request.defaultExtension = "label";
    std::vector<QString> files = Ui().AskOpenFileNames(request);
    if (files.empty())
        return;
    if (files.size() > size_t(kMaxImportFiles))
        files.resize(size_t(kMaxImportFiles));
    int labels = 0;
    QString lastLabel;
    for (const QString& file : files) {
        const QString suffix = QFileInfo(file).suffix();
        if (suffix.compare(QLatin1String("label"), Qt::CaseInsensitive) == 0) {
            if (importFile(file, m_labelsFolder)) {
                ++labels;
                lastLabel = withSlash(m_labelsFolder) + QFileInfo(file).fileName();
            }
        } else if (suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0) {
            importFile(file, m_imagesFolder);
        } else if (suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
            importFile(file, m_infoFolder);
        }
    }
    Reload();
    if (labels != 1)
        return;
    const std::unique_ptr<CLabelFileNew> label =
        LoadLabelDefinitionFile(QFile::encodeName(lastLabel).toStdString(), LabelReadOptions{});
    if (label)
        selectRow(label->GetFamilyName(),
                  CLabelManager::DisplayNameOf(codepage::FromUnicode(QFileInfo(lastLabel).fileName())));
}

void CSelectLabelDialog::selectRow(const std::string& family, const std::string& name)
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const int slot = SlotOfRow(row);
        const Entry& e = m_entries[size_t(slot)];
        if (e.family == family && e.name == name) {
            QTreeWidgetItem* item = m_list->topLevelItem(row);
            m_list->setCurrentItem(item);
            item->setSelected(true);
            m_list->scrollToItem(item);
            m_list->setFocus();
            return;
        }
    }
}
