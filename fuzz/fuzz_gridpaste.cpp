// Fuzz target: the paste text parser of the grid and the text conversions
// at the clipboard boundary. The first byte picks the code page and the
// second the cell limit; the rest is the pasted text. Every field must
// respect the limits and carry no separator or leading blank (a cut may end on one), and text
// coming in from an editor must have CR LF line ends only.
#include "platform/modeltext.h"
#include "platform/pastetext.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static const int pages[] = {1252, 932, 936, 949, 950, 1361, 1251, 42};
    pastetext::Limits limits;
    limits.codePage = pages[data[0] % 8];
    limits.maxFieldBytes = data[1] % 64;
    limits.maxFields = 1 + data[0] / 8 % 30;
    limits.maxLines = 1 + data[1] / 2;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    int lastLine = -1;
    int lastColumn = -1;
    const pastetext::Extent extent =
        pastetext::Visit(text, limits, [&](int line, int column, const std::string& field) {
            if (line < 0 || line >= limits.maxLines || column < 0 || column >= limits.maxFields)
                std::abort();
            if (line == lastLine ? column != lastColumn + 1 : (line != lastLine + 1 || column != 0))
                std::abort();
            lastLine = line;
            lastColumn = column;
            if (field.size() > limits.maxFieldBytes)
                std::abort();
            for (const char c : field)
                if (c == '\t' || c == '\n' || c == '\0')
                    std::abort();
            if (!field.empty() && isBlank(field.front()))
                std::abort();
        });
    if (extent.lines != lastLine + 1 || extent.maxFields > limits.maxFields)
        std::abort();

    const std::string in = modeltext::FromEditor(modeltext::ToEditor(text, limits.codePage), limits.codePage);
    for (size_t i = 0; i < in.size(); ++i)
        if ((in[i] == '\n' && (i == 0 || in[i - 1] != '\r')) || (in[i] == '\r' && (i + 1 == in.size() || in[i + 1] != '\n')))
            std::abort();
    return 0;
}
