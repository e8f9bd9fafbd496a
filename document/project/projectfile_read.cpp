// Reading the project file.
#include "document/project/projectdoc.h"
#include "document/project/projectfile.h"

#include "platform/files.h"
#include "platform/uiservices.h"

#include <QFile>

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
    texts.clear();
    std::string text;
    for (uint64_t i = 0; i < count; ++i) {
        if (!ReadArchiveString(r, text))
            return false;
        if (texts.size() < keep)
            texts.push_back(std::move(text));
    }
    return true;
}

} // namespace projectfile

bool CVorteplanSoftLabelDoc::ReadTableRecord(RecordReader& r)
{
    TableSlot& s = m_tables[size_t(m_currentTable)];
    const int32_t hasFilter = r.i32();
    if (!r.ok())
        return false;
    // Read into a fresh table; what was read stays, also when cut short.
    s.table = std::make_unique<CDataTableBase>();
    s.filter.reset();
    s.filtered.reset();
    if (!s.table->Load(r))
        return false;
    if (hasFilter & 1) {
        auto filter = std::make_unique<CDataTableFilter>();
        auto filtered = std::make_unique<CDataTableBase>();
        if (!filter->Load(r) || !filtered->Load(r))
            return false;
        s.filter = std::move(filter);
        s.filtered = std::move(filtered);
    }
    return true;
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
    std::vector<std::string> templateNames;
    if (!r.ok() || !ReadArchiveStringArray(r, templateNames, kDocSlots))
        return ProjectReadStatus::Corrupt;

    const uint32_t n = r.u32();
    if (!r.ok() || n < 1 || n > uint32_t(kMaxProjectTemplates))
        return ProjectReadStatus::Corrupt;
    // Tabs are added as their templates are read, so the count always
    // names templates that were read.
    for (int k = 0; k < int(n); ++k) {
        if (!m_templates[size_t(k)].Read(r))
            return ProjectReadStatus::Corrupt;
        if (k >= m_templateCount) {
            m_templateCount = k + 1;
            NotifyTabAdded(TabKind::Template, k, {});
            NotifyTabActivated(TabKind::Template, k);
        }
    }
    while (m_templateCount > int(n))
        NotifyTabRemoved(TabKind::Template, --m_templateCount);
    NotifyTabActivated(TabKind::Template, 0);

    if (flags & kFlagTableCharSet)
        m_tableFont.lfCharSet = r.u8();
    std::vector<std::string> tableNames;
    if (!r.ok() || !ReadArchiveStringArray(r, tableNames, kDocSlots))
        return ProjectReadStatus::Corrupt;
    const uint32_t m = r.u32();
    if (!r.ok() || m < 1 || m > uint32_t(kDocSlots))
        return ProjectReadStatus::Corrupt;
    bool tablesOk = true;
    for (int i = 0; i < int(m) && tablesOk; ++i) {
        m_currentTable = i;
        tablesOk = ReadTableRecord(r);
        if (tablesOk && i >= m_tableCount) {
            m_tableCount = i + 1;
            NotifyTabAdded(TabKind::Table, i, "Table");
        }
    }
    m_currentTable = 0;
    if (!tablesOk)
        return ProjectReadStatus::Corrupt;
    while (m_tableCount > int(m))
        NotifyTabRemoved(TabKind::Table, --m_tableCount);

    if (flags & kFlagStackedFirst)
        m_stackedLayout[0] = r.u8();
    if (flags & kFlagStackedLayout)
        r.bytes(m_stackedLayout.data(), m_stackedLayout.size());
    if (!r.ok())
        return ProjectReadStatus::Corrupt;

    for (size_t k = 0; k < size_t(kDocSlots); ++k) {
        m_templateNames[k] = k < templateNames.size() ? templateNames[k] : std::string();
        m_tableNames[k] = k < tableNames.size() ? tableNames[k] : std::string();
    }
    NotifyTabLabelsChanged(TabKind::Template);
    NotifyTabLabelsChanged(TabKind::Table);
    for (int t = 0; t < kDocSlots; ++t)
        RebuildColumnMap(t);
    SetTableCharSet(m_tableFont.lfCharSet);
    return ProjectReadStatus::Ok;
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
