// The project document: members, construction, templates and tables, the
// lock, fonts, character sets and settings.
#include "document/project/projectdoc.h"

#include "platform/settings.h"

#include <algorithm>
#include <cstring>

namespace {

struct CharSetEntry {
    std::string_view name;
    int code;
};

// In the order of the combo boxes that list them.
constexpr CharSetEntry kCharSets[kCharSetCount] = {
    {"English", 0},        {"Default", 1},
    {"Symbol", 2},         {"Macintosh", 77},
    {"Japanese", 128},     {"Korean (Hangul)", 129},
    {"Korean (Johab)", 130}, {"Simplified Chinese", 134},
    {"Traditional Chinese", 136}, {"Greek", 161},
    {"Turkish", 162},      {"Vietnamese", 163},
    {"Hebrew", 177},       {"Arabic", 178},
    {"Baltic", 186},       {"Eastern European", 238},
    {"Cyrillic", 204},     {"Thai", 222},
    {"OEM", 255},
};

void setFaceName(LOGFONTA& font, const std::string& name)
{
    std::memset(font.lfFaceName, 0, sizeof(font.lfFaceName));
    std::memcpy(font.lfFaceName, name.data(), std::min(name.size(), sizeof(font.lfFaceName) - 1));
}

const std::string kNoName;

} // namespace

CVorteplanSoftLabelDoc::CVorteplanSoftLabelDoc()
    : m_templates(new CTemplate[kDocSlots]),
      m_tables(kDocSlots),
      m_templateNames(kDocSlots),
      m_tableNames(kDocSlots)
{
    for (TableSlot& slot : m_tables)
        slot.table = std::make_unique<CDataTableBase>();

    m_defaultFont.lfHeight = -13;
    m_defaultFont.lfWeight = FW_NORMAL;
    m_defaultFont.lfCharSet = DEFAULT_CHARSET;
    setFaceName(m_defaultFont, "Times New Roman");
    setFaceName(m_defaultFont, settings::GetText(settings::kDefaultFont, settings::kFontFacename));
    m_defaultFont.lfHeight = settings::GetInt(settings::kDefaultFont, settings::kFontSize);
    m_defaultFont.lfWeight = settings::GetInt(settings::kDefaultFont, settings::kFontWeight);
    m_defaultFont.lfItalic = uint8_t(settings::GetInt(settings::kDefaultFont, settings::kFontItalic));
    m_defaultFont.lfUnderline = uint8_t(settings::GetInt(settings::kDefaultFont, settings::kFontUnderline));
}

CVorteplanSoftLabelDoc::~CVorteplanSoftLabelDoc() = default;

const DocumentTypeInfo& CVorteplanSoftLabelDoc::GetDocumentType() const
{
    static const DocumentTypeInfo info{
        "Project", "Vorteplan Soft marking projects (*.proj)|*.proj|All Files (*.*)|*.*||", ".proj"};
    return info;
}

void CVorteplanSoftLabelDoc::BuildTableFont()
{
    m_tableFont = LOGFONTA{};
    m_tableFont.lfHeight = settings::GetInt(settings::kTableFont, settings::kTableFontSize);
    m_tableFont.lfWeight = settings::GetInt(settings::kTableFont, settings::kTableFontWeight);
    m_tableFont.lfCharSet = uint8_t(settings::GetInt(settings::kTableFont, settings::kTableFontCharSet));
    m_tableFont.lfClipPrecision = 1;
    setFaceName(m_tableFont, settings::GetText(settings::kTableFont, settings::kTableFontName));
}

bool CVorteplanSoftLabelDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    CTemplate& current = GetCurrentTemplate();
    for (int area = 0; area < kTemplateAreas; ++area)
        if (CGraphCollection* c = current.GetArea(area))
            c->RemoveAll();
    BuildTableFont();
    for (TableSlot& slot : m_tables)
        slot.undoOn = true;
    return true;
}

void CVorteplanSoftLabelDoc::TemplateEdited()
{
    SetModifiedFlag(true);
    InvalidateDesignViews();
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::TableDataEdited()
{
    TemplateEdited();
    InvalidateTableViews();
}

// --- templates -------------------------------------------------------------------------

CTemplate& CVorteplanSoftLabelDoc::GetTemplate(int slot)
{
    return m_templates[size_t(std::clamp(slot, 0, kDocSlots - 1))];
}

void CVorteplanSoftLabelDoc::SetCurrentTemplate(int slot)
{
    if (validSlot(slot))
        m_currentTemplate = slot;
}

void CVorteplanSoftLabelDoc::SetTemplateCount(int count)
{
    m_templateCount = std::clamp(count, 0, kDocSlots);
}

const std::string& CVorteplanSoftLabelDoc::GetTemplateName(int slot) const
{
    return validSlot(slot) ? m_templateNames[size_t(slot)] : kNoName;
}

void CVorteplanSoftLabelDoc::SetTemplateName(int slot, const std::string& name)
{
    if (validSlot(slot))
        m_templateNames[size_t(slot)] = name;
}

void CVorteplanSoftLabelDoc::LockTemplate(const std::string& password)
{
    CTemplate& t = GetCurrentTemplate();
    t.SetPassword(password);
    t.SetLocked(true);
    SetModifiedFlag(true);
    bool cleared = false;
    for (int area = 0; area < kTemplateAreas; ++area) {
        CGraphCollection* c = t.GetArea(area);
        if (c && c->HasSelection()) {
            c->DeselectAll();
            cleared = true;
        }
    }
    if (cleared)
        InvalidateDesignViews();
}

void CVorteplanSoftLabelDoc::UnlockTemplate()
{
    CTemplate& t = GetCurrentTemplate();
    t.SetPassword({});
    t.SetLocked(false);
}

std::string CVorteplanSoftLabelDoc::GetLockPassword() const
{
    return m_templates[size_t(m_currentTemplate)].GetPassword();
}

// --- tables --------------------------------------------------------------------------------

CDataTableBase* CVorteplanSoftLabelDoc::GetTable(int slot) const
{
    return validSlot(slot) ? m_tables[size_t(slot)].table.get() : nullptr;
}

CDataTableFilter* CVorteplanSoftLabelDoc::GetFilter(int slot) const
{
    return validSlot(slot) ? m_tables[size_t(slot)].filter.get() : nullptr;
}

CDataTableBase* CVorteplanSoftLabelDoc::GetFilteredTable(int slot) const
{
    return validSlot(slot) ? m_tables[size_t(slot)].filtered.get() : nullptr;
}

CDataTableMap* CVorteplanSoftLabelDoc::GetTableMap(int slot)
{
    return validSlot(slot) ? &m_tables[size_t(slot)].map : nullptr;
}

CDataTableRowMap* CVorteplanSoftLabelDoc::GetRowMap(int slot)
{
    return validSlot(slot) ? &m_tables[size_t(slot)].rowMap : nullptr;
}

void CVorteplanSoftLabelDoc::SetFilter(int slot, std::unique_ptr<CDataTableFilter> filter,
                                       std::unique_ptr<CDataTableBase> filtered)
{
    if (!validSlot(slot))
        return;
    TableSlot& s = m_tables[size_t(slot)];
    // The filtered copy exists together with its filter.
    if (filter && !filtered)
        filtered = std::make_unique<CDataTableBase>();
    if (!filter)
        filtered.reset();
    s.filter = std::move(filter);
    s.filtered = std::move(filtered);
}

CDataTableBase* CVorteplanSoftLabelDoc::GetTableSnapshot(int slot, int i) const
{
    return validSlot(slot) && i >= 0 && i < kTableSnapshotSlots ? m_tables[size_t(slot)].snapshots[size_t(i)].get()
                                                                : nullptr;
}

CDataTableRowMap* CVorteplanSoftLabelDoc::GetRowMapSnapshot(int slot, int i) const
{
    return validSlot(slot) && i >= 0 && i < kTableSnapshotSlots
               ? m_tables[size_t(slot)].rowMapSnapshots[size_t(i)].get()
               : nullptr;
}

CDataTableBase* CVorteplanSoftLabelDoc::GetFilteredSnapshot(int slot, int i) const
{
    return validSlot(slot) && i >= 0 && i < kTableSnapshotSlots
               ? m_tables[size_t(slot)].filteredSnapshots[size_t(i)].get()
               : nullptr;
}

void CVorteplanSoftLabelDoc::SetTableSnapshot(int slot, int i, std::unique_ptr<CDataTableBase> table,
                                              std::unique_ptr<CDataTableRowMap> rowMap,
                                              std::unique_ptr<CDataTableBase> filtered)
{
    if (!validSlot(slot) || i < 0 || i >= kTableSnapshotSlots)
        return;
    TableSlot& s = m_tables[size_t(slot)];
    s.snapshots[size_t(i)] = std::move(table);
    s.rowMapSnapshots[size_t(i)] = std::move(rowMap);
    s.filteredSnapshots[size_t(i)] = std::move(filtered);
    s.snapshotTied[size_t(i)] = false;
}

void CVorteplanSoftLabelDoc::DropTableSnapshots(int slot)
{
    if (!validSlot(slot))
        return;
    TableSlot& s = m_tables[size_t(slot)];
    for (auto& p : s.snapshots)
        p.reset();
    for (auto& p : s.rowMapSnapshots)
        p.reset();
    for (auto& p : s.filteredSnapshots)
        p.reset();
    s.snapshotTied.fill(false);
}

bool CVorteplanSoftLabelDoc::IsTableUndoOn(int slot) const
{
    return validSlot(slot) && m_tables[size_t(slot)].undoOn;
}

void CVorteplanSoftLabelDoc::SetTableUndo(int slot, bool on)
{
    if (validSlot(slot))
        m_tables[size_t(slot)].undoOn = on;
}

void CVorteplanSoftLabelDoc::SetCurrentTable(int slot)
{
    if (validSlot(slot))
        m_currentTable = slot;
}

void CVorteplanSoftLabelDoc::SetTableCount(int count)
{
    m_tableCount = std::clamp(count, 0, kDocSlots);
}

const std::string& CVorteplanSoftLabelDoc::GetTableName(int slot) const
{
    return validSlot(slot) ? m_tableNames[size_t(slot)] : kNoName;
}

void CVorteplanSoftLabelDoc::SetTableName(int slot, const std::string& name)
{
    if (validSlot(slot))
        m_tableNames[size_t(slot)] = name;
}

void CVorteplanSoftLabelDoc::RebuildColumnMap(int slot)
{
    if (!validSlot(slot))
        return;
    TableSlot& s = m_tables[size_t(slot)];
    if (s.filter && s.filter->IsActive()) {
        s.map.Clear();
        for (int column = 0; column < CDataTableBase::kColumnCount; ++column)
            if (s.filter->IsColumnUsed(column))
                s.map.FindOrAdd(column);
    } else {
        s.map.SetIdentity();
    }
}

// --- fonts and character sets --------------------------------------------------------------

std::string_view CVorteplanSoftLabelDoc::CharSetNameAt(int index)
{
    return index >= 0 && index < kCharSetCount ? kCharSets[index].name : std::string_view();
}

int CVorteplanSoftLabelDoc::CharSetCodeAt(int index)
{
    return index >= 0 && index < kCharSetCount ? kCharSets[index].code : 0;
}

int CVorteplanSoftLabelDoc::GetCharSetFromName(std::string_view name) const
{
    for (const CharSetEntry& e : kCharSets)
        if (e.name == name)
            return e.code;
    // As a decimal number: leading blanks and a sign allowed, anything
    // after the digits ignored.
    size_t i = 0;
    while (i < name.size() && (name[i] == ' ' || name[i] == '\t'))
        ++i;
    int64_t value = 0;
    bool negative = false;
    if (i < name.size() && (name[i] == '+' || name[i] == '-'))
        negative = name[i++] == '-';
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && value <= 255)
        value = value * 10 + (name[i++] - '0');
    if (negative)
        value = -value;
    return value >= 0 && value <= 255 ? int(value) : 0;
}

std::string CVorteplanSoftLabelDoc::GetCharSetName(int code) const
{
    for (const CharSetEntry& e : kCharSets)
        if (e.code == code)
            return std::string(e.name);
    return std::to_string(code);
}

void CVorteplanSoftLabelDoc::SetTableCharSet(int code)
{
    for (CDocView* view : GetViews()) {
        LOGFONTA gridFont;
        if (view->GetViewKind() == ViewKind::Table && view->GetGridFont(gridFont)) {
            m_tableFont = gridFont;
            break;
        }
    }
    m_tableFont.lfCharSet = uint8_t(code);
    for (CDocView* view : GetViews())
        if (view->GetViewKind() == ViewKind::Table) {
            view->SetGridFont(m_tableFont);
            view->Invalidate();
        }
}

std::string CVorteplanSoftLabelDoc::GetDefaultBarcodeType() const
{
    return settings::GetText(settings::kDefaultBarcode, settings::kBarcodeType);
}

std::string CVorteplanSoftLabelDoc::GetDefaultQrVersion() const
{
    return settings::GetText(settings::kDefaultBarcode, settings::kBarcodeQrVersion);
}

std::string CVorteplanSoftLabelDoc::GetDefaultQrEccLevel() const
{
    return settings::GetText(settings::kDefaultBarcode, settings::kBarcodeQrEccLevel);
}

std::string CVorteplanSoftLabelDoc::GetDefaultQrEncoding() const
{
    return settings::GetText(settings::kDefaultBarcode, settings::kBarcodeQrEncoding);
}

std::string CVorteplanSoftLabelDoc::GetDefaultQrMargin() const
{
    return settings::GetText(settings::kDefaultBarcode, settings::kBarcodeQrMargin);
}

uint8_t CVorteplanSoftLabelDoc::GetStackedLayout(int slot) const
{
    return validSlot(slot) ? m_stackedLayout[size_t(slot)] : 0;
}

void CVorteplanSoftLabelDoc::SetStackedLayout(int slot, uint8_t value)
{
    if (validSlot(slot))
        m_stackedLayout[size_t(slot)] = value;
}
