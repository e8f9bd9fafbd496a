#include "platform/modeltext.h"

#include "platform/codepage.h"

namespace modeltext {

std::string FromEditor(const QString& text, int codePage)
{
    QString normalised;
    normalised.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            normalised += QStringLiteral("\r\n");
        } else if (c == u'\n') {
            normalised += QStringLiteral("\r\n");
        } else {
            normalised += c;
        }
    }
    return codepage::FromUnicode(normalised, codePage);
}

QString ToEditor(std::string_view bytes, int codePage)
{
    QString text = codepage::ToUnicode(bytes, codePage);
    if (codePage == codepage::kSymbol) {
        // Symbol fonts have no glyphs for control bytes: line ends and tabs
        // stay what they are.
        for (QChar& c : text)
            if (c.unicode() >= 0xF000 && c.unicode() < 0xF020)
                c = QChar(char16_t(c.unicode() - 0xF000));
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool CanEncode(const QString& text, int codePage)
{
    return codepage::ToUnicode(codepage::FromUnicode(text, codePage), codePage) == text;
}

bool IsLeadByte(unsigned char byte, int codePage)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) || (byte >= 0xE0 && byte <= 0xF9);
    default:
        return false;
    }
}

size_t CharacterBoundary(std::string_view bytes, size_t limit, int codePage)
{
    if (bytes.size() <= limit)
        return bytes.size();
    size_t pos = 0;
    while (pos < limit) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(bytes[pos]), codePage) ? 2 : 1;
        if (pos + step > limit)
            break;
        pos += step;
    }
    return pos;
}

void CutToLimit(std::string& bytes, size_t limit, int codePage)
{
    bytes.resize(CharacterBoundary(bytes, limit, codePage));
}

} // namespace modeltext
