#include "document/project/textimport.h"

#include "platform/codepage.h"
#include "platform/modeltext.h"
#include "platform/settings.h"

#include <QString>

#include <algorithm>

namespace textimport {

namespace {

constexpr char kQuote = '"';
constexpr char kCr = 0x0D;
constexpr char kLf = 0x0A;
constexpr char kEndOfText = 0x1A;
constexpr size_t kCellLimit = 255;
// Bytes a field collects: one more than a cell keeps, so that a cell is cut
// before a double-byte character that would not fit whole.
constexpr size_t kFieldLimit = kCellLimit + 1;

// Line ends: CR, LF and CR LF each end one line. Answers true when `b`
// ends a line; `afterCr` remembers a CR whose LF is still to come.
bool endsLine(char b, bool& afterCr)
{
    if (b == kCr) {
        afterCr = true;
        return true;
    }
    const bool pairedLf = b == kLf && afterCr;
    afterCr = false;
    return b == kLf && !pairedLf;
}

bool isText(char b)
{
    return uint8_t(b) >= 0x20;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s)
{
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        uint8_t lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            if (b == 0xE0)
                lo = 0xA0;
            else if (b == 0xED)
                hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (size_t k = 2; k <= extra; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        i += extra + 1;
    }
    return true;
}

// Unicode to the code page, one '?' for each character it lacks (also for
// a character outside the Basic Multilingual Plane).
std::string toCodePage(const QString& text, int codePage)
{
    QString bmp;
    bmp.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bmp.append(QLatin1Char('?'));
            ++i;
        } else {
            bmp.append(c);
        }
    }
    return codepage::FromUnicode(bmp, codePage);
}

// Removes trailing spaces, never the first byte.
void trimTrailingSpaces(std::string& text)
{
    size_t n = text.size();
    while (n > 1 && text[n - 1] == ' ')
        --n;
    text.resize(n);
}

} // namespace

Options Options::FromSettings()
{
    using namespace settings;
    Options o;
    o.fixedWidth = GetInt(kTextImport, kImportFormat, 0) != 0;
    o.delimiter = char(int8_t(GetInt(kTextImport, kImportDelimiter, ';')));
    for (int c = 0; c < kColumns; ++c) {
        const int32_t w = GetInt(kTextImport, FixedLengthKey(c), c < 3 ? 10 : -1);
        o.widths[size_t(c)] = (w >= 0 && w <= 255) ? uint32_t(w) : kNoWidth;
    }
    o.charSet = GetInt(kTextImport, kImportCharSet, kCharSetAnsi) == kCharSetOem ? kCharSetOem : kCharSetAnsi;
    return o;
}

void ReadDelimited(std::string_view bytes, char delimiter, int codePage, const CellSink& cell)
{
    int64_t row = 0;
    int column = 0;
    bool quoted = false;
    bool afterCr = false;
    std::string buffer;
    buffer.reserve(kFieldLimit);
    auto store = [&] {
        if (buffer.empty())
            return false;
        modeltext::CutToLimit(buffer, kCellLimit, codePage);
        cell(row, column, buffer);
        buffer.clear();
        return true;
    };
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        char b = bytes[i++];
        if (b == kQuote) {
            afterCr = false;
            if (!quoted) {
                quoted = true;
                continue;
            }
            if (i >= n) // a closing quote at the end
                break;
            b = bytes[i++];
            if (b == kQuote) {
                if (buffer.size() < kFieldLimit)
                    buffer.push_back(kQuote);
                continue;
            }
            quoted = false; // the byte after the closing quote goes on below
        }
        if (b == delimiter && !quoted) {
            afterCr = false;
            if (store())
                ++column;
            continue;
        }
        if (b == kCr || b == kLf) {
            if (endsLine(b, afterCr)) {
                store();
                ++row;
                column = 0;
            }
            continue;
        }
        afterCr = false;
        if (b == kEndOfText)
            break;
        if (isText(b) && buffer.size() < kFieldLimit)
            buffer.push_back(b);
    }
    store();
}

void ReadFixedWidth(std::string_view bytes, const Widths& widths, int codePage, const CellSink& cell)
{
    int64_t row = 0;
    int column = 0;
    bool afterCr = false;
    std::string buffer;
    buffer.reserve(kFieldLimit);
    auto store = [&] {
        if (buffer.empty())
            return;
        modeltext::CutToLimit(buffer, kCellLimit, codePage);
        trimTrailingSpaces(buffer);
        cell(row, column, buffer);
        buffer.clear();
    };
    for (const char b : bytes) {
        if (b == kCr || b == kLf) {
            if (endsLine(b, afterCr)) {
                store();
                ++row;
                column = 0;
            }
            continue;
        }
        afterCr = false;
        if (b == kEndOfText)
            break;
        // Text past the last column has nowhere to go.
        if (!isText(b) || column >= kColumns)
            continue;
        if (buffer.size() < kFieldLimit)
            buffer.push_back(b);
        const uint32_t width = widths[size_t(column)];
        if (width != kNoWidth && buffer.size() >= width) {
            store();
            ++column;
        }
    }
    store();
}

std::string_view PrepareAnsi(std::string_view bytes, int codePage, std::string& storage)
{
    if (!isValidUtf8(bytes))
        return bytes;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; }))
        return bytes;
    storage = toCodePage(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())), codePage);
    return storage;
}

std::string OemToCodePage(std::string_view cell, int codePage)
{
    if (std::all_of(cell.begin(), cell.end(), [](char c) { return uint8_t(c) < 0x80; }))
        return std::string(cell);
    return toCodePage(codepage::ToUnicode(cell, codepage::kOem), codePage);
}

} // namespace textimport
