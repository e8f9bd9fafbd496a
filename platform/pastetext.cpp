#include "platform/pastetext.h"

#include "platform/modeltext.h"

#include <algorithm>

namespace pastetext {

namespace {

bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

Extent Visit(std::string_view text, const Limits& limits,
             const std::function<void(int line, int column, const std::string& text)>& field)
{
    Extent extent;
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    size_t pos = 0;
    while (extent.lines < limits.maxLines) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);

        int column = 0;
        size_t start = 0;
        while (column < limits.maxFields) {
            const size_t tab = std::min(line.find('\t', start), line.size());
            const std::string_view value = trimmed(line.substr(start, tab - start));
            std::string cut(value.substr(0, modeltext::CharacterBoundary(value, limits.maxFieldBytes, limits.codePage)));
            field(extent.lines, column, cut);
            ++column;
            if (tab == line.size())
                break;
            start = tab + 1;
        }
        extent.maxFields = std::max(extent.maxFields, column);
        ++extent.lines;

        if (end == text.size() || end + 1 == text.size())
            break;
        pos = end + 1;
    }
    return extent;
}

} // namespace pastetext
