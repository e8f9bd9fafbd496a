// The document's own commands: adding and deleting templates and tables
// with their tabs, the printer Print Setup chose, the guide table helpers,
// the paper choice on a printer and the print-option switches.
#include "document/project/projectdoc.h"

#include "document/label/paper.h"
#include "platform/uiservices.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* kTemplateBase = "Template";
constexpr const char* kTableBase = "Table";
constexpr size_t kMaxFamilyName = 255;
constexpr size_t kMaxPrinterCodes = 200;
constexpr int kLastNamedPaper = 59;
constexpr int kPaperUserFallback = 257;
constexpr int kPaperNoSize = 0x7FFF;

// "base n" with the first n from `n` that none of the first `count` labels bears.
std::string uniqueLabel(const std::vector<std::string>& labels, int count, const std::string& base, int n)
{
    for (;; ++n) {
        const std::string text = base + " " + std::to_string(n);
        if (std::find(labels.begin(), labels.begin() + count, text) == labels.begin() + count)
            return text;
    }
}

// The whole design of `from` into `to`: the template's own copy, and what
// it leaves out (the module-marking job with its history, zoom, borders).
void moveTemplate(CTemplate& to, CTemplate& from)
{
    to.CopyFrom(from);
    to.GetJob().CopyFrom(from.GetJob());
    to.GetMarkerUndo().Clear();
    for (size_t i = CTemplate::MarkerHistory::kSlots; i-- > 0;) {
        const CModuleMarkingJob* job = from.GetMarkerUndo().At(i);
        to.GetMarkerUndo().Push(job ? job->Clone() : nullptr);
    }
    for (int area = 0; area < kTemplateAreas; ++area) {
        const int32_t zoom = from.GetZoom(area);
        if (zoom > 0)
            to.SetZoom(area, zoom);
    }
    to.SetPrintLabelBorders(from.IsPrintLabelBorders());
    to.SetBorderColor(from.GetBorderColor());
    to.SetBorderWidth(from.GetBorderWidth());
    to.SetBorderOption(from.GetBorderOption());
}

bool askDelete(const char* text)
{
    return Ui().Ask({text, {}, MessageIcon::Question}, MessageButtons::YesNo, MessageAnswer::Yes) ==
           MessageAnswer::Yes;
}

} // namespace

// --- tabs ----------------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::AddTemplate()
{
    const int slot = m_templateCount;
    if (slot >= kMaxProjectTemplates)
        return false;
    const std::string label = uniqueLabel(m_templateNames, slot, kTemplateBase, slot + 1);
    m_templateNames[size_t(slot)] = label;
    m_templateCount = slot + 1;
    SetModifiedFlag(true);
    NotifyTabAdded(TabKind::Template, slot, label);
    m_currentTemplate = slot;
    NotifyTabActivated(TabKind::Template, slot);
    InvalidateDesignViews();
    InvalidatePreviewViews();
    return true;
}

bool CVorteplanSoftLabelDoc::AddTemplateTab()
{
    if (m_templateCount > kMaxProjectTemplates - 1) {
        NotifyTabActivated(TabKind::Template, m_templateCount - 1);
        return false;
    }
    return AddTemplate();
}

bool CVorteplanSoftLabelDoc::AddTable()
{
    const int slot = m_tableCount;
    if (slot >= kMaxProjectTemplates)
        return false;
    const std::string label = uniqueLabel(m_tableNames, slot, kTableBase, slot + 1);
    m_tableNames[size_t(slot)] = label;
    m_tableCount = slot + 1;
    SetModifiedFlag(true);
    NotifyTabAdded(TabKind::Table, slot, label);
    m_currentTable = slot;
    NotifyTabActivated(TabKind::Table, slot);
    return true;
}

bool CVorteplanSoftLabelDoc::AddTableTab()
{
    return AddTable();
}

bool CVorteplanSoftLabelDoc::DeleteTemplate()
{
    const int current = m_currentTemplate;
    if (m_templateCount <= 1 || current >= m_templateCount)
        return false;
    if (!askDelete("Delete active template. Are you sure?"))
        return false;
    // The canvas of the template ends its in-place editing first.
    for (CDocView* view : GetViews())
        if (view->GetViewKind() == ViewKind::Design)
            view->EndInPlaceEdit();

    // Every later template, its tab label and its layout byte move down one.
    for (int k = current; k < kDocSlots - 1; ++k) {
        moveTemplate(m_templates[size_t(k)], m_templates[size_t(k) + 1]);
        m_templateNames[size_t(k)] = m_templateNames[size_t(k) + 1];
        m_stackedLayout[size_t(k)] = m_stackedLayout[size_t(k) + 1];
    }
    CTemplate& last = m_templates[size_t(kDocSlots - 1)];
    for (int area = 0; area < kTemplateAreas; ++area)
        last.GetArea(area)->RemoveAll();
    m_templateNames[size_t(kDocSlots - 1)].clear();
    m_stackedLayout[size_t(kDocSlots - 1)] = 0;

    if (current == m_templateCount - 1)
        m_currentTemplate = current - 1;
    --m_templateCount;
    SetModifiedFlag(true);
    NotifyTabRemoved(TabKind::Template, current);
    InvalidateDesignViews();
    InvalidatePreviewViews();
    return true;
}

bool CVorteplanSoftLabelDoc::DeleteTable()
{
    const int current = m_currentTable;
    if (m_tableCount <= 1 || current >= m_tableCount)
        return false;
    if (!askDelete("Delete active table. Are you sure?"))
        return false;
    for (CDocView* view : GetViews())
        if (view->GetViewKind() == ViewKind::Table)
            view->EndInPlaceEdit();

    // The table goes with its snapshots, filter and filtered copy; the later
    // slots move down and slot 255 is left empty.
    m_tables.erase(m_tables.begin() + current);
    m_tables.emplace_back();
    m_tables.back().table = std::make_unique<CDataTableBase>();
    m_tableNames.erase(m_tableNames.begin() + current);
    m_tableNames.emplace_back();

    if (current == m_tableCount - 1)
        m_currentTable = current - 1;
    --m_tableCount;
    SetModifiedFlag(true);
    NotifyTabRemoved(TabKind::Table, current);
    InvalidateTableViews();
    InvalidateDesignViews();
    InvalidatePreviewViews();
    return true;
}

// --- printer and paper -----------------------------------------------------------------

bool CVorteplanSoftLabelDoc::StoreTemplatePrinter(const std::string& device, const std::string& driver,
                                                  const std::string& port)
{
    const CTemplate& t = GetCurrentTemplate();
    if (device == t.GetPrinterDevice() && driver == t.GetPrinterDriver() && port == t.GetPrinterPort())
        return false;
    return SetTemplatePrinter(device, driver, port);
}

std::string CVorteplanSoftLabelDoc::GetPaperSizeName(int code)
{
    if (code == kPaperUser)
        return kUserDefinedPaperName;
    if (code < 1 || code > kLastNamedPaper)
        return std::to_string(code);
    const char* name = PaperNameForCode(code);
    return name ? std::string(name) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetLabelFamilyName() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    if (!label)
        return {};
    std::string name = label->GetFamilyName();
    if (name.size() > kMaxFamilyName)
        name.resize(kMaxFamilyName);
    return name;
}

bool CVorteplanSoftLabelDoc::SelectPaperOnPrinter(LinuxPrinterSetup& setup, int code,
                                                  const std::vector<int>& printerCodes) const
{
    const size_t n = std::min(printerCodes.size(), kMaxPrinterCodes);
    const auto offers = [&](int c) { return std::find(printerCodes.begin(), printerCodes.begin() + n, c) !=
                                            printerCodes.begin() + n; };
    if (!offers(code))
        return code == kPaperUser && SelectPaperOnPrinter(setup, kPaperUserFallback, printerCodes);
    setup.paperCode = int16_t(code);
    if (code == 0 || code >= kPaperUser) {
        const CLabel* label = GetCurrentTemplate().GetLabel();
        // Tenths of a millimetre.
        const int64_t length = label ? int64_t(label->GetPaperLength()) : 2970;
        const int64_t width = label ? int64_t(label->GetPaperWidth()) : 2100;
        if (code != kPaperNoSize) {
            setup.paperLength = int16_t(std::clamp<int64_t>(length, 0, INT16_MAX));
            setup.paperWidth = int16_t(std::clamp<int64_t>(width, 0, INT16_MAX));
        }
    }
    return true;
}

// --- guide table ---------------------------------------------------------------------------

std::string CVorteplanSoftLabelDoc::GetGuideDelimiter(int row, int area) const
{
    const TemplateGuideTable* guide = GetCurrentTemplate().GetGuideTable(area);
    if (!guide || row < 0 || row >= kGuideRows)
        return {};
    return guide->delimiters[size_t(row)].substr(0, kGuideDelimiterField - 1);
}

bool CVorteplanSoftLabelDoc::IsGuideColumnUsed(int area, int column, int row) const
{
    const TemplateGuideTable* guide = GetCurrentTemplate().GetGuideTable(area);
    if (!guide || row < 0 || row >= kGuideRows || column < 0 || column >= CDataTableBase::kColumnCount)
        return true;
    const auto& entries = guide->columns[size_t(row)];
    return std::find(entries.begin(), entries.end(), column) != entries.end();
}

void CVorteplanSoftLabelDoc::AddGuideColumn(int row, int column)
{
    TemplateGuideTable* guide = GetCurrentTemplate().GetGuideTable(0);
    if (!guide || row < 0 || row >= kGuideRows)
        return;
    auto& entries = guide->columns[size_t(row)];
    std::rotate(entries.rbegin(), entries.rbegin() + 1, entries.rend());
    entries[0] = column;
}

void CVorteplanSoftLabelDoc::RemoveGuideColumn(int column, int row)
{
    TemplateGuideTable* guide = GetCurrentTemplate().GetGuideTable(0);
    if (!guide || row < 0 || row >= kGuideRows)
        return;
    auto& entries = guide->columns[size_t(row)];
    const auto it = std::find(entries.begin(), entries.end(), column);
    if (it == entries.end())
        return;
    std::rotate(it, it + 1, entries.end());
    entries.back() = -1;
}

// --- print options and module marking ---------------------------------------------------

void CVorteplanSoftLabelDoc::ToggleReverseOrder()
{
    m_printRun.SetReverse(!m_printRun.IsReverse());
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

bool CVorteplanSoftLabelDoc::IsUsePreset() const
{
    return GetCurrentTemplate().GetJob().IsUsePreset();
}

void CVorteplanSoftLabelDoc::ToggleUsePreset()
{
    CModuleMarkingJob& job = GetCurrentTemplate().GetJob();
    job.SetUsePreset(!job.IsUsePreset());
    SetModifiedFlag(true);
}

bool CVorteplanSoftLabelDoc::ApplyMarkingRowToLabel()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return false;
    if (!t.GetLabel())
        t.PrepareLabelFile();
    if (!t.ApplyJobRowToLabel())
        return false;
    TemplateEdited();
    return true;
}
