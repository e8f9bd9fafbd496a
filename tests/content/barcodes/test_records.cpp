// Symbology records: byte-exact against a writer written here field by
// field, every truncation refused, settings kept through Clone and setters.
#include "content/barcodes/barcode.h"
#include "content/barcodes/qrcode.h"
#include "support/bytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testsupport::Bytes;

// The fields every modular symbology starts with.
Bytes modular(unsigned quiet, unsigned show, int gap, int32_t height, int32_t module)
{
    return Bytes().u8(quiet).u8(show).i16(gap).i32(height).i32(module);
}

std::string Saved(const CBarcode& b)
{
    RecordWriter w;
    b.Save(w);
    return w.take();
}

struct Expected {
    int16_t key;
    std::string defaults; // the record of a new symbology
    std::function<void(CBarcode&)> change;
    std::string changed;  // the record after `change`
};

std::vector<Expected> Records()
{
    std::vector<Expected> v;
    v.push_back({kKeyCode39, modular(1, 1, 1, 10000, 300).i16(25).u8(0).i16(100).u8(0).s,
                 [](CBarcode& b) {
                     b.SetRatio(30);
                     b.SetCheckDigit(true);
                     b.SetShowCheckDigit(true);
                     b.SetGapCorrection(-1);
                     b.SetModule(254);
                 },
                 modular(1, 1, -1, 10000, 254).i16(30).u8(1).i16(100).u8(1).s});
    v.push_back({kKeyCode2of5Int, modular(1, 1, 1, 10000, 300).i16(25).u8(0).u8(0).i32(2).u8(1).s,
                 [](CBarcode& b) {
                     b.SetRatio(20);
                     b.SetCheckDigit(true);
                     b.SetShowCheckDigit(false);
                     b.SetShowText(false);
                 },
                 modular(1, 0, 1, 10000, 300).i16(20).u8(1).u8(0).i32(2).u8(0).s});
    for (int16_t key : {kKeyEAN13, kKeyUPCA})
        v.push_back({key, modular(1, 1, 1, 22850, 330).i16(0).s,
                     [](CBarcode& b) {
                         b.SetTruncation(35);
                         b.SetBarHeight(123456);
                     },
                     modular(1, 1, 1, 123456, 330).i16(35).s});
    v.push_back({kKeyEAN8, modular(1, 1, 1, 22850, 330).s,
                 [](CBarcode& b) { b.SetModule(400); }, modular(1, 1, 1, 22850, 400).s});
    for (int16_t key : {kKeyCode128, kKeyEAN128})
        v.push_back({key, modular(1, 1, 1, 10000, 300).i32(0).s,
                     [](CBarcode& b) { b.SetGapCorrection(2); }, modular(1, 1, 2, 10000, 300).i32(0).s});
    v.push_back({kKeyQRCode,
                 modular(1, 1, 1, 10000, 150).i32(0).i32(1).i32(0).i32(2).i32(1).i32(4).i32(2).u8(1).s,
                 [](CBarcode& b) {
                     b.SetQRVersion(7);
                     b.SetQRLevel('Q');
                     b.SetQREncodingName("KANJI");
                     b.SetQRMargin(0);
                     b.SetCentred(false);
                 },
                 modular(1, 1, 1, 10000, 150).i32(0).i32(7).i32(2).i32(3).i32(1).i32(0).i32(2).u8(0).s});
    return v;
}

} // namespace

TEST(Records, ByteExactDefaultsAndChanges)
{
    for (const Expected& e : Records()) {
        auto b = CreateBarcode(e.key);
        ASSERT_TRUE(b) << e.key;
        EXPECT_EQ(b->GetTypeKey(), e.key);
        EXPECT_EQ(Saved(*b), e.defaults) << e.key;
        e.change(*b);
        EXPECT_EQ(Saved(*b), e.changed) << e.key;
        EXPECT_EQ(Saved(*b->Clone()), e.changed) << e.key;

        RecordReader r(e.changed);
        auto loaded = ReadBarcode(r, e.key);
        ASSERT_TRUE(loaded) << e.key;
        EXPECT_TRUE(r.ok() && r.atEnd()) << e.key;
        EXPECT_EQ(Saved(*loaded), e.changed) << e.key;
    }
}

TEST(Records, ReservedFieldsAreSkippedAndRewrittenAsZero)
{
    // Code 128 and QR code skip their reserved int32 and write 0.
    std::string c128 = modular(0, 1, 0, 5000, 250).i32(77).s;
    RecordReader r(c128);
    auto b = ReadBarcode(r, kKeyCode128);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetModule(), 250);
    EXPECT_EQ(Saved(*b), modular(0, 1, 0, 5000, 250).i32(0).s);
}

TEST(Records, EveryTruncationIsRefused)
{
    for (const Expected& e : Records()) {
        for (size_t cut = 0; cut < e.changed.size(); ++cut) {
            RecordReader r(e.changed.data(), cut);
            EXPECT_FALSE(ReadBarcode(r, e.key)) << e.key << " cut at " << cut;
            EXPECT_EQ(r.status(), ReadStatus::Truncated);
        }
    }
}

TEST(Records, UnknownKeyIsDamaged)
{
    const std::string bytes(40, '\1');
    for (int16_t key : {int16_t(0), int16_t(400), int16_t(409), int16_t(-401)}) {
        RecordReader r(bytes);
        EXPECT_FALSE(ReadBarcode(r, key));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
    }
}

TEST(Symbologies, NamesAndCapabilities)
{
    const char* names[] = {"Code 39", "2/5 Interleaved", "EAN 13", "UPCA", "EAN 8", "Code 128", "EAN 128"};
    int16_t key = kKeyCode39;
    for (const char* name : names) {
        auto b = CreateBarcode(key++);
        EXPECT_EQ(b->GetName(), name);
        EXPECT_TRUE(b->EditsTextInPlace() && b->ShowsPlaceholder() && b->HasFont() && b->HasHeight());
        EXPECT_TRUE(b->HasGapCorrection() && b->HasShowText());
        EXPECT_FALSE(b->Is2D() || b->HasQRVersion() || b->HasQRLevel() || b->HasQREncoding() || b->HasQRMargin());
        EXPECT_EQ(b->IsEAN(), b->GetModuleChoiceKinds() == 2);
        EXPECT_EQ(b->IsEAN(), b->GetTruncation() >= 0);
    }
    CBarcodeQRCode qr;
    EXPECT_EQ(qr.GetName(), "QR Code\xAE");
    EXPECT_TRUE(qr.Is2D() && qr.HasQRVersion() && qr.HasQRLevel() && qr.HasQREncoding() && qr.HasQRMargin());
    EXPECT_FALSE(qr.EditsTextInPlace() || qr.ShowsPlaceholder() || qr.HasFont() || qr.HasHeight() ||
                 qr.HasGapCorrection() || qr.HasShowText());
    EXPECT_EQ(CreateBarcodeByName("code 128")->GetTypeKey(), kKeyCode128);
    EXPECT_EQ(CreateBarcodeByName("qr code\xAE")->GetTypeKey(), kKeyQRCode);
    EXPECT_EQ(CreateBarcodeByName("ean 8")->GetTypeKey(), kKeyEAN8);
    EXPECT_FALSE(CreateBarcodeByName("Code 93"));

    CBarcodeCode39 c39;
    EXPECT_FALSE(c39.HasShowCheckDigit());
    c39.SetCheckDigit(true);
    EXPECT_TRUE(c39.HasShowCheckDigit());
    c39.SetShowText(false);
    EXPECT_FALSE(c39.HasShowCheckDigit());
    EXPECT_TRUE(CBarcodeCode2of5Int().HasShowCheckDigit());
    EXPECT_TRUE(CBarcodeEAN128().UsesFNC1());
    EXPECT_FALSE(CBarcodeCode128().UsesFNC1());
}

TEST(Symbologies, SettersIgnoreValuesOutOfRange)
{
    CBarcodeCode39 c39;
    c39.SetRatio(19);
    c39.SetRatio(31);
    EXPECT_EQ(c39.GetRatio(), 25);
    c39.SetRatio(20);
    EXPECT_EQ(c39.GetRatio(), 20);
    c39.SetModule(-1);
    c39.SetBarHeight(-5);
    EXPECT_EQ(c39.GetModule(), 300);
    EXPECT_EQ(c39.GetBarHeight(), 10000);
    EXPECT_EQ(CBarcodeCode128().GetRatio(), -1);

    CBarcodeQRCode qr;
    for (char c : {'X', 'l', '\0'})
        qr.SetQRLevel(c);
    EXPECT_EQ(qr.GetQRLevel(), 'L');
    qr.SetQRLevel('H');
    EXPECT_EQ(qr.GetQRLevel(), 'H');
    qr.SetQREncodingName("UTF-8");
    EXPECT_EQ(qr.GetQREncodingName(), "8-bit data");
    qr.SetQREncodingName("kanji");
    EXPECT_EQ(qr.GetQREncodingName(), "Kanji");
    qr.SetQREncodingName("8-BIT DATA");
    EXPECT_EQ(qr.GetEncoding(), 2);
    bool centred = false;
    EXPECT_TRUE(qr.GetCentring(centred) && centred);
}
