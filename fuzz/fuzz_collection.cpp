// Fuzz target for the collection record reader: any input must load
// without a crash, hang or unbounded allocation; what loads must save and
// load back to the very same bytes, and must draw and answer point queries.
#include "content/contenttypes.h"
#include "content/objects/collection.h"
#include "fuzz_support.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureGuiApplication();
    RegisterContentTypes();
    CGraphCollection collection;
    RecordReader reader(data, size);
    const bool complete = collection.Load(reader);
    if (complete != reader.ok())
        std::abort();

    RecordWriter writer;
    collection.Save(writer);
    if (!writer.ok())
        std::abort();
    const std::string first = writer.take();
    CGraphCollection again;
    RecordReader reread(first);
    if (!again.Load(reread) || !reread.atEnd() || again.GetCount() != collection.GetCount())
        std::abort();
    RecordWriter second;
    again.Save(second);
    if (second.data() != first)
        std::abort();

    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    CDC dc(&image);
    DrawArgs args;
    args.dc = &dc;
    args.offsetX = 3;
    args.offsetY = -2;
    collection.Draw(args);
    collection.DrawBand(0, 20000, args);
    for (const auto& object : collection.Objects())
        object->SetSelected(true);
    collection.ObjectAt(dc, 100, 10, 10);
    collection.HitTestHandle(dc, 100, 20, 20);
    collection.RecalcBox();
    collection.CalcDeviceRect(dc, 100, 0, 0);
    return 0;
}
