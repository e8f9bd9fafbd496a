// Fuzz target for the template record (inside projects and ".tpe" files).
// Whatever reads back must write and read again to the same bytes, and the
// template's operations must cope with whatever was read; a record read
// all or nothing that fails leaves the template as it was.
#include "document/template/template.h"
#include "fuzz_support.h"

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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        // All or nothing: a record not read whole leaves the template as it was.
        CTemplate whole;
        whole.SetRepeat(7);
        RecordWriter before;
        check(whole.Write(before, true));
        RecordReader r(bytes);
        if (!whole.ReadWhole(r)) {
            RecordWriter after;
            check(whole.Write(after, true) && after.data() == before.data());
        }
    }
    CTemplate t;
    RecordReader r(bytes);
    if (!t.Read(r))
        return 0;
    for (bool inProject : {true, false}) {
        RecordWriter w;
        if (!t.Write(w, inProject))
            continue;
        CTemplate again;
        RecordReader back(w.data());
        check(again.Read(back) && back.atEnd());
        RecordWriter w2;
        check(again.Write(w2, inProject) && w2.data() == w.data());
    }
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    for (int area = 0; area < 3; ++area) {
        t.GetHelpLines().Draw(dc, area, 100, t.GetLabel());
        t.SaveUndoState(area, true);
    }
    t.RefreshLayers();
    t.GetCurrentModuleLength();
    t.ApplyJobRowToLabel();
    t.ToggleModuleMarking();
    CTemplate copy;
    copy.CopyFrom(t);
    t.FreeHistory();
    return 0;
}
