// Fuzz target for the symbology records: reads a record after a type key,
// writes it back and reads that again (the bytes must not change), then
// measures and draws the loaded symbology so that whatever settings a file
// holds are exercised by the encoders and the drawing.
//
// Input: byte 0 selects the key (401 + byte % 9, so 409 is an unknown key),
// byte 1 the rotation and the text length; the record follows, and the
// bytes after the record are the text.
#include "content/barcodes/barcode.h"

#include "fuzz_support.h"
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    EnsureGuiApplication();
    const int16_t key = int16_t(401 + data[0] % 9);
    const int rotation = (data[1] & 3) * 900;
    const size_t textMax = data[1] >> 2;

    RecordReader reader(data + 2, size - 2);
    std::unique_ptr<CBarcode> b = ReadBarcode(reader, key);
    if (!b)
        return 0;
    RecordWriter w1;
    b->Save(w1);
    RecordReader again(w1.data());
    std::unique_ptr<CBarcode> b2 = ReadBarcode(again, key);
    if (!b2 || !again.atEnd())
        std::abort();
    RecordWriter w2;
    b2->Save(w2);
    if (w1.data() != w2.data())
        std::abort();

    const size_t used = 2 + reader.position();
    std::string text(reinterpret_cast<const char*>(data + used), std::min(size - used, textMax));

    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    CDC dc(&img, 300, 300);
    BarcodeHost host;
    host.rotation = rotation;
    host.deviceRect = RECT{2, 2, 46, 46};
    host.widthUm = 3700;
    host.heightUm = 3700;
    SetFaceName(host.deviceFont, "Liberation Sans");
    host.deviceFont.lfHeight = -8;
    host.font.lfHeight = int32_t(0x80000000u); // the most negative height
    host.context.labelNumber = 1;
    b->Draw(host, dc, 300, 300, 24, 24, text);
    host.context.labelNumber = 0;
    b->Draw(host, dc, 300, 300, 24, 24, text);
    (void)b->GetWidth(text, 300);
    (void)b->GetWidth(text, 0);
    (void)b->CanEncode(text);
    (void)b->GetHeight(host, text, 300);
    (void)b->GetHeight(host, text, 0);
    return 0;
}
