// Fuzz target for the project file. Whatever reads back whole must write,
// read and write again to the same bytes; a document left by a failed read
// must still be written or refused cleanly.
#include "document/project/projectdoc.h"
#include "fuzz_support.h"
#include "platform/record.h"
#include "platform/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureGuiApplication();
    static const bool once = [] {
        settings::SetStoreFolder(QStringLiteral("/nonexistent/vsl-fuzz-settings"));
        return true;
    }();
    (void)once;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CVorteplanSoftLabelDoc doc;
    RecordReader r(bytes);
    const ProjectReadStatus status = doc.ReadProject(r);
    RecordWriter w;
    const bool written = doc.WriteProject(w);
    if (status != ProjectReadStatus::Ok || !written)
        return 0;
    CVorteplanSoftLabelDoc again;
    RecordReader back(w.data());
    check(again.ReadProject(back) == ProjectReadStatus::Ok && back.atEnd());
    RecordWriter w2;
    check(again.WriteProject(w2) && w2.data() == w.data());
    return 0;
}
