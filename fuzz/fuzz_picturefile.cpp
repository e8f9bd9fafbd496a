// Fuzz target: JPEG, BMP and PNG files read from disk into a packed-bitmap
// holder, the way an image object loads the file it names, decoded whole
// and decoded reduced for the box it is drawn into; BMP files also straight
// from memory, which must give the same picture. Any file must be
// refused cleanly or read and drawn without harm.
#include "content/images/imageholder.h"
#include "platform/dib.h"

#include "fuzz_support.h"
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Pictures larger than this are not decoded, to keep each run quick; the
// size limits themselves are tested elsewhere.
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 22;

const std::string& fileName()
{
    static QTemporaryDir dir;
    static const std::string name = dir.filePath("input.png").toStdString();
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
    // Each input is a new file, whatever its size and time say.
    dib::ForgetPictureFiles();
    dib::FileInfo info;
    if (dib::ReadFileInfo(QString::fromStdString(fileName()), info) &&
        int64_t(info.width) * info.height > kMaxFuzzPixels)
        return 0;

    // The box the picture is drawn into depends on the input's length.
    const int boxW = 1 + int(size % 47);
    const int boxH = 1 + int((size / 47) % 31);
    QImage target(48, 32, QImage::Format_RGB32);
    target.fill(0xFFFFFFFFu);
    CDC dc(&target, 96, 96);
    const RECT box{0, 0, boxW - 1, boxH - 1};

    CImageBitmapNew whole;
    whole.Draw(dc, fileName(), box, ImageSourceWindow{}, kImageCentre);
    CImageBitmapNew reduced;
    reduced.SetReducedDecoding(true);
    reduced.Draw(dc, fileName(), box, ImageSourceWindow{10, 5, 95, 90}, kImageStretch);
    if (whole.HasContent() != reduced.HasContent())
        std::abort();
    if (whole.HasContent()) {
        // Both report the file's size; the reduced one is never larger.
        if (whole.Width() != reduced.Width() || whole.Height() != reduced.Height())
            std::abort();
        const dib::DibSize full = dib::HeaderSize(whole.Packed());
        const dib::DibSize small = dib::HeaderSize(reduced.Packed());
        if (small.width > full.width || small.height > full.height)
            std::abort();
        // Drawn larger, the reduced one is decoded again.
        reduced.Draw(dc, fileName(), RECT{0, 0, 47, 31}, ImageSourceWindow{}, kImageCentre);
        reduced.GetAspectPercent();
        RecordWriter writer;
        reduced.Save(writer);
        reduced.Rotate(1);
    }
    if (info.format == "BMP") {
        const std::string_view bytes(reinterpret_cast<const char*>(data), size);
        const std::string fromMemory = dib::DecodeBmpFile(bytes);
        if (fromMemory != whole.Packed())
            std::abort();
        dib::DecodeBmpFile(bytes, QSize(boxW, boxH));
    }
    return 0;
}
