// Natural order of label names.
//
// The names are read the way the formatted-input conversions "%s", "%d"
// and "%c" read them (a word is a run of non-space characters, a number an
// optional sign and digits after optional white space, a character the
// very next byte), into strings of any length. Numbers too long for an int
// saturate.
#include "shell/selectlabel/selectlabeldialog.h"

#include <climits>
#include <cstring>
#include <string_view>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool word(std::string& out)
    {
        skipSpace();
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !isSpace(m_text[m_pos]))
            ++m_pos;
        out.assign(m_text.substr(start, m_pos - start));
        return m_pos > start;
    }

    bool number(long long& out)
    {
        skipSpace();
        size_t p = m_pos;
        bool negative = false;
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
            negative = m_text[p++] == '-';
        const size_t digits = p;
        long long value = 0;
        while (p < m_text.size() && m_text[p] >= '0' && m_text[p] <= '9') {
            if (value < INT_MAX)
                value = value * 10 + (m_text[p] - '0');
            ++p;
        }
        if (p == digits)
            return false;
        m_pos = p;
        if (value > INT_MAX)
            value = INT_MAX;
        out = negative ? -value : value;
        return true;
    }

    bool character(char& out)
    {
        if (m_pos >= m_text.size())
            return false;
        out = m_text[m_pos++];
        return true;
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

// "%s %s %d"
struct WordWordNumber {
    std::string first, second;
    long long n = 0;
    bool Read(std::string_view text)
    {
        Scanner s(text);
        return s.word(first) && s.word(second) && s.number(n);
    }
};

// "%s %d%c%d"
struct WordNumberCharNumber {
    std::string word;
    long long n1 = 0;
    char c = 0;
    long long n2 = 0;
    bool Read(std::string_view text)
    {
        Scanner s(text);
        return s.word(word) && s.number(n1) && s.character(c) && s.number(n2);
    }
};

// "%s %d"
struct WordNumber {
    std::string word;
    long long n = 0;
    bool Read(std::string_view text)
    {
        Scanner s(text);
        return s.word(word) && s.number(n);
    }
};

int compareNumbers(long long a, long long b) { return a < b ? -1 : a > b ? 1 : 0; }

int compareBytes(const std::string& a, const std::string& b)
{
    // Byte-wise as strcmp: unsigned, and a name ends at its first zero byte.
    const int c = std::strcmp(a.c_str(), b.c_str());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

int CSelectLabelDialog::CompareNames(const std::string& a, const std::string& b)
{
    {
        WordWordNumber x, y;
        if (x.Read(a) && y.Read(b) && x.first == y.first && x.second == y.second)
            return compareNumbers(x.n, y.n);
    }
    {
        WordNumberCharNumber x, y;
        if (x.Read(a) && y.Read(b) && x.word == y.word && x.n1 == y.n1) {
            if (x.c != y.c)
                return static_cast<unsigned char>(x.c) < static_cast<unsigned char>(y.c) ? -1 : 1;
            return compareNumbers(x.n2, y.n2);
        }
    }
    {
        WordNumber x, y;
        if (x.Read(a) && y.Read(b) && x.word == y.word)
            return compareNumbers(x.n, y.n);
    }
    return compareBytes(a, b);
}
