#include "content/textparts/text.h"
#include "platform/codepage.h"

#include "content/textparts/calendar.h"
#include "platform/clock.h"
#include "platform/uiservices.h"
#include "platform/units.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace {

constexpr int16_t kFixedExtMarker = 50;
constexpr int16_t kFixedExtLineKey = 272;
constexpr const char* kDefaultFixedText = "Enter text here";

std::string cut(std::string s, size_t bufferLength)
{
    const size_t max = bufferLength ? bufferLength - 1 : 0;
    if (s.size() > max)
        s.resize(max);
    return s;
}

std::string upTo(std::string_view text, size_t max)
{
    // A stored text ends at its first NUL.
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    return std::string(text.substr(0, std::min(text.size(), max)));
}

char columnLetter(int column)
{
    // Column A is code 65; a missing column (-1) gives code 64.
    return char(uint8_t(column + 65));
}

int columnFromLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' : -1;
}

std::string formatInt(int64_t v)
{
    return std::to_string(v);
}

// Reads an int16 length and that many bytes; keeps at most `max` of them.
// A negative length marks the data damaged.
std::string readCountedBytes(RecordReader& r, size_t max)
{
    const int16_t n = r.i16();
    if (!r.ok())
        return {};
    if (n < 0) {
        r.setDamaged();
        return {};
    }
    const std::string bytes = r.bytes(size_t(n));
    return std::string(bytes.substr(0, std::min(bytes.size(), max)));
}

} // namespace

bool ScanDecimal(std::string_view text, int32_t& out)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(uint8_t(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !std::isdigit(uint8_t(text[i])))
        return false;
    int64_t v = 0;
    while (i < text.size() && std::isdigit(uint8_t(text[i]))) {
        v = v * 10 + (text[i] - '0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return false;
        ++i;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    out = int32_t(v);
    return true;
}

// --- fixed texts ------------------------------------------------------------

bool CTextFixed::AppendTextTo(std::string& text) const
{
    text += m_text;
    return true;
}

void CTextFixed::SetFromText(std::string_view text)
{
    m_text = upTo(text, kMaxText);
}

void CTextFixed::SetText(std::string_view text)
{
    m_text = upTo(text, kMaxText);
}

bool CTextFixed::Load(RecordReader& r)
{
    const int16_t n = r.i16();
    if (!r.ok())
        return false;
    if (n < 0) {
        r.setDamaged();
        return false;
    }
    m_text = upTo(r.bytes(size_t(n) + 1), kMaxText);
    return r.ok();
}

void CTextFixed::Save(RecordWriter& w) const
{
    w.i16(int16_t(m_text.size()));
    w.bytes(m_text);
    w.u8(0);
}

std::string CTextFixed::GetText(const DrawContext&, size_t bufferLength) const
{
    return cut(m_text, bufferLength);
}

CTextFixedExt::CTextFixedExt()
{
    m_lines.push_back(kDefaultFixedText);
}

bool CTextFixedExt::AppendTextTo(std::string& text) const
{
    if (m_default)
        return false;
    for (const std::string& line : m_lines)
        text += line;
    return true;
}

void CTextFixedExt::SetFromText(std::string_view text)
{
    m_lines.assign(1, upTo(text, kMaxLine));
    m_default = false;
}

void CTextFixedExt::SetText(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\0')
            break;
        if (c == '\n')
            continue;
        if (c == '\r') {
            lines.push_back(current.substr(0, kMaxLine));
            current.clear();
            continue;
        }
        current.push_back(c);
    }
    lines.push_back(current.substr(0, kMaxLine));
    m_lines = std::move(lines);
}

void CTextFixedExt::SetLines(const std::vector<std::string>& lines)
{
    m_lines.clear();
    for (const std::string& l : lines)
        m_lines.push_back(upTo(l, kMaxLine));
}

bool CTextFixedExt::Load(RecordReader& r)
{
    const int16_t marker = r.i16();
    const int16_t count = r.i16();
    m_reserved1 = r.i16();
    m_reserved2 = r.i16();
    if (!r.ok())
        return false;
    if (marker != kFixedExtMarker) {
        char text[32];
        std::snprintf(text, sizeof text, "key = %d", marker);
        ShowUserMessage(text, "collectionKey", MessageIcon::Warning);
    }
    if (count < 0) {
        r.setDamaged();
        return false;
    }
    if (!r.requireItems(uint64_t(count), 4))
        return false;
    m_lines.clear();
    m_default = false;
    for (int i = 0; i < count && r.ok(); ++i) {
        r.i16(); // line key, not checked
        std::string line = upTo(readCountedBytes(r, kMaxLine), kMaxLine);
        if (!r.ok())
            break;
        if (!line.empty()) // blank lines are not kept
            m_lines.push_back(std::move(line));
    }
    return r.ok();
}

void CTextFixedExt::Save(RecordWriter& w) const
{
    const size_t count = std::min<size_t>(m_lines.size(), size_t(std::numeric_limits<int16_t>::max()));
    w.i16(kFixedExtMarker);
    w.i16(int16_t(count));
    w.i16(m_reserved1);
    w.i16(m_reserved2);
    for (size_t i = 0; i < count; ++i) {
        w.i16(kFixedExtLineKey);
        w.i16(int16_t(m_lines[i].size()));
        w.bytes(m_lines[i]);
    }
}

std::string CTextFixedExt::GetText(const DrawContext&, size_t bufferLength) const
{
    std::string joined;
    for (size_t i = 0; i < m_lines.size() && joined.size() < kMaxJoined; ++i) {
        if (i)
            joined += "\r\n";
        joined += m_lines[i];
    }
    if (joined.size() > kMaxJoined)
        joined.resize(kMaxJoined);
    return cut(std::move(joined), bufferLength);
}

// --- dates and time -----------------------------------------------------------

std::string CTextDate::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder)
        return cut("{date}", bufferLength);
    const CClock& clock = CurrentClock();
    return cut(clock.FormatShortDate(clock.Today()), bufferLength);
}

const char* CTextDateExt::FormatName(int index)
{
    static const char* const names[5] = {"Short", "Year (YY)", "Month (MM)", "Day (DD)", "Week number"};
    return index >= 0 && index < 5 ? names[index] : nullptr;
}

bool CTextDateExt::GetDateFormat(int& out) const
{
    if (m_mode == kModeWhole) {
        out = 0;
        return true;
    }
    if (m_mode == kModeComponent) {
        out = m_component;
        return true;
    }
    return false;
}

void CTextDateExt::SetDateFormat(int index)
{
    if (index == 0) {
        m_mode = kModeWhole;
        m_component = kShortDate;
    } else if (index >= 1 && index <= 4) {
        m_mode = kModeComponent;
        m_component = int16_t(index);
    }
}

void CTextDateExt::SetDateOffset(int days)
{
    m_offset = units::clamp16(days);
}

bool CTextDateExt::GetDateFormatName(std::string& out) const
{
    int index;
    if (!GetDateFormat(index) || !FormatName(index))
        return false;
    out = FormatName(index);
    return true;
}

void CTextDateExt::SetDateFormatName(std::string_view name)
{
    for (int i = 0; i < 5; ++i)
        if (codepage::EqualsNoCase(name, FormatName(i))) {
            SetDateFormat(i);
            return;
        }
}

bool CTextDateExt::GetDateOffsetText(std::string& out) const
{
    out = formatInt(m_offset);
    return true;
}

void CTextDateExt::SetDateOffsetText(std::string_view text)
{
    int32_t v;
    if (ScanDecimal(text, v))
        SetDateOffset(v);
}

bool CTextDateExt::Load(RecordReader& r)
{
    m_mode = r.i16();
    m_component = r.i16();
    m_offset = r.i16();
    m_reserved1 = r.i16();
    m_reserved2 = r.i16();
    return r.ok();
}

void CTextDateExt::Save(RecordWriter& w) const
{
    w.i16(m_mode);
    w.i16(m_component);
    w.i16(m_offset);
    w.i16(m_reserved1);
    w.i16(m_reserved2);
}

std::string CTextDateExt::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder)
        return cut("{Date}", bufferLength);
    if (m_mode == 0 || m_mode == 2)
        return {};
    if (m_mode != kModeWhole && m_mode != kModeComponent)
        return cut("?", bufferLength);
    const CClock& clock = CurrentClock();
    const auto date = calendar::AddDays(clock.Today(), m_offset);
    if (!date)
        return cut("?", bufferLength);
    if (m_mode == kModeWhole)
        return cut(clock.FormatShortDate(*date), bufferLength);
    int value;
    switch (m_component) {
    case kYear: value = date->year % 100; break;
    case kMonth: value = date->month; break;
    case kDay: value = date->day; break;
    case kWeek: value = calendar::WeekNumber(date->year, date->month, date->day); break;
    default: return cut("?", bufferLength);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02i", value);
    return cut(buf, bufferLength);
}

std::string CTextTime::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder)
        return cut("{time}", bufferLength);
    const CClock& clock = CurrentClock();
    return cut(clock.FormatTime(clock.Now()), bufferLength);
}

// --- table columns ------------------------------------------------------------

bool CTextTable::GetColumn(int which, int& out) const
{
    if (which != 0)
        return false;
    out = m_column;
    return true;
}

void CTextTable::SetColumn(int which, int column)
{
    if (which == 0)
        m_column = units::clamp16(column);
}

bool CTextTable::UsesColumn(int column) const
{
    return m_column != -1 && m_column == column;
}

bool CTextTable::Load(RecordReader& r)
{
    m_column = r.i16();
    return r.ok();
}

void CTextTable::Save(RecordWriter& w) const
{
    w.i16(m_column);
}

std::string CTextTable::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder)
        return cut(std::string{'[', columnLetter(m_column), ']'}, bufferLength);
    return cut(context.CellText(m_column), bufferLength);
}

bool CTextTable::GetColumnLetters(std::string& out) const
{
    out.clear();
    if (m_column != -1)
        out.push_back(columnLetter(m_column));
    return true;
}

void CTextTable::SetColumnLetters(std::string_view text)
{
    m_column = int16_t(columnFromLetter(text.empty() ? '\0' : text[0]));
}

bool CTextTableExt::GetColumn(int which, int& out) const
{
    switch (which) {
    case 0: out = m_column; return true;
    case 1: out = m_second; return true;
    case 2: out = m_third; return true;
    default: return false;
    }
}

void CTextTableExt::SetColumn(int which, int column)
{
    switch (which) {
    case 0: m_column = units::clamp16(column); break;
    case 1: m_second = units::clamp16(column); break;
    case 2: m_third = units::clamp16(column); break;
    default: break;
    }
}

bool CTextTableExt::UsesColumn(int column) const
{
    for (int16_t c : {m_column, m_second, m_third})
        if (c != -1 && c == column)
            return true;
    return false;
}

bool CTextTableExt::GetColumnLetters(std::string& out) const
{
    out.clear();
    for (int16_t c : {m_column, m_second, m_third})
        if (c != -1)
            out.push_back(columnLetter(c));
    return true;
}

void CTextTableExt::SetColumnLetters(std::string_view text)
{
    auto at = [&](size_t i) { return i < text.size() ? text[i] : '\0'; };
    m_column = int16_t(columnFromLetter(at(0)));
    m_second = text.size() >= 2 ? int16_t(columnFromLetter(at(1))) : int16_t(-1);
    m_third = text.size() >= 3 ? int16_t(columnFromLetter(at(2))) : int16_t(-1);
}

bool CTextTableExt::GetSeparatorText(std::string& out) const
{
    if (m_separator.empty())
        out = "None";
    else if (m_separator == " ")
        out = "Space";
    else if (m_separator == "\r\n")
        out = "Line break";
    else
        out = m_separator;
    return true;
}

void CTextTableExt::SetSeparatorText(std::string_view text)
{
    if (text == "None")
        m_separator.clear();
    else if (text == "Space")
        m_separator.assign(1, ' ');
    else if (text == "Line break")
        m_separator = "\r\n";
    else
        m_separator = upTo(text, kMaxSeparator);
}

bool CTextTableExt::Load(RecordReader& r)
{
    m_column = r.i16();
    m_second = r.i16();
    m_third = r.i16();
    m_separator = upTo(readCountedBytes(r, kMaxSeparator), kMaxSeparator);
    m_separateBlank = (r.i32() & 1) != 0;
    readCountedBytes(r, 0); // reserved
    return r.ok();
}

void CTextTableExt::Save(RecordWriter& w) const
{
    w.i16(m_column);
    w.i16(m_second);
    w.i16(m_third);
    w.i16(int16_t(m_separator.size()));
    w.bytes(m_separator);
    w.i32(m_separateBlank ? 1 : 0);
    w.i16(0);
}

std::string CTextTableExt::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder) {
        std::string p{'[', columnLetter(m_column)};
        for (int16_t c : {m_second, m_third}) {
            if (c == -1)
                continue;
            p += m_separator;
            if (m_separator == "\r\n")
                p += "  ";
            p.push_back(columnLetter(c));
        }
        if (context.flags & kDrawLabelNumbers)
            p.append(":").append(formatInt(context.labelNumber));
        p += "]";
        return cut(std::move(p), bufferLength);
    }
    std::string text = context.CellText(m_column);
    for (int16_t c : {m_second, m_third}) {
        if (c == -1)
            continue;
        const std::string cell = context.CellText(c);
        if (m_separateBlank || (!text.empty() && !cell.empty()))
            text += m_separator;
        text += cell;
    }
    return cut(std::move(text), bufferLength);
}

// --- counter ----------------------------------------------------------------

void CTextAutoIncrement::SetPrefix(std::string_view text)
{
    m_prefix = upTo(text, kMaxAffix);
}

void CTextAutoIncrement::SetSuffix(std::string_view text)
{
    m_suffix = upTo(text, kMaxAffix);
}

bool CTextAutoIncrement::GetStartText(std::string& out) const
{
    out = formatInt(m_start);
    return true;
}

void CTextAutoIncrement::SetStartText(std::string_view text)
{
    int32_t v;
    if (ScanDecimal(text, v))
        m_start = v;
}

bool CTextAutoIncrement::GetMinDigitsText(std::string& out) const
{
    out = formatInt(m_minDigits);
    return true;
}

void CTextAutoIncrement::SetMinDigitsText(std::string_view text)
{
    int32_t v;
    if (ScanDecimal(text, v) && v >= 0)
        m_minDigits = v;
}

void CTextAutoIncrement::Advance(int n)
{
    m_start = int32_t(uint32_t(m_start) + uint32_t(n));
}

bool CTextAutoIncrement::Load(RecordReader& r)
{
    m_prefix = upTo(r.fixedString(kMaxAffix + 1), kMaxAffix);
    m_suffix = upTo(r.fixedString(kMaxAffix + 1), kMaxAffix);
    m_start = r.i32();
    m_minDigits = r.i32();
    m_leadingZeros = r.u8() != 0;
    m_reserved = r.i32();
    return r.ok();
}

void CTextAutoIncrement::Save(RecordWriter& w) const
{
    w.fixedString(m_prefix, kMaxAffix + 1);
    w.fixedString(m_suffix, kMaxAffix + 1);
    w.i32(m_start);
    w.i32(m_minDigits);
    w.u8(m_leadingZeros ? 1 : 0);
    w.i32(m_reserved);
}

std::string CTextAutoIncrement::GetText(const DrawContext& context, size_t bufferLength) const
{
    if (context.placeholder)
        return cut("{+1}", bufferLength);
    // The counter wraps around like the 32-bit number it is.
    const int32_t number =
        context.labelNumber <= 0 ? m_start : int32_t(uint32_t(m_start) + uint32_t(context.labelNumber) - 1u);
    std::string digits = formatInt(number);
    if (m_leadingZeros && m_minDigits > 0) {
        // Zero padding after the sign, to a total width of minimum digits.
        const size_t width = size_t(std::min(m_minDigits, kMaxMinDigits));
        if (digits.size() < width) {
            const size_t at = number < 0 ? 1 : 0;
            digits.insert(at, width - digits.size(), '0');
        }
    }
    return cut(m_prefix + digits + m_suffix, bufferLength);
}

// --- factories ----------------------------------------------------------------

std::unique_ptr<CText> CreateTextPartByKey(int16_t key)
{
    switch (key) {
    case kKeyTextFixed: return std::make_unique<CTextFixed>();
    case kKeyTextDate: return std::make_unique<CTextDate>();
    case kKeyTextTable: return std::make_unique<CTextTable>();
    case kKeyTextTime: return std::make_unique<CTextTime>();
    case kKeyTextFixedExt: return std::make_unique<CTextFixedExt>();
    case kKeyTextDateExt: return std::make_unique<CTextDateExt>();
    case kKeyTextTableExt: return std::make_unique<CTextTableExt>();
    case kKeyTextAutoIncrement: return std::make_unique<CTextAutoIncrement>();
    default: return nullptr;
    }
}

std::unique_ptr<CText> CreateTextPartByKind(int kind)
{
    switch (kind) {
    case kTextKindTable: return std::make_unique<CTextTableExt>();
    case kTextKindFixed: return std::make_unique<CTextFixedExt>();
    case kTextKindDate: return std::make_unique<CTextDateExt>();
    case kTextKindTime: return std::make_unique<CTextTime>();
    case kTextKindCounter: return std::make_unique<CTextAutoIncrement>();
    default: return nullptr;
    }
}

std::unique_ptr<CText> LoadTextPart(RecordReader& r)
{
    const int16_t key = r.i16();
    if (!r.ok())
        return nullptr;
    std::unique_ptr<CText> part = CreateTextPartByKey(key);
    if (!part) {
        char text[32];
        std::snprintf(text, sizeof text, "key = %d", key);
        ShowUserMessage(text, {}, MessageIcon::Warning);
        r.setDamaged();
        return nullptr;
    }
    part->Load(r);
    return part;
}

void SaveTextPart(const CText& part, RecordWriter& w)
{
    w.i16(part.GetTypeKey());
    part.Save(w);
}
