#include "document/template/template.h"

#include <algorithm>
#include <cmath>

namespace {

// Strip width a new module-marking definition starts with.
constexpr int32_t kDefaultStripWidth = 13800;

// The process's total virtual memory in megabytes: its address space
// (the user half of 48 bits on 64-bit systems, 3 GB on 32-bit ones).
uint64_t totalVirtualMemoryMb()
{
    if constexpr (sizeof(void*) >= 8)
        return (uint64_t(1) << 47) >> 20;
    else
        return 3072;
}

size_t memoryUndoDepth()
{
    return size_t(std::sqrt(double(totalVirtualMemoryMb())));
}

} // namespace

void TemplateGuideTable::Clear()
{
    for (auto& row : columns)
        row.fill(-1);
    for (auto& d : delimiters)
        d.clear();
}

CTemplate::CTemplate()
{
    for (auto& area : m_areas)
        area = std::make_unique<CGraphCollection>();
}

CTemplate::~CTemplate() = default;

CGraphCollection* CTemplate::GetArea(int area) const
{
    return ValidArea(area) ? m_areas[size_t(area)].get() : nullptr;
}

std::unique_ptr<CGraphCollection> CTemplate::ReplaceArea(int area, std::unique_ptr<CGraphCollection> collection)
{
    if (!ValidArea(area) || !collection)
        return nullptr;
    std::swap(m_areas[size_t(area)], collection);
    return collection;
}

CTemplate::AreaHistory* CTemplate::GetUndoHistory(int area)
{
    return ValidArea(area) ? &m_undo[size_t(area)] : nullptr;
}

CTemplate::AreaHistory* CTemplate::GetRedoHistory(int area)
{
    return ValidArea(area) ? &m_redo[size_t(area)] : nullptr;
}

const CTemplate::AreaHistory* CTemplate::GetUndoHistory(int area) const
{
    return ValidArea(area) ? &m_undo[size_t(area)] : nullptr;
}

const CTemplate::AreaHistory* CTemplate::GetRedoHistory(int area) const
{
    return ValidArea(area) ? &m_redo[size_t(area)] : nullptr;
}

TemplateGuideTable* CTemplate::GetGuideTable(int area)
{
    return ValidArea(area) ? &m_guide[size_t(area)] : nullptr;
}

const TemplateGuideTable* CTemplate::GetGuideTable(int area) const
{
    return ValidArea(area) ? &m_guide[size_t(area)] : nullptr;
}

int32_t CTemplate::GetZoom(int area) const
{
    return ValidArea(area) ? m_zoom[size_t(area)] : -1;
}

void CTemplate::SetZoom(int area, int32_t percent)
{
    if (ValidArea(area) && percent >= kTemplateMinZoom && percent <= kTemplateMaxZoom)
        m_zoom[size_t(area)] = percent;
}

void CTemplate::SetPrinterNames(const std::string& device, const std::string& driver, const std::string& port)
{
    m_printerDevice = device.substr(0, kPrinterNameField - 1);
    m_printerDriver = driver.substr(0, kPrinterNameField - 1);
    m_printerPort = port.substr(0, kPrinterNameField - 1);
}

void CTemplate::SetPassword(const std::string& password)
{
    m_password = password.substr(0, std::min(password.find('\0'), kTemplatePasswordLength));
}

// --- label definition ----------------------------------------------------------

bool CTemplate::ToggleModuleMarking()
{
    if (!m_label) {
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetPaperCode(kPaperUser);
        label->SetOrientation(kLandscape);
        label->SetRows(1);
        label->SetModified(true);
        m_label = std::move(label);
    }
    const bool result = m_label->ToggleModuleMarking();
    if (m_label->IsModuleMarking() && m_label->GetStripWidth() == 0)
        m_label->SetStripWidth(kDefaultStripWidth);
    return result;
}

void CTemplate::PrepareLabelFile()
{
    auto* file = dynamic_cast<CLabelFileNew*>(m_label.get());
    if (!file) {
        // Older generations have no file state to reset: start afresh.
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        file = label.get();
        m_label = std::move(label);
    }
    file->Reset();
}

bool CTemplate::ApplyJobRowToLabel()
{
    // The strip is as wide as the definition says; setting it again brings
    // the paper size of the definition in step with it.
    if (!m_label)
        return false;
    return m_label->SetStripWidth(m_label->GetStripWidth());
}

int32_t CTemplate::GetCurrentModuleLength() const
{
    return m_job.GetModuleLength(m_job.GetCurrentRow().GetCurrentIndex());
}

// --- history -------------------------------------------------------------------

int CTemplate::GetUndoDepth(int area) const
{
    if (!ValidArea(area))
        return 0;
    const size_t depth = std::max(m_undo[size_t(area)].LeadingCount(), memoryUndoDepth());
    return int(std::min(depth, kTemplateHistoryDepth));
}

void CTemplate::SaveUndoState(int area, bool clearRedo)
{
    if (m_locked || !ValidArea(area))
        return;
    if (clearRedo)
        ClearRedo();
    m_undo[size_t(area)].Push(m_areas[size_t(area)]->CloneCollection(), size_t(GetUndoDepth(area)));
    m_markerUndo.Push(m_job.Clone());
}

void CTemplate::SaveUndoStateWithJob(int area)
{
    // The area snapshot always carries the job snapshot of the same edit; a
    // second job snapshot would put the two histories out of step.
    SaveUndoState(area, true);
}

void CTemplate::ClearRedo()
{
    for (auto& redo : m_redo)
        redo.Clear();
    m_markerRedo.Clear();
}

void CTemplate::FreeHistory()
{
    for (auto& undo : m_undo)
        undo.Clear();
    ClearRedo();
    m_markerUndo.Clear();
}

void CTemplate::RefreshLayers()
{
    for (auto& area : m_areas)
        area->RecalcBox();
}

void CTemplate::CopyFrom(const CTemplate& other)
{
    if (&other == this)
        return;
    for (size_t a = 0; a < m_areas.size(); ++a) {
        m_areas[a] = other.m_areas[a]->CloneCollection();
        m_undo[a].Clear();
        for (size_t i = AreaHistory::kSlots; i-- > 0;)
            if (const CGraphCollection* snapshot = other.m_undo[a].At(i))
                m_undo[a].Push(snapshot->CloneCollection());
            else
                m_undo[a].Push(nullptr);
    }
    ClearRedo();
    m_label = other.m_label ? other.m_label->Clone() : nullptr;
    m_printerDevice = other.m_printerDevice;
    m_printerDriver = other.m_printerDriver;
    m_printerPort = other.m_printerPort;
    m_helpLines = other.m_helpLines;
    m_locked = other.m_locked;
    m_password = other.m_password;
    m_sortVertical = other.m_sortVertical;
    m_repeat = other.m_repeat;
    m_sets = other.m_sets;
    m_pageBreakOnNewSet = other.m_pageBreakOnNewSet;
    m_reservedOption0 = other.m_reservedOption0;
    m_reservedOption1 = other.m_reservedOption1;
    m_fieldContours = other.m_fieldContours;
    m_leftCompensation = other.m_leftCompensation;
    m_topCompensation = other.m_topCompensation;
    m_guide = other.m_guide;
}
