// Fuzz target: packed and split bitmaps and the image records that carry
// them. The first byte chooses the reader; any input must be refused
// cleanly or read, drawn, turned and written back without harm.
#include "content/images/graphimage.h"
#include "content/images/imageholder.h"
#include "platform/dib.h"

#include "fuzz_support.h"
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace {

void drawObject(CGraphObject& o)
{
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    CDC dc(&image, 96, 96);
    DrawArgs args;
    args.dc = &dc;
    args.labelNumber = 1;
    args.frame = true;
    o.Draw(args);
}

void packed(std::string_view bytes)
{
    const dib::DibLayout layout = dib::ParsePacked(bytes);
    const QImage image = dib::PackedToImage(bytes);
    // A valid header with a JPEG or PNG file as its bits may still not
    // decode; everything else decodes exactly when its layout is valid and
    // it is worth decoding whole.
    const bool whole = layout.valid && dib::CanDecodePacked(bytes);
    if (whole != !image.isNull() && !(whole && layout.Embedded()))
        std::abort();
    dib::HeaderSize(bytes);
    if (!image.isNull() && int64_t(layout.width) * layout.height <= 4096) {
        std::string turned(bytes);
        if (!dib::RotatePacked90(turned, true))
            std::abort();
        const QImage once = dib::PackedToImage(turned);
        if (once.width() != image.height() || once.height() != image.width())
            std::abort();
    }
    if (!image.isNull() && int64_t(layout.width) * layout.height <= 4096) {
        QImage target(40, 40, QImage::Format_RGB32);
        target.fill(0xFFFFFFFFu);
        CDC dc(&target, 96, 96);
        DrawBitmapIntoBox(dc, image, RECT{-5, 3, 30, 20}, ImageSourceWindow{10, 5, 95, 90}, kImageCentre);
    }
}

// Two bytes (little-endian) give the length of the header block, whatever
// the header's own size field says, so that colour tables and separate
// bit-field masks after the header are reached; the rest are the bits.
void split(std::string_view bytes)
{
    if (bytes.size() < 2)
        return;
    const size_t chosen = size_t(uint8_t(bytes[0])) | (size_t(uint8_t(bytes[1])) << 8);
    const std::string_view rest = bytes.substr(2);
    const size_t headerLength = chosen % (rest.size() + 1);
    const std::string_view header = rest.substr(0, headerLength);
    const std::string_view bits = rest.substr(headerLength);
    const dib::DibLayout layout = dib::ParseSplit(header, bits.size());
    const QImage image = dib::SplitToImage(header, bits);
    const bool whole = layout.valid && dib::CanDecodeSplit(header, bits);
    if (whole != !image.isNull() && !(whole && layout.Embedded()))
        std::abort();
    if (!image.isNull() && (image.width() != layout.width || image.height() != layout.height))
        std::abort();
}

template <class T>
void record(std::string_view bytes)
{
    RecordReader reader(bytes.data(), bytes.size());
    T object;
    const bool ok = object.Load(reader);
    RecordWriter writer;
    object.Save(writer);
    if (ok) {
        // What was read whole writes back and reads again to the same bytes.
        T back;
        RecordReader again(writer.data());
        if (!back.Load(again) || !again.atEnd())
            std::abort();
        RecordWriter second;
        back.Save(second);
        if (second.data() != writer.data())
            std::abort();
    }
    if constexpr (std::is_base_of_v<CGraphObject, T>) {
        // Keep drawing cheap: only small pictures are drawn.
        if (bytes.size() < 20000)
            drawObject(object);
        object.GetAspectPercent();
        object.Rotate90(0, 0, 1);
        object.ResetToNaturalSize();
        auto copy = object.Clone();
    } else {
        object.GetAspectPercent();
        if (bytes.size() < 20000) {
            QImage target(24, 24, QImage::Format_RGB32);
            CDC dc(&target, 96, 96);
            object.Draw(dc, "", RECT{0, 0, 23, 23}, ImageSourceWindow{}, kImageStretch);
            object.Rotate(1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureGuiApplication();
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 6) {
    case 0: packed(bytes); break;
    case 1: split(bytes); break;
    case 2: record<CImageBitmapNew>(bytes); break;
    case 3: record<CImageBitmap>(bytes); break;
    case 4: record<CGraphImageExtExt>(bytes); break;
    default: {
        CGraphImageExtExt pasted;
        pasted.InitFromClipboard(CGraphImageExtExt::kClipboardDib, bytes);
        if (bytes.size() < 20000)
            drawObject(pasted);
        break;
    }
    }
    return 0;
}
