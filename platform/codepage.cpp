#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace codepage {

int ForCharset(uint8_t charset)
{
    switch (charset) {
    case 2: return kSymbol;      // SYMBOL_CHARSET
    case 77: return 10000;       // MAC_CHARSET
    case 128: return 932;        // SHIFTJIS_CHARSET
    case 129: return 949;        // HANGUL_CHARSET
    case 130: return 1361;       // JOHAB_CHARSET
    case 134: return 936;        // GB2312_CHARSET
    case 136: return 950;        // CHINESEBIG5_CHARSET
    case 161: return 1253;       // GREEK_CHARSET
    case 162: return 1254;       // TURKISH_CHARSET
    case 163: return 1258;       // VIETNAMESE_CHARSET
    case 177: return 1255;       // HEBREW_CHARSET
    case 178: return 1256;       // ARABIC_CHARSET
    case 186: return 1257;       // BALTIC_CHARSET
    case 204: return 1251;       // RUSSIAN_CHARSET
    case 222: return 874;        // THAI_CHARSET
    case 238: return 1250;       // EASTEUROPE_CHARSET
    case 255: return 437;        // OEM_CHARSET
    default: return kAnsi;       // ANSI, DEFAULT and anything unknown
    }
}

namespace {

const char* iconvName(int cp)
{
    switch (cp) {
    case 10000: return "MACINTOSH";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1361: return "JOHAB";
    case 874: return "CP874";
    case 437: return "CP437";
    case 850: return "CP850";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    default: return "CP1252";
    }
}

bool isMultiByte(int cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361;
}

// A single-byte page as a 256-entry table plus its reverse map, built once
// by converting each byte alone.
struct SingleByteTable {
    std::array<char16_t, 256> toU{};
    std::unordered_map<char16_t, uint8_t> fromU;
};

const SingleByteTable& tableFor(int cp)
{
    static std::mutex mutex;
    static std::unordered_map<int, SingleByteTable> tables;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = tables.find(cp);
    if (it != tables.end())
        return it->second;
    SingleByteTable& t = tables[cp];
    iconv_t cd = iconv_open("UTF-16LE", iconvName(cp));
    for (int b = 0; b < 256; ++b) {
        char16_t u = char16_t(b);
        if (cd != iconv_t(-1)) {
            char in = char(b);
            char out[8];
            char* pin = &in;
            char* pout = out;
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            // Pages with combining marks (1255, 1258) hold a letter back
            // until they know whether a mark follows: flush it out.
            if (iconv(cd, &pin, &inLeft, &pout, &outLeft) != size_t(-1) &&
                iconv(cd, nullptr, nullptr, &pout, &outLeft) != size_t(-1) && outLeft == sizeof out - 2)
                u = char16_t(uint8_t(out[0]) | (uint8_t(out[1]) << 8));
        }
        t.toU[size_t(b)] = u;
    }
    if (cd != iconv_t(-1))
        iconv_close(cd);
    // Reverse map; for duplicates the lowest byte wins.
    for (int b = 255; b >= 0; --b)
        t.fromU[t.toU[size_t(b)]] = uint8_t(b);
    return t;
}

std::string iconvConvert(const char* to, const char* from, std::string_view in, bool& ok)
{
    ok = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) {
        ok = false;
        return {};
    }
    const bool fromUtf16 = std::string_view(from) == "UTF-16LE";
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* pin = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* pout = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &pin, &inLeft, &pout, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            const size_t used = size_t(pout - out.data());
            out.resize(out.size() * 2);
            pout = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // Invalid or incomplete sequence, or a character the target lacks:
        // skip it (one byte, or one UTF-16 character), mark it.
        ok = false;
        size_t skip = 1;
        if (fromUtf16) {
            skip = 2;
            const uint16_t unit = uint16_t(uint8_t(pin[0]) | (inLeft > 1 ? uint8_t(pin[1]) << 8 : 0));
            if (unit >= 0xD800 && unit < 0xDC00 && inLeft >= 4) {
                const uint16_t low = uint16_t(uint8_t(pin[2]) | (uint8_t(pin[3]) << 8));
                if (low >= 0xDC00 && low < 0xE000)
                    skip = 4;
            }
            skip = std::min(skip, inLeft);
        }
        pin += skip;
        inLeft -= skip;
        if (outLeft < 2) {
            const size_t used = size_t(pout - out.data());
            out.resize(out.size() * 2);
            pout = out.data() + used;
            outLeft = out.size() - used;
        }
        // U+FFFD in UTF-16LE, or '?' in a byte page.
        if (std::string_view(to) == "UTF-16LE") {
            *pout++ = char(0xFD);
            *pout++ = char(0xFF);
            outLeft -= 2;
        } else {
            *pout++ = '?';
            --outLeft;
        }
    }
    out.resize(size_t(pout - out.data()));
    iconv_close(cd);
    return out;
}

} // namespace

namespace {

unsigned char foldCp1252(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    switch (c) {
    case 0x8A: return 0x9A; // S caron
    case 0x8C: return 0x9C; // OE
    case 0x8E: return 0x9E; // Z caron
    case 0x9F: return 0xFF; // Y diaeresis
    default: return c;
    }
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCp1252(uint8_t(a[i])) != foldCp1252(uint8_t(b[i])))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

QString ToUnicode(std::string_view bytes, int codePage)
{
    if (codePage == kSymbol) {
        QString s;
        s.reserve(qsizetype(bytes.size()));
        for (unsigned char c : bytes)
            s.append(QChar(char16_t(0xF000 + c)));
        return s;
    }
    if (!isMultiByte(codePage)) {
        const SingleByteTable& t = tableFor(codePage);
        QString s;
        s.resize(qsizetype(bytes.size()));
        QChar* out = s.data(); // one detach check, not one per character
        for (size_t i = 0; i < bytes.size(); ++i)
            out[i] = QChar(t.toU[uint8_t(bytes[i])]);
        return s;
    }
    bool ok;
    const std::string u16 = iconvConvert("UTF-16LE", iconvName(codePage), bytes, ok);
    return QString(reinterpret_cast<const QChar*>(u16.data()), qsizetype(u16.size() / 2));
}

std::string FromUnicode(const QString& text, int codePage)
{
    if (codePage == kSymbol) {
        std::string out;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            out.push_back(u >= 0xF000 && u <= 0xF0FF ? char(u - 0xF000) : (u < 256 ? char(u) : '?'));
        }
        return out;
    }
    if (!isMultiByte(codePage)) {
        const SingleByteTable& t = tableFor(codePage);
        std::string out;
        out.reserve(size_t(text.size()));
        for (QChar c : text) {
            auto it = t.fromU.find(c.unicode());
            out.push_back(it != t.fromU.end() ? char(it->second) : '?');
        }
        return out;
    }
    bool ok;
    std::string_view u16(reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2);
    return iconvConvert(iconvName(codePage), "UTF-16LE", u16, ok);
}

} // namespace codepage
