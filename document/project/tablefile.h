#pragma once
// The files that carry one table or one filter outside a project, as bytes:
//  - ".tbf": "LBAT", 0, a table block, and when the table has a filter the
//    tag 0x11223344, the filter block and the filtered table's block. The
//    older ".TBF" layout (version, filter block, "TEXT", image columns, rows
//    of cells, filtered rows) is read too.
//  - ".tbl": the oldest table file, read only: a signature, the column
//    count, header parts the signature's option bits select, then a stream
//    of cell texts separated by 0x10 (next cell) and 0x0D (next row).
//  - ".filter": "FILT", 0, a filter block.
// All fields are little-endian. The readers trust no count or length: each
// is bounded by the bytes left and by the table's limits.
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tablefile {

inline constexpr std::string_view kTbfMagic = "LBAT";
inline constexpr std::string_view kOldTbfMagic = ".TBF";
inline constexpr std::string_view kOldTbfTextTag = "TEXT";
inline constexpr std::string_view kFilterMagic = "FILT";
inline constexpr uint32_t kFilterFollows = 0x11223344;
// Old ".TBF" versions read: up to this one, except kRefusedOldVersion.
inline constexpr int32_t kNewestOldVersion = 2305;
inline constexpr int32_t kRefusedOldVersion = 2304;
// Columns a ".tbl" file may declare.
inline constexpr int kMaxTblColumns = 26;
// Longest column name of a ".tbl" header.
inline constexpr int kMaxTblColumnName = 40;
// Largest table or filter file read (the table's limits need far less).
inline constexpr int64_t kMaxFileSize = int64_t(1) << 30;

inline constexpr char kTblNextCell = 0x10;
inline constexpr char kTblNextRow = 0x0D;
inline constexpr char kTblEndCell = 0x1A;
inline constexpr char kTblIgnored = 0x0A;

// One table slot's contents: the table, and its filter with the filtered
// copy (both null, or both set).
struct TableContents {
    CDataTableBase table;
    std::unique_ptr<CDataTableFilter> filter;
    std::unique_ptr<CDataTableBase> filtered;
};

// Reads either ".tbf" layout into `slot`, which holds the current table
// slot's contents: the "LBAT" layout sets the cells it holds by row and
// column (and replaces the filter when it carries one); the older layout
// replaces the filter and appends its rows after the rows present. False,
// with `slot` partly changed, when the file is no table file, of a refused
// version, or damaged: the caller keeps its own contents then.
bool ReadTbf(std::string_view bytes, TableContents& slot);
// The "LBAT" layout of a table, with its filter and filtered copy when the
// filter is given (a missing filtered copy is written empty).
std::string WriteTbf(const CDataTableBase& table, const CDataTableFilter* filter, const CDataTableBase* filtered);

// Whether the first 16-bit word of a ".tbl" file is one of its signatures:
// 0x0101, 0x0505, 0x0515, or any word whose high byte is 0x7F or 0x7E.
bool IsTblSignature(uint16_t signature);

// The header of a ".tbl" file.
struct TblHeader {
    int columns = 0;       // 1..26
    int imageColumns = 0;  // the last ones of the columns; 0..columns
    size_t streamStart = 0; // offset of the cell stream
};
// The header when the signature passes, the column count is 1..26 and
// every header part is there; otherwise nothing.
std::optional<TblHeader> ReadTblHeader(std::string_view bytes);
// Whether the bytes begin with a valid ".tbl" signature and column count.
bool LooksLikeTbl(std::string_view bytes);

// Walks a ".tbl" cell stream: `cell`(row, column, text) for every non-empty
// cell, rows counted from 0, texts of at most 255 bytes (longer ones keep
// their first 255).
using CellSink = std::function<void(int64_t row, int column, std::string_view text)>;
void ReadTblStream(std::string_view stream, const CellSink& cell);

// A ".filter" file: the filter it holds, or nothing when the magic is
// wrong or the filter block damaged.
std::optional<CDataTableFilter> ReadFilterFile(std::string_view bytes);
std::string WriteFilterFile(const CDataTableFilter& filter);

} // namespace tablefile
