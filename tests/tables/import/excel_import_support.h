#pragma once
// What the Excel import tests share: a sheet chooser that answers as told
// and remembers what it was asked, and an import of bytes in memory.
#include "tables/import/excelfilemanager.h"

#include <optional>
#include <string>
#include <vector>

namespace excelimporttest {

struct ScriptedChooser : CExcelSheetChooser {
    std::optional<int> answer = 0;
    std::vector<std::vector<std::string>> asked;
    std::optional<int> ChooseSheet(const std::vector<std::string>& names) override
    {
        asked.push_back(names);
        return answer;
    }
};

inline ExcelImportResult importData(const std::string& data, ScriptedChooser& chooser, const QString& name = "t.xls",
                                    char separator = '.')
{
    CExcelFileManager manager(chooser, separator);
    return manager.ImportData(data, name, CDataTableBase());
}

} // namespace excelimporttest
