// Reading the project file.
#include "document/project/projectdoc.h"
#include "document/project/projectfile.h"

#include "platform/files.h"
#include "platform/uiservices.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace projectfile {

bool ReadArchiveString(RecordReader& r, std::string& text)
{
    uint64_t n = r.u8();
    if (n == 0xFF) {
        n = r.u16();
        if (n == 0xFFFE) {
            // A wide string: never written by this program.
            r.setDamaged();
            return false;
        }
        if (n == 0xFFFF)
            n = r.u32();
    }
    if (!r.ok() || !r.require(size_t(n)))
        return false;
    text = r.bytes(size_t(n));
    return r.ok();
}

bool ReadArchiveStringArray(RecordReader& r, std::vector<std::string>& texts, size_t keep)
{
    uint64_t count = r.u16();
    if (count == 0xFFFF)
        count = r.u32();
    // Every string takes at least its length byte.
    if (!r.ok() || !r.requireItems(count, 1))
        return false;
    // One block: the texts are taken when the array was read whole.
    std::vector<std::string> read;
    std::string text;
    for (uint64_t i = 0; i < count; ++i) {
        if (!ReadArchiveString(r, text))
            return false;
        if (read.size() < keep)
            read.push_back(std::move(text));
    }
    texts = std::move(read);
    return true;
}

} // namespace projectfile

bool CVorteplanSoftLabelDoc::ReadTableRecord(RecordReader& r)
{
    TableSlot& s = m_tables[size_t(m_currentTable)];
    const int32_t hasFilter = r.i32();
    if (!r.ok())
        return false;
    // Read into a fresh table; the cells read whole stay, also when the
    // record is cut short.
    s.table = std::make_unique<CDataTableBase>();
    s.filter.reset();
    s.filtered.reset();
    if (!s.table->Load(r))
        return false;
    if (!(hasFilter & 1))
        return true;
    // A filter is taken when read whole; its filtered copy then keeps what
    // was read of it, as the table does.
    auto filter = std::make_unique<CDataTableFilter>();
    if (!filter->Load(r))
        return false;
    s.filter = std::move(filter);
    s.filtered = std::make_unique<CDataTableBase>();
    return s.filtered->Load(r);
}

bool CVorteplanSoftLabelDoc::ReadProjectTemplates(RecordReader& r)
{
    const uint32_t n = r.u32();
    if (!r.ok() || n < 1 || n > uint32_t(kMaxProjectTemplates))
        return false;
    // Tabs are added as their templates are read, so the count names the
    // templates that hold something of the file: one cut short keeps what
    // was read of it under a tab of its own.
    int held = 0;
    bool whole = true;
    for (int k = 0; k < int(n) && whole; ++k) {
        bool begun = false;
        whole = m_templates[size_t(k)].Read(r, {}, &begun);
        if (!begun)
            break;
        held = k + 1;
        if (k >= m_templateCount) {
            m_templateCount = k + 1;
            NotifyTabAdded(TabKind::Template, k, {});
            NotifyTabActivated(TabKind::Template, k);
        }
    }
    while (m_templateCount > std::max(held, 1))
        NotifyTabRemoved(TabKind::Template, --m_templateCount);
    NotifyTabActivated(TabKind::Template, 0);
    return whole;
}

bool CVorteplanSoftLabelDoc::ReadProjectTables(RecordReader& r)
{
    const uint32_t m = r.u32();
    if (!r.ok() || m < 1 || m > uint32_t(kDocSlots))
        return false;
    // As for templates: a table cut short keeps its cells read whole.
    int held = 0;
    bool whole = true;
    for (int i = 0; i < int(m) && whole; ++i) {
        m_currentTable = i;
        // The record has begun once its has-filter word is there.
        const bool begun = r.remaining() >= 4;
        whole = ReadTableRecord(r);
        if (!begun)
            break;
        held = i + 1;
        if (i >= m_tableCount) {
            m_tableCount = i + 1;
            NotifyTabAdded(TabKind::Table, i, "Table");
        }
    }
    m_currentTable = 0;
    while (m_tableCount > std::max(held, 1))
        NotifyTabRemoved(TabKind::Table, --m_tableCount);
    return whole;
}

bool CVorteplanSoftLabelDoc::ReadProjectBody(RecordReader& r, uint32_t flags, std::vector<std::string>& templateNames,
                                             std::vector<std::string>& tableNames)
{
    using namespace projectfile;
    if (!ReadArchiveStringArray(r, templateNames, kDocSlots) || !ReadProjectTemplates(r))
        return false;
    if (flags & kFlagTableCharSet)
        StoreIfRead(r, m_tableFont.lfCharSet, r.u8());
    if (!r.ok() || !ReadArchiveStringArray(r, tableNames, kDocSlots) || !ReadProjectTables(r))
        return false;
    if (flags & kFlagStackedFirst)
        StoreIfRead(r, m_stackedLayout[0], r.u8());
    if (flags & kFlagStackedLayout) {
        std::array<uint8_t, kDocSlots> stacked{};
        if (r.bytes(stacked.data(), stacked.size()))
            m_stackedLayout = stacked;
    }
    return r.ok();
}

ProjectReadStatus CVorteplanSoftLabelDoc::ReadProject(RecordReader& r)
{
    using namespace projectfile;
    std::array<uint8_t, 16> magic{};
    if (!r.bytes(magic.data(), magic.size()))
        return ProjectReadStatus::Corrupt;
    if (magic != kMagic)
        return ProjectReadStatus::NotAProject;
    const int32_t version = r.i32();
    if (!r.ok())
        return ProjectReadStatus::Corrupt;
    if (version > kVersion)
        return ProjectReadStatus::Incompatible;
    const int32_t revision = r.i32();
    if (!r.ok())
        return ProjectReadStatus::Corrupt;
    if (revision > kRevision)
        return ProjectReadStatus::Incompatible;
    const uint32_t flags = r.u32();
    if (!r.ok())
        return ProjectReadStatus::Corrupt;

    // What was read stays, also after a fault: the names read, the column
    // maps and the table font apply to it all the same.
    std::vector<std::string> templateNames;
    std::vector<std::string> tableNames;
    const bool whole = ReadProjectBody(r, flags, templateNames, tableNames);
    for (size_t k = 0; k < size_t(kDocSlots); ++k) {
        m_templateNames[k] = k < templateNames.size() ? templateNames[k] : std::string();
        m_tableNames[k] = k < tableNames.size() ? tableNames[k] : std::string();
    }
    NotifyTabLabelsChanged(TabKind::Template);
    NotifyTabLabelsChanged(TabKind::Table);
    for (int t = 0; t < kDocSlots; ++t) {
        RebuildColumnMap(t);
        TieFilteredCopy(t);
    }
    SetTableCharSet(m_tableFont.lfCharSet);
    return whole ? ProjectReadStatus::Ok : ProjectReadStatus::Corrupt;
}

ProjectReadStatus CVorteplanSoftLabelDoc::ReadProjectFile(const QString& path)
{
    const std::string name = QFile::encodeName(path).toStdString();
    files::FileError error = files::FileError::None;
    const std::optional<QByteArray> bytes = files::ReadRegularFile(path, projectfile::kMaxFileSize, &error);
    if (!bytes) {
        ShowUserMessage("Can not open file " + name, {}, MessageIcon::Error);
        return ProjectReadStatus::CannotOpen;
    }
    RecordReader reader(bytes->constData(), size_t(bytes->size()));
    const ProjectReadStatus status = ReadProject(reader);
    switch (status) {
    case ProjectReadStatus::Ok:
    case ProjectReadStatus::CannotOpen:
        break;
    case ProjectReadStatus::NotAProject:
        ShowUserMessage(name + " is not a project file.", {}, MessageIcon::Error);
        break;
    case ProjectReadStatus::Incompatible:
        ShowUserMessage("Incompatible file version", {}, MessageIcon::Error);
        break;
    case ProjectReadStatus::Corrupt:
        ShowUserMessage("Corrupt project file", {}, MessageIcon::Error);
        break;
    }
    return status;
}
