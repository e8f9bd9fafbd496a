#include "tables/view/tablesearch.h"

#include "platform/codepage.h"
#include "platform/modeltext.h"

#include <QString>

namespace tablesearch {

CaseFolder::CaseFolder(int codePage) : m_codePage(codePage)
{
    for (int b = 0; b < 256; ++b)
        m_upper[size_t(b)] = (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 'a' + 'A')
                                                     : static_cast<unsigned char>(b);
    for (int b = 0x80; b < 256; ++b)
        if (modeltext::IsLeadByte(static_cast<unsigned char>(b), codePage))
            m_multiByte = true;
    if (m_multiByte || codePage == codepage::kSymbol)
        return;
    for (int b = 0x80; b < 256; ++b) {
        const std::string byte(1, char(b));
        const QString lower = codepage::ToUnicode(byte, codePage);
        const QString upper = lower.toUpper();
        if (upper == lower || upper.size() != 1)
            continue;
        const std::string back = codepage::FromUnicode(upper, codePage);
        if (back.size() == 1 && back != "?")
            m_upper[size_t(b)] = static_cast<unsigned char>(back[0]);
    }
}

std::string CaseFolder::Fold(std::string_view text) const
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (m_multiByte && modeltext::IsLeadByte(b, m_codePage)) {
            ++i; // the trail byte stays as it is
            continue;
        }
        out[i] = char(m_upper[b]);
    }
    return out;
}

size_t FindFirst(std::string_view cell, std::string_view text, bool matchCase, const CaseFolder& folder)
{
    if (matchCase)
        return cell.find(text);
    return folder.Fold(cell).find(folder.Fold(text));
}

bool Matches(std::string_view cell, std::string_view text, bool matchCase, bool wholeWord, const CaseFolder& folder)
{
    if (!wholeWord)
        return FindFirst(cell, text, matchCase, folder) != std::string_view::npos;
    if (cell.size() != text.size())
        return false;
    return matchCase ? cell == text : folder.Fold(cell) == folder.Fold(text);
}

std::string ReplaceFirstOccurrence(std::string_view cell, std::string_view text, std::string_view replacement,
                                   bool matchCase, const CaseFolder& folder)
{
    const size_t at = FindFirst(cell, text, matchCase, folder);
    if (at == std::string_view::npos)
        return std::string(cell);
    std::string out;
    out.reserve(cell.size() + replacement.size());
    out.append(cell.substr(0, at));
    out.append(replacement);
    out.append(cell.substr(at + text.size()));
    modeltext::CutToLimit(out, kMaxCellBytes, folder.CodePage());
    return out;
}

} // namespace tablesearch
