// Writing the project file.
#include "document/project/projectdoc.h"
#include "document/project/projectfile.h"

#include "platform/files.h"

#include <utility>
#include <vector>

namespace projectfile {

void WriteArchiveString(RecordWriter& w, const std::string& text)
{
    const size_t n = text.size();
    if (n < 0xFF) {
        w.u8(uint8_t(n));
    } else if (n < 0xFFFE) {
        w.u8(0xFF);
        w.u16(uint16_t(n));
    } else {
        if (n > UINT32_MAX) {
            w.setFailed();
            return;
        }
        w.u8(0xFF);
        w.u16(0xFFFF);
        w.u32(uint32_t(n));
    }
    w.bytes(text);
}

void WriteArchiveStringArray(RecordWriter& w, const std::vector<std::string>& texts)
{
    const size_t n = texts.size();
    if (n < 0xFFFF) {
        w.u16(uint16_t(n));
    } else {
        w.u16(0xFFFF);
        w.u32(uint32_t(n));
    }
    for (const std::string& text : texts)
        WriteArchiveString(w, text);
}

} // namespace projectfile

bool CVorteplanSoftLabelDoc::WriteTableRecord(RecordWriter& w) const
{
    const TableSlot& s = m_tables[size_t(m_currentTable)];
    const bool hasFilter = s.filter != nullptr;
    w.i32(hasFilter ? 1 : 0);
    s.table->Save(w);
    if (hasFilter) {
        s.filter->Save(w);
        if (s.filtered)
            s.filtered->Save(w);
        else
            CDataTableBase().Save(w);
    }
    return true;
}

bool CVorteplanSoftLabelDoc::WriteProject(RecordWriter& w)
{
    // The reader takes 1..255 templates and 1..256 tables.
    if (m_templateCount < 1 || m_templateCount > kMaxProjectTemplates || m_tableCount < 1 ||
        m_tableCount > kDocSlots) {
        w.setFailed();
        return false;
    }
    w.bytes(projectfile::kMagic.data(), projectfile::kMagic.size());
    w.i32(projectfile::kVersion);
    w.i32(projectfile::kRevision);
    w.u32(projectfile::kWrittenFlags);

    // The labels of the tabs that exist; empty for the others.
    std::vector<std::string> names(kDocSlots);
    for (int k = 0; k < m_templateCount; ++k)
        names[size_t(k)] = m_templateNames[size_t(k)];
    projectfile::WriteArchiveStringArray(w, names);
    w.i32(m_templateCount);
    for (int k = 0; k < m_templateCount; ++k)
        if (!m_templates[size_t(k)].Write(w, true))
            return false;

    w.u8(m_tableFont.lfCharSet);

    names.assign(kDocSlots, std::string());
    for (int k = 0; k < m_tableCount; ++k)
        names[size_t(k)] = m_tableNames[size_t(k)];
    projectfile::WriteArchiveStringArray(w, names);
    w.i32(m_tableCount);
    const int current = m_currentTable;
    for (int i = 0; i < m_tableCount; ++i) {
        m_currentTable = i;
        WriteTableRecord(w);
    }
    m_currentTable = current;

    w.bytes(m_stackedLayout.data(), m_stackedLayout.size());
    return w.ok();
}

bool CVorteplanSoftLabelDoc::WriteProjectFile(const QString& path, std::string* error)
{
    // Writing a label definition marks it saved; when the file is not
    // written, its changes are still unsaved.
    std::vector<std::pair<CLabel*, bool>> labels;
    for (int k = 0; k < m_templateCount && k < kDocSlots; ++k)
        if (CLabel* label = m_templates[size_t(k)].GetLabel())
            labels.emplace_back(label, label->IsModified());
    const auto failed = [&labels] {
        for (const auto& [label, modified] : labels)
            label->SetModified(modified);
        return false;
    };
    RecordWriter w;
    if (!WriteProject(w)) {
        if (error)
            *error = "the project holds more than a project file can store";
        return failed();
    }
    if (!files::SaveFileAtomically(path, std::string_view(w.data()), error))
        return failed();
    return true;
}
