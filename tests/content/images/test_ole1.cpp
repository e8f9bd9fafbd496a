// Legacy OLE 1 items: the OLE 1.0 object stream is built here from its
// published layout, read to its exact end, kept and written back byte for
// byte; damaged streams are reported; drawing shows the frame and hands the
// stored picture to the painter.
#include "content/objects/collection.h"
#include "content/images/ole1.h"
#include "support/test_support.h"
#include "content/objects/test_collection_bytes.h"

#include <gtest/gtest.h>

using recbytes::Bytes;

namespace {

constexpr int kOleVersion = 0x0501;

// A length-prefixed text whose length counts its terminating NUL; an empty
// text is stored as length 0.
Bytes ansi(const std::string& s)
{
    Bytes b;
    if (s.empty())
        return b.i32(0);
    b.i32(int64_t(s.size()) + 1);
    b.s += s;
    b.s.push_back('\0');
    return b;
}

Bytes raw(const std::string& s)
{
    Bytes b;
    b.s = s;
    return b;
}

Bytes noPicture()
{
    return Bytes().i32(kOleVersion).i32(0);
}

Bytes metafilePicture(int w, int h, const std::string& metafile)
{
    Bytes b = Bytes().i32(kOleVersion).i32(5).add(ansi("METAFILEPICT")).i32(w).i32(h);
    b.i32(int64_t(metafile.size()) + 8);
    b.i16(8).i16(w).i16(h).i16(0); // mapping mode and extents, not part of the metafile
    return b.add(raw(metafile));
}

Bytes dibPicture(int w, int h, const std::string& dib)
{
    return Bytes().i32(kOleVersion).i32(5).add(ansi("DIB")).i32(w).i32(h).i32(int64_t(dib.size())).add(raw(dib));
}

Bytes clipboardPicture(int format, const std::string& data)
{
    return Bytes().i32(kOleVersion).i32(5).add(ansi("Text")).i32(format).i32(int64_t(data.size())).add(raw(data));
}

Bytes registeredPicture(const std::string& name, const std::string& data)
{
    const Bytes nameBytes = ansi(name);
    return Bytes()
        .i32(kOleVersion)
        .i32(5)
        .add(ansi("Rich"))
        .i32(0)
        .i32(int64_t(nameBytes.s.size()))
        .add(nameBytes)
        .i32(int64_t(data.size()))
        .add(raw(data));
}

Bytes embedded(const std::string& cls, const std::string& native, const Bytes& picture)
{
    return Bytes()
        .i32(kOleVersion)
        .i32(2)
        .add(ansi(cls))
        .add(ansi(""))
        .add(ansi("item 1"))
        .i32(int64_t(native.size()))
        .add(raw(native))
        .add(picture);
}

Bytes linked(const std::string& cls, const std::string& topic, const Bytes& picture)
{
    return Bytes()
        .i32(kOleVersion)
        .i32(1)
        .add(ansi(cls))
        .add(ansi(topic))
        .add(ansi("A1:B2"))
        .add(ansi("\\\\server\\share\\book.xls"))
        .i32(0)
        .i32(1)
        .add(picture);
}

// A collection record: the OLE 1 item, then a rectangle that must be read
// right after the item's last byte.
Bytes recordWith(const Bytes& stream)
{
    Bytes b = recbytes::collectionHeader(2);
    b.i16(999).i32(1000).i32(2000).i32(30000).i32(20000).add(stream);
    b.i16(151).add(recbytes::rectFields(7, 8, 9, 10, 11, 12, 13, 1));
    return b;
}

std::string saved(const CGraphCollection& c)
{
    RecordWriter w;
    c.Save(w);
    return w.take();
}

const CGraphOLE1* loadItem(CGraphCollection& c, const Bytes& record)
{
    RecordReader r(record.s);
    EXPECT_TRUE(c.Load(r));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(c.GetCount(), 2u);
    if (c.GetCount() == 2u) {
        EXPECT_EQ(c.GetAt(1)->GetLeft(), 7);
    }
    return dynamic_cast<const CGraphOLE1*>(c.GetAt(0));
}

std::string binary(size_t n, int seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = char((i * 37 + size_t(seed)) & 0xFF);
    return s;
}

} // namespace

TEST(Ole1, EmbeddedItemIsReadToItsEndAndWrittenBackUnchanged)
{
    const std::string native = binary(300, 1);
    const std::string metafile = binary(120, 2);
    const Bytes record = recordWith(embedded("PBrush", native, metafilePicture(2540, 1270, metafile)));

    CGraphCollection c;
    const CGraphOLE1* item = loadItem(c, record);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetTypeKey(), 999);
    EXPECT_EQ(item->GetLeft(), 1000);
    EXPECT_EQ(item->GetBottom(), 22000);
    EXPECT_EQ(item->StreamFormat(), CGraphOLE1::kEmbedded);
    EXPECT_EQ(item->ClassName(), "PBrush");
    EXPECT_EQ(item->ItemName(), "item 1");
    EXPECT_EQ(item->NativeData(), native);
    EXPECT_EQ(item->Presentation().kind, COle1Presentation::kMetafile);
    EXPECT_EQ(item->Presentation().width, 2540);
    EXPECT_EQ(item->Presentation().height, 1270);
    EXPECT_EQ(item->Presentation().data, metafile);

    EXPECT_EQ(saved(c), record.s);
    auto copy = item->Clone();
    CGraphCollection copies;
    copies.AddTail(std::move(copy));
    c.RemoveAll(); // the copy must not lean on the original's bytes
    const auto* cloned = dynamic_cast<const CGraphOLE1*>(copies.GetAt(0));
    ASSERT_NE(cloned, nullptr);
    EXPECT_EQ(cloned->Presentation().data, metafile);
    EXPECT_EQ(cloned->NativeData(), native);
    EXPECT_FALSE(copies.GetAt(0)->EditContent());
}

TEST(Ole1, EveryStreamFormReadsAndWritesBack)
{
    struct Case {
        const char* name;
        Bytes stream;
        COle1Presentation::Kind kind;
        std::string data;
    };
    const std::string dib = binary(64, 3);
    const std::string text = "hello";
    const std::string rtf = binary(40, 4);
    const Case cases[] = {
        {"linked with a DIB", linked("ExcelWorksheet", "C:\\book.xls", dibPicture(16, 8, dib)),
         COle1Presentation::kDib, dib},
        {"embedded without picture", embedded("Package", binary(10, 5), noPicture()), COle1Presentation::kNone, ""},
        {"standard clipboard format", embedded("Note", "", clipboardPicture(1, text)),
         COle1Presentation::kClipboard, text},
        {"registered clipboard format", embedded("Word", binary(3, 6), registeredPicture("Rich Text Format", rtf)),
         COle1Presentation::kRegistered, rtf},
        {"static picture",
         Bytes().i32(kOleVersion).i32(3).add(ansi("DIB")).i32(4).i32(4).i32(int64_t(dib.size())).add(raw(dib)),
         COle1Presentation::kDib, dib},
        {"empty metafile", embedded("Draw", "", metafilePicture(1, 1, "")), COle1Presentation::kMetafile, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Bytes record = recordWith(k.stream);
        CGraphCollection c;
        const CGraphOLE1* item = loadItem(c, record);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Presentation().kind, k.kind);
        EXPECT_EQ(item->Presentation().data, k.data);
        EXPECT_EQ(item->StreamBytes(), k.stream.s);
        EXPECT_EQ(saved(c), record.s);
    }
    CGraphCollection c;
    const CGraphOLE1* item = loadItem(c, recordWith(linked("ExcelWorksheet", "C:\\book.xls", noPicture())));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->TopicName(), "C:\\book.xls");
    EXPECT_EQ(item->StreamFormat(), CGraphOLE1::kLinked);
}

TEST(Ole1, DamagedStreamsAreReportedNeverGuessed)
{
    const Bytes good = recordWith(embedded("PBrush", binary(50, 7), metafilePicture(10, 10, binary(30, 8))));
    // Cut anywhere inside the item: truncated, and the item is not kept.
    const size_t itemEnd = good.s.size() - 31; // the rectangle's key and record follow
    for (size_t cut = 8; cut < itemEnd; ++cut) {
        const std::string part = good.s.substr(0, cut);
        CGraphCollection c;
        RecordReader r(part);
        EXPECT_FALSE(c.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Truncated) << cut;
        EXPECT_TRUE(c.IsEmpty()) << cut;
    }

    struct Bad {
        const char* name;
        Bytes stream;
        ReadStatus status;
    };
    Bytes hugeNative = Bytes().i32(kOleVersion).i32(2).add(ansi("X")).add(ansi("")).add(ansi(""));
    hugeNative.i32(0xFFFFFFF0);
    Bytes hugeName = Bytes().i32(kOleVersion).i32(2).i32(0x7FFFFFFF);
    const Bad bad[] = {
        {"unknown object format", Bytes().i32(kOleVersion).i32(7).add(ansi("X")), ReadStatus::Damaged},
        {"unknown picture format", embedded("X", "", Bytes().i32(kOleVersion).i32(4)), ReadStatus::Damaged},
        {"metafile shorter than its header",
         embedded("X", "", Bytes().i32(kOleVersion).i32(5).add(ansi("METAFILEPICT")).i32(1).i32(1).i32(4)),
         ReadStatus::Damaged},
        {"native data longer than the file", hugeNative, ReadStatus::Truncated},
        {"class name longer than the file", hugeName, ReadStatus::Truncated},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        const Bytes record = recordWith(b.stream);
        CGraphCollection c;
        RecordReader r(record.s);
        EXPECT_FALSE(c.Load(r));
        EXPECT_EQ(r.status(), b.status);
        EXPECT_TRUE(c.IsEmpty());
    }
}

namespace {

// A packed 2 x 2 DIB of 24 bits, every pixel red.
std::string redDib()
{
    Bytes b;
    b.i32(40);
    b.i32(2);
    b.i32(2);
    b.i16(1);
    b.i16(24);
    for (int i = 0; i < 6; ++i)
        b.i32(i == 1 ? 16 : 0); // compression, image size, resolutions, colours
    for (int row = 0; row < 2; ++row)
        b.s += std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00", 8);
    return b.s;
}

} // namespace

TEST(Ole1, DrawsTheFrameAndItsPresentationPicture)
{
    const Bytes record = recordWith(embedded("PBrush", "", dibPicture(2, 2, redDib())));
    CGraphCollection c;
    loadItem(c, record);
    CGraphObject* item = c.GetAt(0);
    ASSERT_NE(item, nullptr);

    QImage image = testsupport::whiteImage(200, 200);
    CDC dc(&image);
    DrawArgs args;
    args.dc = &dc;
    args.offsetX = 5;
    args.flags = kDrawPrinting;
    EXPECT_TRUE(item->Draw(args));
    // The picture fills the device box; no frame on paper.
    const int left = 5 + (1000 * 96 + 12700) / 25400;
    const int right = 5 + (31000 * 96 + 12700) / 25400;
    EXPECT_EQ(image.pixel((left + right) / 2, 20) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(left - 1, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(right + 1, 20) & 0xFFFFFF, 0xFFFFFFu);

    // A stream whose picture cannot be drawn shows only the design frame.
    const Bytes broken = recordWith(embedded("PBrush", "", dibPicture(4, 4, binary(40, 9))));
    CGraphCollection c2;
    loadItem(c2, broken);
    QImage image2 = testsupport::whiteImage(200, 200);
    CDC dc2(&image2);
    args.dc = &dc2;
    args.frame = true;
    args.flags = kDrawDesign;
    EXPECT_TRUE(c2.GetAt(0)->Draw(args));
    EXPECT_EQ(image2.pixel(left, 20) & 0xFFFFFF, 0u);
    EXPECT_EQ(image2.pixel((left + right) / 2, 20) & 0xFFFFFF, 0xFFFFFFu);
}
