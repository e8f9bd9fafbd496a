#include "tables/import/exceltext.h"

#include "platform/codepage.h"

#include <QString>

#include <algorithm>

namespace {
constexpr uint16_t kContinue = 0x003C;
}

namespace excel {

namespace {

// True when the Latin-1 bytes are already the same text in the code page.
bool latin1IsCodePage(std::string_view latin1, int codePage)
{
    // Latin-1 and cp1252 agree on every byte except 0x80..0x9F.
    if (codePage == codepage::kAnsi
        && std::none_of(latin1.begin(), latin1.end(), [](char c) { return uint8_t(c) >= 0x80 && uint8_t(c) < 0xA0; }))
        return true;
    bool ascii = std::all_of(latin1.begin(), latin1.end(), [](char c) { return uint8_t(c) < 0x80; });
    return ascii && codePage != codepage::kSymbol;
}

} // namespace

std::string FromLatin1(std::string_view latin1, int codePage)
{
    if (latin1IsCodePage(latin1, codePage))
        return std::string(latin1);
    return codepage::FromUnicode(QString::fromLatin1(latin1.data(), qsizetype(latin1.size())), codePage);
}

std::string FromUtf16(std::u16string_view text, int codePage)
{
    return codepage::FromUnicode(QString::fromUtf16(text.data(), qsizetype(text.size())), codePage);
}

} // namespace excel

CExcelTextReader::CExcelTextReader(CExcelStream& stream, std::string_view body, size_t offset, int codePage)
    : m_stream(stream), m_body(body), m_pos(offset), m_codePage(codePage)
{
}

bool CExcelTextReader::NextContinue()
{
    ExcelRecord r;
    if (!m_stream.ReadRecordOfType(kContinue, r))
        return false;
    m_body = r.body;
    m_pos = 0;
    return true;
}

bool CExcelTextReader::ReadRaw(void* out, size_t n)
{
    auto* dst = static_cast<char*>(out);
    while (n) {
        if (AtBodyEnd() && !NextContinue())
            return false;
        const size_t k = std::min(n, m_body.size() - m_pos);
        std::copy_n(m_body.data() + m_pos, k, dst);
        dst += k;
        m_pos += k;
        n -= k;
    }
    return true;
}

bool CExcelTextReader::Skip(uint64_t n)
{
    while (n) {
        if (AtBodyEnd() && !NextContinue())
            return false;
        const size_t k = size_t(std::min<uint64_t>(n, m_body.size() - m_pos));
        m_pos += k;
        n -= k;
    }
    return true;
}

bool CExcelTextReader::ReadText(std::string& out, bool shortCount)
{
    out.clear();
    unsigned char head[2] = {0, 0};
    if (!ReadRaw(head, shortCount ? 1 : 2))
        return false;
    size_t count = shortCount ? head[0] : size_t(head[0] | head[1] << 8);
    unsigned char flags = 0;
    if (!ReadRaw(&flags, 1))
        return false;
    unsigned char word[4] = {0, 0, 0, 0};
    uint32_t runs = 0, phonetic = 0;
    if (flags & 0x08) {
        if (!ReadRaw(word, 2))
            return false;
        runs = uint32_t(word[0] | word[1] << 8);
    }
    if (flags & 0x04) {
        if (!ReadRaw(word, 4))
            return false;
        phonetic = uint32_t(word[0]) | uint32_t(word[1]) << 8 | uint32_t(word[2]) << 16 | uint32_t(word[3]) << 24;
    }

    // Compressed characters are gathered as Latin-1 until the first UTF-16
    // part; from there on everything is gathered as UTF-16.
    std::string& narrow = out;
    std::u16string wide;
    bool isWide = false;
    bool high = flags & 0x01;
    while (count) {
        if (AtBodyEnd()) {
            if (!NextContinue())
                return false;
            // An empty continuation holds not even the option byte.
            if (AtBodyEnd())
                continue;
            high = uint8_t(m_body[m_pos++]) & 0x01;
            if (AtBodyEnd())
                continue;
        }
        const size_t avail = m_body.size() - m_pos;
        const size_t unit = high ? 2 : 1;
        const size_t k = std::min(count, avail / unit);
        if (k == 0)
            return false; // half a character before the record ends
        const std::string_view part = m_body.substr(m_pos, k * unit);
        m_pos += k * unit;
        count -= k;
        if (high && !isWide) {
            wide.reserve(narrow.size() + k + count);
            for (char c : narrow)
                wide.push_back(char16_t(uint8_t(c)));
            isWide = true;
        }
        if (isWide) {
            for (size_t i = 0; i < k; ++i)
                wide.push_back(high ? char16_t(uint8_t(part[2 * i]) | uint8_t(part[2 * i + 1]) << 8)
                                    : char16_t(uint8_t(part[i])));
        } else {
            narrow.append(part);
        }
    }
    if (!Skip(uint64_t(runs) * 4 + phonetic))
        return false;
    if (isWide)
        out = excel::FromUtf16(wide, m_codePage);
    else if (!excel::latin1IsCodePage(narrow, m_codePage))
        out = excel::FromLatin1(narrow, m_codePage);
    return true;
}
