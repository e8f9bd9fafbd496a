// Fuzz target: the compound-file reader. Any input must be refused or read
// without harm; a stream never comes out larger than the input.
#include "platform/compoundfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CCompoundFile file;
    if (!file.Open(bytes))
        return 0;
    std::string out;
    for (const char* name : {"Workbook", "Book", "\x05SummaryInformation", "Root Entry", ""}) {
        if (file.ReadStream(QString::fromLatin1(name), out) && out.size() > size)
            std::abort();
    }
    return 0;
}
