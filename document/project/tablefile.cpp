#include "document/project/tablefile.h"

#include "platform/record.h"

#include <algorithm>
#include <cstring>

namespace tablefile {

namespace {

bool readMagic(RecordReader& r, std::string_view magic)
{
    char bytes[4];
    return r.bytes(bytes, sizeof bytes) && std::string_view(bytes, sizeof bytes) == magic;
}

// One stored cell text: int32 length L and L bytes (nothing for L <= 0).
// Keeps the first 255 bytes; false when the data ends inside it.
bool readCellText(RecordReader& r, std::string& text)
{
    text.clear();
    const int32_t length = r.i32();
    if (!r.ok())
        return false;
    if (length <= 0)
        return true;
    if (!r.require(size_t(length)))
        return false;
    const size_t kept = std::min<size_t>(size_t(length), CDataTableBase::kMaxCellText);
    text = r.bytes(kept);
    r.skip(size_t(length) - kept);
    return r.ok();
}

// The older layout after its magic.
bool readOldTbf(RecordReader& r, TableContents& slot)
{
    const int32_t version = r.i32();
    if (!r.ok() || version > kNewestOldVersion || version == kRefusedOldVersion)
        return false;
    r.i32();
    r.i32();
    auto filter = std::make_unique<CDataTableFilter>();
    if (!r.ok() || !filter->Load(r))
        return false;
    slot.filter = std::move(filter);
    if (!slot.filtered)
        slot.filtered = std::make_unique<CDataTableBase>(slot.table);
    if (!readMagic(r, kOldTbfTextTag))
        return false;

    const uint32_t firstImage = r.u32();
    const int32_t imageCount = r.i32();
    if (!r.ok())
        return false;
    for (int64_t p = firstImage; p < int64_t(firstImage) + imageCount && p < CDataTableBase::kFlagCount; ++p)
        slot.table.SetColumnFlag(int(p), 1);

    // The rows of the full table, after the rows present. Every row and
    // cell takes at least four bytes.
    const int32_t rows = r.i32();
    const int base = slot.table.GetRowCount();
    if (!r.ok() || rows < 0 || int64_t(base) + rows > CDataTableBase::kMaxRows || !r.requireItems(uint64_t(rows), 4))
        return false;
    std::string text;
    for (int32_t i = 0; i < rows; ++i) {
        const uint32_t cells = r.u32();
        if (!r.ok() || !r.requireItems(cells, 4))
            return false;
        for (uint32_t k = 0; k < cells; ++k) {
            if (!readCellText(r, text))
                return false;
            if (k < uint32_t(CDataTableBase::kMaxColumns))
                slot.table.SetCellText(base + i, int(k), text);
        }
    }

    // The filtered columns (not used), then the filtered rows of F cells.
    const int32_t columns = r.i32();
    if (!r.ok() || columns < 0 || !r.requireItems(uint64_t(columns), 5))
        return false;
    r.skip(size_t(columns) * 5);
    const int32_t filteredRows = r.i32();
    const int filteredBase = slot.filtered->GetRowCount();
    if (!r.ok() || filteredRows < 0 || int64_t(filteredBase) + filteredRows > CDataTableBase::kMaxRows ||
        !r.requireItems(uint64_t(filteredRows) * uint64_t(columns), 4))
        return false;
    if (columns == 0)
        return true;
    for (int32_t g = 0; g < filteredRows; ++g)
        for (int32_t k = 0; k < columns; ++k) {
            if (!readCellText(r, text))
                return false;
            if (k < CDataTableBase::kMaxColumns)
                slot.filtered->SetCellText(filteredBase + g, k, text);
        }
    return true;
}

} // namespace

bool ReadTbf(std::string_view bytes, TableContents& slot)
{
    RecordReader r(bytes);
    char magic[4];
    if (!r.bytes(magic, sizeof magic))
        return false;
    const std::string_view m(magic, sizeof magic);
    if (m == kOldTbfMagic)
        return readOldTbf(r, slot);
    if (m != kTbfMagic)
        return false;
    r.u32();
    if (!r.ok() || !slot.table.Load(r))
        return false;
    if (r.remaining() < 4 || r.u32() != kFilterFollows)
        return true;
    auto filter = std::make_unique<CDataTableFilter>();
    auto filtered = slot.filtered ? std::move(slot.filtered) : std::make_unique<CDataTableBase>();
    if (!filter->Load(r) || !filtered->Load(r))
        return false;
    slot.filter = std::move(filter);
    slot.filtered = std::move(filtered);
    return true;
}

std::string WriteTbf(const CDataTableBase& table, const CDataTableFilter* filter, const CDataTableBase* filtered)
{
    RecordWriter w;
    w.bytes(kTbfMagic);
    w.u32(0);
    table.Save(w);
    if (filter) {
        w.u32(kFilterFollows);
        filter->Save(w);
        (filtered ? *filtered : CDataTableBase()).Save(w);
    }
    return w.take();
}

bool IsTblSignature(uint16_t signature)
{
    const uint8_t high = uint8_t(signature >> 8);
    return signature == 0x0101 || signature == 0x0505 || signature == 0x0515 || high == 0x7F || high == 0x7E;
}

std::optional<TblHeader> ReadTblHeader(std::string_view bytes)
{
    RecordReader r(bytes);
    const uint16_t signature = r.u16();
    const int16_t columns = r.i16();
    if (!r.ok() || !IsTblSignature(signature) || columns < 1 || columns > kMaxTblColumns)
        return std::nullopt;
    TblHeader header;
    header.columns = columns;
    r.skip(size_t(columns) * 4);
    const uint8_t high = uint8_t(signature >> 8);
    const uint8_t options = (high == 0x7F || high == 0x7E) ? uint8_t(signature) : 0;
    if (options & 0x10)
        for (int c = 0; c < columns; ++c) {
            const int16_t length = r.i16();
            if (!r.ok() || length < 0 || length > kMaxTblColumnName)
                return std::nullopt;
            r.skip(size_t(length));
        }
    if (options & 0x40)
        r.skip(size_t(columns) * 2);
    if (high == 0x7E && (options & 0x02))
        header.imageColumns = std::clamp<int>(r.i16(), 0, columns);
    if (!r.ok())
        return std::nullopt;
    header.streamStart = r.position();
    return header;
}

bool LooksLikeTbl(std::string_view bytes)
{
    RecordReader r(bytes);
    const uint16_t signature = r.u16();
    const int16_t columns = r.i16();
    return r.ok() && IsTblSignature(signature) && columns >= 1 && columns <= kMaxTblColumns;
}

void ReadTblStream(std::string_view stream, const CellSink& cell)
{
    int64_t row = 0;
    int64_t column = 0;
    std::string buffer;
    buffer.reserve(CDataTableBase::kMaxCellText);
    auto flush = [&] {
        if (buffer.empty())
            return;
        if (row < CDataTableBase::kMaxRows && column < CDataTableBase::kMaxColumns)
            cell(row, int(column), buffer);
        buffer.clear();
    };
    for (const char b : stream) {
        switch (b) {
        case kTblIgnored:
            break;
        case kTblNextRow:
            flush();
            ++row;
            column = 0;
            break;
        case kTblNextCell:
            flush();
            ++column;
            break;
        case kTblEndCell:
            flush();
            break;
        default:
            if (buffer.size() < size_t(CDataTableBase::kMaxCellText))
                buffer.push_back(b);
        }
    }
    // A last cell without its end byte is not stored.
}

std::optional<CDataTableFilter> ReadFilterFile(std::string_view bytes)
{
    RecordReader r(bytes);
    if (!readMagic(r, kFilterMagic))
        return std::nullopt;
    r.u32();
    CDataTableFilter filter;
    if (!r.ok() || !filter.Load(r))
        return std::nullopt;
    return filter;
}

std::string WriteFilterFile(const CDataTableFilter& filter)
{
    RecordWriter w;
    w.bytes(kFilterMagic);
    w.u32(0);
    filter.Save(w);
    return w.take();
}

} // namespace tablefile
