// Fuzz target for the label definition readers: the .label file in both
// generations and the body embedded in template records (type key first).
// Whatever reads back must write and read again to the same bytes.
#include "document/label/labelfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void roundTrip(CLabelFileNew& label, const LabelReadOptions& options)
{
    if (const CPrinterSettings* settings = label.GetPrinterSettings())
        DecodeLinuxPrinterSettings(*settings);
    const std::string image = label.FileImage();
    std::unique_ptr<CLabelFileNew> again;
    if (label.GetTypeKey() == kKeyLabelFileNewArticleNo)
        again = std::make_unique<CLabelFileNewArticleNo>();
    else
        again = std::make_unique<CLabelFileNew>();
    check(again->LoadFromBytes(image, options));
    check(again->FileImage() == image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LabelReadOptions options;
    // Alternate between this system and a Windows one, so both the kept and
    // the accepted paths of stored printer settings run.
    if (size > 0 && (data[size - 1] & 1))
        options.running = {6, 1, kPlatformIdWin32NT};

    CLabelFileNew plain;
    if (plain.LoadFromBytes(bytes, options))
        roundTrip(plain, options);
    CLabelFileNewArticleNo article;
    if (article.LoadFromBytes(bytes, options))
        roundTrip(article, options);

    // Embedded: a type key, then the body with its path.
    RecordReader r(bytes);
    const int16_t key = r.i16();
    if (std::unique_ptr<CLabel> label = CreateLabelForTypeKey(key)) {
        if (label->Read(r, true, options)) {
            RecordWriter w;
            label->WriteTagged(w);
            RecordReader again(w.data());
            std::unique_ptr<CLabel> copy = CreateLabelForTypeKey(again.i16());
            check(copy && copy->Read(again, true, options) && again.atEnd());
            label->GetPaperWidthUm();
            label->GetPaperLengthUm();
            label->FitColumns();
            label->FitRows();
            label->SetOrientation(3 - label->GetOrientation());
        }
    }
    return 0;
}
