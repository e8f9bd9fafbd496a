// Fuzz target for the module-marking job stream: any input must be refused
// cleanly or read into a job that writes back what it read, and every
// operation, lookup and drawing on the job read must be safe.
#include "document/modulemarking/modulemarkingjob.h"

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void exercise(CModuleMarkingJob& job, RecordReader& script)
{
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    CDC dc(&image, 96, 96);
    for (int step = 0; step < 64 && !script.atEnd(); ++step) {
        CModuleMarkingRow& row = job.GetCurrentRow();
        const uint8_t op = script.u8();
        const int32_t arg = script.i32();
        switch (op % 16) {
        case 0: row.AddModules(arg & 1); break;
        case 1: row.InsertModules(arg & 1); break;
        case 2: row.DeleteCurrent(); break;
        case 3: row.JoinWithNext(); break;
        case 4: row.SplitCurrent(); break;
        case 5: row.ApplyPresets(); break;
        case 6: job.SetCurrentModuleWidth(arg); break;
        case 7: job.ToggleFixedLength(); break;
        case 8: row.SetModulesToAdd(arg); break;
        case 9: row.SetCurrentIndex(arg); break;
        case 10: job.SetUsePreset(arg & 1); break;
        case 11: row.SetAllGaps(arg); break;
        case 12: row.HitTest(dc, (arg & 0xFFF) + 1, arg, POINT{arg >> 8, arg >> 20}); break;
        case 13:
            row.DrawGuides(dc, (arg & 0xFFF) + 1, arg);
            row.DrawCurrentModule(dc, (arg & 0xFFF) + 1, arg, true, true, 0);
            break;
        case 14: row.DrawSelection(dc, arg & 0xFFFF, POINT{arg >> 20, arg >> 16}, arg & 0x7F, arg); break;
        default:
            (void)job.GetRowOfMarker(arg);
            (void)job.LocateMarker(arg);
            (void)job.FitsMaterial();
            (void)job.HasRoomForModules(arg);
            (void)job.GetRightMargin();
            (void)row.GetTotalLength();
            (void)row.GetMarkerCount();
            (void)row.GetModulePosition(arg & 0x7F);
            break;
        }
        const int count = row.GetModuleCount();
        if (count < 1 || count > modulemarking::kModuleSlots || row.GetCurrentIndex() < 0
            || row.GetCurrentIndex() >= count || job.GetRowCount() != 1)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RecordReader in(data, size);
    CModuleMarkingJob job;
    if (!job.Read(in))
        return 0;

    RecordWriter out;
    job.Write(out);
    const std::string first = out.take();
    CModuleMarkingJob again;
    RecordReader back(first);
    if (!again.Read(back) || !back.atEnd())
        std::abort();
    RecordWriter out2;
    again.Write(out2);
    if (out2.data() != first)
        std::abort();

    RecordReader script(data + in.position(), size - in.position());
    exercise(job, script);
    return 0;
}
