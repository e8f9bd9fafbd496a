#include "shell/templateguide/templateguidedlg.h"

#include "content/images/graphimage.h"
#include "content/objects/graphtext.h"
#include "document/project/projectdoc.h"
#include "platform/modeltext.h"
#include "platform/units.h"
#include "tables/grid/gridcellbase.h"
#include "tables/grid/gridctrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTextRowWidth = 70;
constexpr int kDelimiterWidth = 120;
constexpr int kLetterWidth = 24;

// One box of an area: a module of a marking strip or the whole area.
struct Box {
    int64_t x = 0;
    int64_t width = 0;
    int64_t height = 0;
};

template <class Object>
void place(Object& object, int64_t x, int64_t y, int64_t w, int64_t h)
{
    object.SetX(units::clamp32(x));
    object.SetY(units::clamp32(y));
    object.SetWidth(units::clamp32(std::max<int64_t>(w, 0)));
    object.SetHeight(units::clamp32(std::max<int64_t>(h, 0)));
}

} // namespace

CTemplateGuideDlg::CTemplateGuideDlg(CVorteplanSoftLabelDoc& doc, int area, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_area(area)
{
    setWindowTitle(QStringLiteral("Template guide"));
    setModal(true);
    auto* heading = new QLabel(
        QStringLiteral("Select table columns to be used as data source for each row of text on the product"), this);
    m_grid = new CGridCtrl(this, this);
    m_grid->setObjectName(QStringLiteral("guide"));
    m_grid->SetVirtualMode(true);
    m_grid->SetRowCount(kGridRows);
    m_grid->SetColumnCount(kGridColumns);
    m_grid->SetFixedRowCount(1);
    m_grid->SetEditable(true);
    m_grid->SetColumnWidth(0, kTextRowWidth);
    m_grid->SetColumnWidth(1, kDelimiterWidth);
    for (int c = 2; c < kGridColumns; ++c)
        m_grid->SetColumnWidth(c, kLetterWidth);
    m_frame = new QCheckBox(QStringLiteral("Insert frame"), this);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_image = new QCheckBox(QStringLiteral("Insert image"), this);
    m_image->setObjectName(QStringLiteral("image"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_frame, &QCheckBox::toggled, this, [this] { BuildLayer(); });
    connect(m_image, &QCheckBox::toggled, this, [this] { BuildLayer(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_frame);
    layout->addWidget(m_image);
    layout->addWidget(buttons);
    resize(kTextRowWidth + kDelimiterWidth + 26 * kLetterWidth + 40, 360);
}

CTemplateGuideDlg::~CTemplateGuideDlg() = default;

void CTemplateGuideDlg::Run(CVorteplanSoftLabelDoc& doc, int area, QWidget* parent)
{
    CTemplateGuideDlg dialog(doc, area, parent);
    dialog.exec();
}

TemplateGuideTable* CTemplateGuideDlg::guide() const
{
    return m_doc.GetCurrentTemplate().GetGuideTable(m_area);
}

bool CTemplateGuideDlg::ToggleColumn(TemplateGuideTable& table, int row, int column)
{
    if (row < 0 || row >= kGuideRows)
        return false;
    auto& columns = table.columns[size_t(row)];
    for (int32_t& c : columns) {
        if (c == column) {
            c = -1;
            return true;
        }
    }
    for (int32_t& c : columns) {
        if (c == -1) {
            c = column;
            return true;
        }
    }
    return false;
}

// --- grid ------------------------------------------------------------------------------------

int CTemplateGuideDlg::GetDispInfo(int row, int column, std::string& text)
{
    text.clear();
    if (row == 0) {
        if (column == 0)
            text = "Text row";
        else if (column == 1)
            text = "Delimiter";
        else if (column < kGridColumns)
            text = std::string(1, char('A' + column - 2));
        return 0;
    }
    if (column == 0) {
        text = std::to_string(row);
        return 0;
    }
    const TemplateGuideTable* table = guide();
    if (!table || row > kGuideRows)
        return 0;
    if (column == 1) {
        text = table->delimiters[size_t(row - 1)];
        return 0;
    }
    const auto& columns = table->columns[size_t(row - 1)];
    if (std::find(columns.begin(), columns.end(), column - 2) != columns.end())
        text.assign(1, 'x');
    return 0;
}

int CTemplateGuideDlg::GetDispInfoItem(CGridItem& item)
{
    // Only the delimiter cells take an editor: a click elsewhere is always
    // a click, also on the focus cell.
    if (item.col != 1)
        item.state |= GVIS_READONLY;
    return GetDispInfo(item.row, item.col, item.text);
}

int CTemplateGuideDlg::BeginLabelEdit(int /*row*/, int column)
{
    return column == 1 ? 0 : -1;
}

int CTemplateGuideDlg::EndLabelEdit(int row, int column, const std::string& text)
{
    TemplateGuideTable* table = guide();
    if (column != 1 || row < 1 || row > kGuideRows || !table)
        return -1;
    std::string delimiter = text;
    modeltext::CutToLimit(delimiter, kMaxDelimiter, m_grid->CodePage());
    table->delimiters[size_t(row - 1)] = delimiter;
    BuildLayer();
    return 0;
}

int CTemplateGuideDlg::Click(int row, int column)
{
    TemplateGuideTable* table = guide();
    if (row < 1 || row > kGuideRows || column < 2 || column >= kGridColumns || !table)
        return 0;
    ToggleColumn(*table, row - 1, column - 2);
    m_grid->viewport()->update();
    BuildLayer();
    return 0;
}

// --- the area ----------------------------------------------------------------------------------

void CTemplateGuideDlg::BuildLayer()
{
    if (m_area < 0 || m_area > 2)
        return;
    CTemplate& tpl = m_doc.GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    CGraphCollection* area = tpl.GetArea(m_area);
    const TemplateGuideTable* table = guide();
    if (!label || !area || !table || tpl.IsLocked())
        return;
    if (!m_snapshotTaken) {
        // The rebuild replaces whatever the area held: one snapshot per
        // session keeps the design before the guide one Undo away.
        m_doc.SaveUndoState(m_area, true);
        m_snapshotTaken = true;
    }
    ++m_rebuilds;
    area->RemoveAll();

    const int64_t height = label->GetHeight(m_area);
    std::vector<Box> boxes;
    if (m_area == 0 && m_doc.IsModuleMarking()) {
        for (int i = 0; i < m_doc.GetCurrentRowModuleCount(); ++i)
            boxes.push_back(Box{m_doc.GetMarkerPosition(i), m_doc.GetMarkerLength(i), height});
    } else {
        boxes.push_back(Box{0, label->GetWidth(m_area), height});
    }

    std::vector<int> rows;
    for (int r = 0; r < kGuideRows; ++r) {
        const auto& columns = table->columns[size_t(r)];
        if (std::any_of(columns.begin(), columns.end(), [](int32_t c) { return c >= 0 && c < 26; }))
            rows.push_back(r);
    }

    const bool frame = m_frame->isChecked();
    const bool image = m_image->isChecked();
    for (const Box& box : boxes) {
        if (box.width <= 0 || box.height <= 0)
            continue;
        // The margin follows the width; a short box keeps its contents
        // inside by taking at most a quarter of its height.
        const int64_t margin = std::min(box.width / (frame ? 10 : 20), box.height / 4);
        if (frame) {
            auto rect = std::make_unique<CGraphRect>();
            place(*rect, box.x + margin / 2, margin / 2, box.width - margin, box.height - margin);
            area->AddTail(std::move(rect));
        }
        const int64_t innerHeight = box.height - 2 * margin;
        int64_t textLeft = box.x + margin;
        if (image) {
            const int64_t side = std::min(innerHeight, (box.width - 2 * margin) / 2);
            auto picture = std::make_unique<CGraphImageExtExt>();
            place(*picture, box.x + margin, margin, side, innerHeight);
            area->AddTail(std::move(picture));
            textLeft += side + margin / 2;
        }
        if (rows.empty())
            continue;
        const int64_t textWidth = box.x + box.width - margin - textLeft;
        const int64_t rowHeight = innerHeight / int64_t(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const auto& columns = table->columns[size_t(rows[i])];
            std::string letters;
            for (int32_t c : columns)
                if (c >= 0 && c < 26)
                    letters.push_back(char('A' + c));
            auto text = std::make_unique<CGraphTextExt>();
            place(*text, textLeft, margin + int64_t(i) * rowHeight, textWidth, rowHeight);
            text->SetLogFont(m_doc.GetDefaultFont());
            text->SetSourceType(kTextKindTable);
            text->SetSourceColumnText(letters);
            text->SetSeparatorName(table->delimiters[size_t(rows[i])]);
            area->AddTail(std::move(text));
        }
    }
    m_doc.TemplateEdited();
}
