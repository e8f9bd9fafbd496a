// Fuzz target: the metafile player and the metafile records. Any input
// must play without harm into a small bitmap and a mirrored viewport, and
// a metafile record that reads whole must write back unchanged.
#include "content/images/imageholder.h"
#include "platform/dc.h"
#include "platform/wmf.h"

#include "fuzz_support.h"
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureGuiApplication();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    wmf::WmfFile file;
    if (wmf::SplitFile(bytes, file)) {
        int32_t w = 0, h = 0;
        wmf::PlaceableSizeUm(file.header, w, h);
        if (w < 0 || h < 0)
            std::abort();
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(0xFFFFFFFFu);
        CDC dc(&image, 96, 96);
        wmf::Play(dc, file.bits, POINT{2, 3}, SIZE{60, 40});
        wmf::Play(dc, file.bits, POINT{60, 40}, SIZE{-50, -30}, SIZE{1, 1});
        if (dc.GetClipRect().has_value())
            std::abort();
        DrawMetafileIntoBox(dc, file.bits, w, h, RECT{0, 0, 63, 20}, kImageCentre);
    }

    RecordReader reader(bytes);
    CImageMetafile holder;
    if (holder.Load(reader)) {
        RecordWriter writer;
        holder.Save(writer);
        if (writer.data() != bytes.substr(0, reader.position()))
            std::abort();
    }
    return 0;
}
