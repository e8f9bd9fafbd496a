#pragma once
// Reading of compound files (OLE2 structured storage), the container of
// Excel 5 and later workbooks: the header, the sector allocation table with
// its DIFAT chain, the mini stream and the directory. Only reading: the file
// is never opened for writing, so a read-only workbook opens as well.
//
// Nothing in the file is trusted: every sector index is checked against the
// sectors present, every chain is followed at most once per sector (a loop
// makes the file damaged), and a stream is never larger than the sectors
// that hold it.
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CCompoundFile {
public:
    // Whether the bytes begin with the compound-file signature.
    static bool IsCompoundFile(std::string_view data);

    // Parses the header, the allocation tables and the directory of a
    // compound file held in `data`, which must outlive this object. False
    // when the data is no compound file or its structure is damaged.
    bool Open(std::string_view data);

    // Reads the stream with the given name directly below the root storage
    // (names compare without regard to case) into `out`. False when there is
    // no such stream or its sectors are damaged.
    bool ReadStream(const QString& name, std::string& out) const;
    // The same stream as a view: into the file's data when its sectors
    // follow one another there (as writers mostly lay them out), else into
    // `copy`, which then holds the bytes ReadStream reads. The view lives as
    // long as `copy` and the data given to Open.
    bool ReadStreamView(const QString& name, std::string_view& out, std::string& copy) const;

private:
    struct Entry {
        QString name;
        uint8_t type = 0; // 1 storage, 2 stream, 5 root
        uint32_t left = 0, right = 0, child = 0;
        uint32_t start = 0;
        uint64_t size = 0;
    };

    // The stream entry of that name directly below the root, or null.
    const Entry* FindStream(const QString& name) const;
    // The bytes of a chain of regular sectors from `start`, at most `limit`
    // bytes; false when the chain is broken, loops or leaves the file.
    bool ReadChain(uint32_t start, uint64_t limit, std::string& out) const;
    bool ReadMiniChain(uint32_t start, uint64_t limit, std::string& out) const;
    // The sector's bytes (short at the end of the file), or empty when the
    // sector lies outside the file.
    std::string_view Sector(uint32_t index) const;
    bool ReadFat(uint32_t fatSectors, uint32_t firstDifat, uint32_t difatSectors);

    std::string_view m_data;
    uint32_t m_sectorSize = 512;
    uint32_t m_sectorCount = 0; // sectors that begin inside the file
    uint32_t m_miniCutoff = 4096;
    std::vector<uint32_t> m_fat;
    std::vector<uint32_t> m_miniFat;
    std::string m_miniStream;
    std::vector<Entry> m_entries;
};
