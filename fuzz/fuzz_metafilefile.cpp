// Fuzz target: .wmf files read from disk into a metafile holder, the way an
// image object loads the file it names (with or without the placeable
// header), then drawn into a small bitmap.
#include "content/images/imageholder.h"
#include "platform/dc.h"

#include "fuzz_support.h"
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const std::string& fileName()
{
    static QTemporaryDir dir;
    static const std::string name = dir.filePath("input.wmf").toStdString();
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureGuiApplication();
    {
        std::ofstream out(fileName(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        if (!out)
            std::abort();
    }
    CImageMetafile holder;
    QImage target(64, 48, QImage::Format_RGB32);
    target.fill(0xFFFFFFFFu);
    CDC dc(&target, 96, 96);
    holder.Draw(dc, fileName(), RECT{2, 3, 60, 40}, ImageSourceWindow{}, kImageCentre);
    if (holder.HasContent()) {
        if (holder.WidthUm() < 0 || holder.HeightUm() < 0)
            std::abort();
        holder.GetAspectPercent();
        holder.Draw(dc, "", RECT{0, 0, 63, 20}, ImageSourceWindow{}, kImageStretch);
        // What was read writes back as a record and reads again the same.
        RecordWriter writer;
        holder.Save(writer);
        RecordReader reader(writer.data());
        CImageMetafile back;
        if (!back.Load(reader) || back.Bits() != holder.Bits())
            std::abort();
    }
    return 0;
}
