#pragma once
// The label catalogue: the stock label definitions of the user's labels
// folder (every ".label" file), and the family names that they belong to.
#include "document/label/labelfile.h"

#include <QString>

#include <array>
#include <memory>
#include <string>

class CLabelManager {
public:
    static constexpr int kMaxLabels = 4096;
    static constexpr int kMaxFamilies = 512;
    // Longest display name kept.
    static constexpr size_t kMaxDisplayName = 258;

    CLabelManager();
    ~CLabelManager();
    CLabelManager(const CLabelManager&) = delete;
    CLabelManager& operator=(const CLabelManager&) = delete;

    void SetFolder(const QString& folder) { m_folder = folder; }
    const QString& GetFolder() const { return m_folder; }

    // Rescans the folder: every file whose name ends in ".label" (in any
    // letter case) and whose magic is "LBLF" or "lblF" becomes an entry,
    // also when the rest of it reads badly. Files that cannot be opened are
    // skipped; at most kMaxLabels entries are kept. Each entry keeps the
    // path of its file (local 8-bit) as GetFilePath. Answers the count.
    int LoadFolder();
    // Deletes every loaded definition.
    void Clear();

    int GetCount() const { return m_count; }
    // The definition in a slot; null for an empty slot or a slot outside
    // 0..kMaxLabels - 1.
    CLabelFileNew* GetAt(int slot) const;

    // Adds the family name of every loaded definition.
    void CollectFamilies();
    // Adds a name unless one equal to it without regard to case is held;
    // nothing when all 512 slots are taken.
    void AddFamily(const std::string& name);
    int GetFamilyCount() const;
    // The empty text for an empty slot or an index outside 0..511.
    std::string GetFamilyName(int index) const;
    // Sorts the family names ascending without regard to case.
    void SortFamilies();

    // The display name of a file: its name without the last extension (a
    // leading dot is no extension), at most kMaxDisplayName characters.
    static std::string DisplayNameOf(const std::string& fileName);

private:
    QString m_folder;
    int m_count = 0;
    std::array<std::unique_ptr<CLabelFileNew>, kMaxLabels> m_labels;
    std::array<std::unique_ptr<std::string>, kMaxFamilies> m_families;
};
