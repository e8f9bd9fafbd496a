// Fuzz target: the text-file readers. The first byte picks the delimiter,
// the second the character set and the table's code page, the next 26 the
// fixed widths (255: no width); the rest is the file.
#include "document/project/textimport.h"

#include "content/tables/datatable.h"
#include "platform/modeltext.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 28)
        return 0;
    const char delimiter = char(data[0]);
    const bool oem = data[1] & 1;
    const int codePage = (data[1] & 2) ? 932 : 1252;
    textimport::Widths widths;
    for (int c = 0; c < textimport::kColumns; ++c)
        widths[size_t(c)] = data[2 + c] == 255 ? textimport::kNoWidth : data[2 + c];
    const std::string_view file(reinterpret_cast<const char*>(data) + 28, size - 28);

    std::string storage;
    const std::string_view text = oem ? file : textimport::PrepareAnsi(file, codePage, storage);
    const int source = oem ? 850 : codePage;
    CDataTableBase table;
    int64_t lastRow = -1;
    auto sink = [&](int64_t row, int column, std::string& cell) {
        if (row < lastRow || column < 0 || cell.empty() || cell.size() > size_t(CDataTableBase::kMaxCellText))
            std::abort();
        lastRow = row;
        if (oem) {
            cell = textimport::OemToCodePage(cell, codePage);
            modeltext::CutToLimit(cell, CDataTableBase::kMaxCellText, codePage);
        }
        if (row < CDataTableBase::kMaxRows)
            table.SetCellText(int(row), column, cell);
    };
    textimport::ReadDelimited(text, delimiter, source, sink);
    lastRow = -1;
    textimport::ReadFixedWidth(text, widths, source, [&](int64_t row, int column, std::string& cell) {
        if (column >= textimport::kColumns || (cell.size() > 1 && cell.back() == ' '))
            std::abort();
        sink(row, column, cell);
    });
    return 0;
}
