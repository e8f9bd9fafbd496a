// Image holders: records of every tag, lazy loading of files, natural size,
// aspect, rotation, drawing with and without stretching, clipboard.
#include "content/images/graphimage.h"
#include "content/images/imageholder.h"
#include "platform/dib.h"
#include "platform/recordingui.h"
#include "platform/wmf.h"
#include "support/wmf_builder.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::px;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage solid(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The rows of `img` holding at least one pixel of colour c: first and last.
std::pair<int, int> rowsWith(const QImage& img, QRgb c)
{
    int first = -1, last = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (px(img, x, y) == c) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

std::string saveTagged(const CImageBase& holder)
{
    RecordWriter w;
    holder.SaveTagged(w);
    return w.take();
}

// Reads a tagged holder record back and writes it again.
std::string roundTrip(const std::string& tagged, std::unique_ptr<CImageBase>* out = nullptr)
{
    RecordReader r(tagged);
    auto holder = CreateImageHolderForTag(r.i16());
    EXPECT_TRUE(holder);
    if (!holder)
        return {};
    EXPECT_TRUE(holder->Load(r));
    EXPECT_TRUE(r.atEnd());
    std::string again = saveTagged(*holder);
    if (out)
        *out = std::move(holder);
    return again;
}

// A metafile that fills its whole window (0..100) black.
std::string blackBoxMetafile()
{
    wmftest::Builder b;
    b.windowExt(100, 100).pen(0, 0, 0).select(0).brush(0, 0).select(1).rectangle(0, 0, 100, 100);
    return b.bits();
}

} // namespace

TEST(ImageHolder, RecordsOfEveryTagRoundTrip)
{
    // 162: nothing but the tag.
    EXPECT_EQ(saveTagged(CImageBase()), std::string("\xA2\0", 2));
    EXPECT_EQ(roundTrip(saveTagged(CImageBase())), saveTagged(CImageBase()));

    // 163 with content, and empty.
    CImageBitmap bitmap;
    std::string header = dib::ImageToPacked24(solid(2, 2, qRgb(1, 2, 3)));
    const std::string bits = header.substr(40);
    header.resize(40);
    bitmap.SetContent(2, 2, header, bits);
    const std::string stored = saveTagged(bitmap);
    EXPECT_EQ(stored.size(), 2u + 8u + 40u + 16u);
    std::unique_ptr<CImageBase> back;
    EXPECT_EQ(roundTrip(stored, &back), stored);
    EXPECT_TRUE(static_cast<CImageBitmap*>(back.get())->IsDrawable());
    EXPECT_EQ(saveTagged(CImageBitmap()), std::string("\xA3\0\0\0", 4));
    EXPECT_EQ(roundTrip(saveTagged(CImageBitmap())), saveTagged(CImageBitmap()));

    // 179 reads as a bitmap and is written under 163.
    std::string ext = stored;
    ext[0] = char(179);
    EXPECT_EQ(roundTrip(ext), stored);

    // 165 with content; 1155 reads empty and is written as 1156 with count 0.
    CImageBitmapNew packed;
    packed.SetPacked(dib::ImageToPacked24(solid(3, 1, qRgb(9, 9, 9))));
    const std::string packedStored = saveTagged(packed);
    EXPECT_EQ(roundTrip(packedStored), packedStored);
    std::string empty;
    empty += std::string("\xA5\0\x83\x04", 4);
    std::unique_ptr<CImageBase> emptyBack;
    EXPECT_EQ(roundTrip(empty, &emptyBack), std::string("\xA5\0\x84\x04\0\0\0\0\0\0\0\0", 12));
    EXPECT_FALSE(emptyBack->HasContent());

    // 164.
    CImageMetafile meta;
    meta.SetMetafile(blackBoxMetafile(), 20000, 10000);
    const std::string metaStored = saveTagged(meta);
    EXPECT_EQ(metaStored.size(), 2u + 12u + blackBoxMetafile().size());
    EXPECT_EQ(roundTrip(metaStored), metaStored);

    EXPECT_FALSE(CreateImageHolderForTag(166));
    EXPECT_FALSE(CreateImageHolderForTag(0));
}

TEST(ImageHolder, RecordCountsAreCheckedAgainstTheData)
{
    // Packed bitmap claiming more bytes than there are.
    {
        RecordWriter w;
        w.i16(1156); w.i16(2); w.i16(2); w.i32(1000);
        w.bytes(std::string(10, 'x'));
        RecordReader r(w.data());
        CImageBitmapNew h;
        EXPECT_FALSE(h.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Truncated);
        EXPECT_FALSE(h.HasContent());
    }
    // Negative counts and header sizes are damage.
    {
        RecordWriter w;
        w.i16(1156); w.i16(2); w.i16(2); w.i32(-5);
        RecordReader r(w.data());
        CImageBitmapNew h;
        EXPECT_FALSE(h.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
    }
    {
        RecordWriter w;
        w.i16(1234); w.i16(2); w.i16(2); w.i16(-40);
        RecordReader r(w.data());
        CImageBitmap h;
        EXPECT_FALSE(h.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
    }
    {
        RecordWriter w;
        w.i32(10); w.i32(10); w.i32(-1);
        RecordReader r(w.data());
        CImageMetafile h;
        EXPECT_FALSE(h.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
    }
    // A bitmap header whose image size runs past the data.
    {
        std::string header = dib::ImageToPacked24(solid(2, 2, 0)).substr(0, 40);
        RecordWriter w;
        w.i16(1234); w.i16(2); w.i16(2); w.i16(40);
        w.bytes(header);
        w.bytes(std::string(4, '\0'));
        RecordReader r(w.data());
        CImageBitmap h;
        EXPECT_FALSE(h.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Truncated);
    }
    // Stored sizes that disagree with a drawable bitmap give way to its own;
    // an invalid bitmap is kept as it was stored, and not drawn.
    {
        RecordWriter w;
        const std::string dib = dib::ImageToPacked24(solid(5, 3, 0));
        w.i16(1156); w.i16(-7); w.i16(0); w.i32(int32_t(dib.size()));
        w.bytes(dib);
        RecordReader r(w.data());
        CImageBitmapNew h;
        ASSERT_TRUE(h.Load(r));
        EXPECT_EQ(h.Width(), 5);
        EXPECT_EQ(h.Height(), 3);

        RecordWriter bad;
        bad.i16(1156); bad.i16(4); bad.i16(4); bad.i32(6);
        bad.bytes("abcdef");
        RecordReader rb(bad.data());
        CImageBitmapNew hb;
        ASSERT_TRUE(hb.Load(rb));
        EXPECT_EQ(hb.Packed(), "abcdef");
        QImage target = testsupport::whiteImage(20, 20);
        CDC dc(&target);
        hb.Draw(dc, "", RECT{0, 0, 19, 19}, ImageSourceWindow{}, kImageStretch);
        EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 400);
        EXPECT_EQ(saveTagged(hb).substr(2), bad.data());
    }
}

TEST(ImageHolder, PngFileGivesNaturalSizeAspectAndRotation)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("wide.png");
    ASSERT_TRUE(solid(600, 300, qRgb(0, 0, 0)).save(file, "PNG"));

    CImageBitmapNew holder;
    ASSERT_TRUE(holder.LoadFile(file.toStdString()));
    EXPECT_EQ(holder.Width(), 600);
    EXPECT_EQ(holder.GetAspectPercent(), 50);
    CGraphImageExtExt owner;
    ASSERT_TRUE(holder.ApplyNaturalSize(owner));
    EXPECT_EQ(owner.GetWidth(), 50800);
    EXPECT_EQ(owner.GetHeight(), 25400);

    holder.Rotate(-1);
    EXPECT_EQ(holder.Width(), 300);
    EXPECT_EQ(holder.Height(), 600);
    EXPECT_EQ(dib::HeaderSize(holder.Packed()).width, 300);
    holder.Rotate(1);
    EXPECT_EQ(holder.Width(), 600);

    // Other formats and missing files leave the holder empty.
    const QString gif = dir.filePath("x.png");
    ASSERT_TRUE(solid(4, 4, 0).save(gif, "PPM"));
    EXPECT_FALSE(holder.LoadFile(gif.toStdString()));
    EXPECT_FALSE(holder.HasContent());
    EXPECT_FALSE(holder.LoadFile((dir.path() + "/none.png").toStdString()));
    EXPECT_FALSE(holder.ApplyNaturalSize(owner));
    EXPECT_EQ(holder.GetAspectPercent(), 100);
    holder.Rotate(1); // nothing to turn
}

TEST(ImageHolder, BitmapsKeepTheirAspectUnlessStretched)
{
    CImageBitmapNew holder;
    holder.SetPacked(dib::ImageToPacked24(solid(200, 100, qRgb(0, 0, 0))));
    // Square destination 0..99: a 2:1 picture is 50 pixels high, centred.
    QImage target = testsupport::whiteImage(100, 100);
    CDC dc(&target);
    holder.Draw(dc, "", RECT{0, 0, 99, 99}, ImageSourceWindow{}, kImageCentre);
    EXPECT_EQ(rowsWith(target, kBlack), std::make_pair(25, 74));

    target = testsupport::whiteImage(100, 100);
    CDC top(&target);
    holder.Draw(top, "", RECT{0, 0, 99, 99}, ImageSourceWindow{}, 0);
    EXPECT_EQ(rowsWith(target, kBlack), std::make_pair(0, 49));

    target = testsupport::whiteImage(100, 100);
    CDC full(&target);
    holder.Draw(full, "", RECT{0, 0, 99, 99}, ImageSourceWindow{}, kImageStretch);
    EXPECT_EQ(testsupport::countPixels(target, 0), 100 * 100);

    // The source window: the right half of a two-colour picture.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(255, 0, 0));
    two.setPixel(1, 0, qRgb(0, 0, 255));
    holder.SetPacked(dib::ImageToPacked24(two));
    target = testsupport::whiteImage(100, 100);
    CDC part(&target);
    holder.Draw(part, "", RECT{0, 0, 99, 99}, ImageSourceWindow{50, 0, 100, 100}, kImageStretch);
    EXPECT_EQ(testsupport::countPixels(target, 0x0000FF), 100 * 100);

    // Empty or reversed windows and empty destinations draw nothing.
    target = testsupport::whiteImage(100, 100);
    CDC none(&target);
    holder.Draw(none, "", RECT{0, 0, 99, 99}, ImageSourceWindow{50, 0, 50, 100}, 0);
    holder.Draw(none, "", RECT{0, 0, 99, 99}, ImageSourceWindow{0, 100, 100, 0}, 0);
    holder.Draw(none, "", RECT{10, 10, 10, 10}, ImageSourceWindow{}, 0);
    EXPECT_LE(testsupport::countPixels(target, 0xFFFFFF), 100 * 100);
    EXPECT_GE(testsupport::countPixels(target, 0xFFFFFF), 100 * 100 - 1);
}

TEST(ImageHolder, OldBitmapsDrawFromHeaderAndBits)
{
    std::string header = dib::ImageToPacked24(solid(4, 4, qRgb(0, 0, 0)));
    const std::string bits = header.substr(40);
    header.resize(40);
    CImageBitmap holder;
    holder.SetContent(4, 4, header, bits);
    QImage target = testsupport::whiteImage(20, 20);
    CDC dc(&target);
    holder.Draw(dc, "", RECT{0, 0, 19, 19}, ImageSourceWindow{}, kImageStretch);
    EXPECT_EQ(testsupport::countPixels(target, 0), 400);
    EXPECT_FALSE(holder.CanRotate());
    EXPECT_EQ(holder.GetAspectPercent(), 100);
}

TEST(ImageHolder, MetafileFilesSizesAndDrawing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Placeable header: 0..1440 wide, 0..720 high, 1440 units per inch.
    std::string file;
    wmftest::Builder::put32(file, wmf::kPlaceableKey);
    for (int v : {0, 0, 0, 1440, 720, 1440})
        wmftest::Builder::put16(file, uint16_t(v));
    file += std::string(6, '\0');
    file += blackBoxMetafile();
    const QString path = dir.filePath("logo.WMF");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.data(), qint64(file.size()));
    }
    CImageMetafile holder;
    QImage target = testsupport::whiteImage(100, 100);
    CDC dc(&target);
    // Loaded at the first drawing; 2:1 into a square, centred.
    holder.Draw(dc, path.toStdString(), RECT{0, 0, 100, 100}, ImageSourceWindow{}, kImageCentre);
    EXPECT_EQ(holder.WidthUm(), 25400);
    EXPECT_EQ(holder.HeightUm(), 12700);
    EXPECT_EQ(holder.Bits(), blackBoxMetafile());
    EXPECT_EQ(holder.GetAspectPercent(), 50);
    EXPECT_EQ(rowsWith(target, kBlack), std::make_pair(25, 74));

    target = testsupport::whiteImage(100, 100);
    CDC stretched(&target);
    holder.Draw(stretched, "", RECT{0, 0, 100, 100}, ImageSourceWindow{}, kImageStretch);
    EXPECT_EQ(testsupport::countPixels(target, 0), 100 * 100);

    // An empty destination draws nothing.
    target = testsupport::whiteImage(100, 100);
    CDC empty(&target);
    holder.Draw(empty, "", RECT{0, 0, 0, 100}, ImageSourceWindow{}, 0);
    EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 100 * 100);

    CGraphImageExtExt owner;
    ASSERT_TRUE(holder.ApplyNaturalSize(owner));
    EXPECT_EQ(owner.GetWidth(), 25400);

    // A plain metafile has no size: it fills the box and has no natural size.
    const QString plain = dir.filePath("plain.wmf");
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(blackBoxMetafile().data(), qint64(blackBoxMetafile().size()));
    }
    ASSERT_TRUE(holder.LoadFile(plain.toStdString()));
    EXPECT_EQ(holder.WidthUm(), 0);
    EXPECT_FALSE(holder.ApplyNaturalSize(owner));
    target = testsupport::whiteImage(100, 100);
    CDC fill(&target);
    holder.Draw(fill, "", RECT{0, 0, 100, 100}, ImageSourceWindow{}, kImageCentre);
    EXPECT_EQ(testsupport::countPixels(target, 0), 100 * 100);

    // Not a metafile: empty.
    const QString junk = dir.filePath("junk.wmf");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("junk");
    }
    EXPECT_FALSE(holder.LoadFile(junk.toStdString()));
    EXPECT_FALSE(holder.HasContent());
}

TEST(ImageHolder, MetafileAspectUsesExactProducts)
{
    // 3 x 2 um into 400 x 300 pixels: the integer quotients 2/300 and 3/400
    // are both 0 and would widen the picture past the box; exactly,
    // 2 x 400 < 3 x 300, so the height shrinks to 267 pixels.
    CImageMetafile holder;
    holder.SetMetafile(blackBoxMetafile(), 3, 2);
    QImage target = testsupport::whiteImage(400, 300);
    CDC dc(&target);
    holder.Draw(dc, "", RECT{0, 0, 400, 300}, ImageSourceWindow{}, 0);
    EXPECT_EQ(rowsWith(target, kBlack), std::make_pair(0, 266));
    EXPECT_EQ(testsupport::countPixels(target.copy(0, 0, 400, 1), 0), 400);
}

TEST(ImageHolder, FarOutSourceWindowsKeepTheArithmeticInRange)
{
    // A 1000 x 1 picture, red on its left half, blue on its right, drawn
    // into boxes and through source windows far beyond 100 % and 32 bits of
    // pixels: the picture lands where the window puts it, even when that is
    // a few pixels of a box two billion pixels wide. The sanitizer build
    // catches any overflow on the way.
    constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
    QImage picture(1000, 1, QImage::Format_RGB32);
    picture.fill(kRed);
    for (int x = 500; x < 1000; ++x)
        picture.setPixel(x, 0, kBlue);
    struct Case {
        const char* name;
        RECT dest;
        ImageSourceWindow window;
        int flags;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    };
    const Case cases[] = {
        // Fitting the 2e10-pixel wide source to a tall box shrinks it to a
        // line far thinner than a pixel.
        {"window to 2147483647 %, tall box", RECT{0, 0, 99, INT32_MAX}, ImageSourceWindow{0, 0, INT32_MAX, 100}, 0,
         {{{50, 0}, kWhite}, {{50, 50}, kWhite}}},
        // From -2147483648 %: the picture is the last tenth of a box of
        // 2147483748 pixels that ends at pixel 99.
        {"window from -2147483648 %", RECT{INT32_MIN, 0, 99, 0}, ImageSourceWindow{INT32_MIN, 0, 100, 100},
         kImageStretch, {{{1, 0}, kRed}, {{48, 0}, kRed}, {{52, 0}, kBlue}, {{98, 0}, kBlue}, {{50, 1}, kWhite}}},
        // From 50 % to 2147483647 %: the blue half fills the first 50
        // pixels of a box 2147483647 pixels wide.
        {"window to 2147483647 %", RECT{0, 0, INT32_MAX - 1, 0}, ImageSourceWindow{50, 0, INT32_MAX, 100},
         kImageStretch, {{{0, 0}, kBlue}, {{48, 0}, kBlue}, {{52, 0}, kWhite}, {{99, 0}, kWhite}}},
        // Upwards to 2147483647 %: the picture is the bottom row of a window
        // of 21474836, rows -50 to 49 of a box ending at row 49.
        {"window up to 2147483647 %", RECT{0, INT32_MIN, 99, 49}, ImageSourceWindow{0, 0, 100, INT32_MAX},
         kImageStretch, {{{10, 0}, kRed}, {{90, 48}, kBlue}, {{10, 51}, kWhite}, {{90, 99}, kWhite}}},
    };
    std::string header = dib::ImageToPacked24(picture);
    const std::string bits = header.substr(40);
    header.resize(40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageBitmapNew packed;
        packed.SetPacked(dib::ImageToPacked24(picture));
        CImageBitmap split;
        split.SetContent(1000, 1, header, bits);
        for (CImageBase* holder : {static_cast<CImageBase*>(&packed), static_cast<CImageBase*>(&split)}) {
            QImage target = testsupport::whiteImage(100, 100);
            CDC dc(&target);
            holder->Draw(dc, "", c.dest, c.window, c.flags);
            for (const auto& [at, colour] : c.pixels)
                EXPECT_EQ(target.pixel(at), colour) << holder->GetTypeTag() << " at " << at.x() << "," << at.y();
        }
    }
}

namespace {

// A run-length bitmap's header: 40 bytes and a colour table whose entry 0
// is red and the others blue; the image size field counts `runs`.
std::string runLengthHeader(int32_t w, int32_t h, bool four, const std::string& runs)
{
    std::string d;
    testsupport::put32(d, 40);
    testsupport::put32(d, uint32_t(w));
    testsupport::put32(d, uint32_t(h));
    testsupport::put16(d, 1);
    testsupport::put16(d, four ? 4 : 8);
    testsupport::put32(d, four ? 2 : 1);
    testsupport::put32(d, uint32_t(runs.size()));
    for (int i = 0; i < 4; ++i)
        testsupport::put32(d, 0);
    for (int i = 0, n = four ? 16 : 256; i < n; ++i)
        testsupport::put32(d, i == 0 ? 0x00FF0000u : 0x000000FFu);
    return d;
}

} // namespace

TEST(ImageHolder, BitmapsDeclaringMillionsOfPixelsCostWhatTheDeviceShows)
{
    // Stored bitmaps of a few bytes of runs that declare tens of megapixels:
    // drawn into a small box, or a huge box of which the device shows a
    // corner, the holder keeps no more decoded than the device shows. Turned,
    // a picture whose turned rows would take far more than its stored bytes
    // is refused with a message (box and picture stay); a smaller one turns.
    // Copied to the clipboard (decoded whole), the same pictures are refused
    // with a message that gives their size.
    std::string everyRowOneRun; // 16 pixels of indices 1 and 2, each row
    for (int row = 0; row < 27; ++row)
        everyRowOneRun += std::string("\x10\x12\0\0", 4);
    everyRowOneRun += std::string("\0\1", 2);
    const std::string endAtOnce("\0\1", 2);
    const std::string cornerRun("\x04\x01\0\1", 4); // four blue pixels at the bottom left
    // 255 blue pixels on each of three rows, and on each of five rows with
    // an absolute run after them.
    const std::string threeLongRows("\xff\1\0\0\xff\1\0\0\0\2\x10\0\xff\1\0\0\0\1", 18);
    std::string fiveLongRows;
    for (int row = 0; row < 5; ++row)
        fiveLongRows += std::string("\xff\1\0\4\1\0\1\0\0\0", 10);
    fiveLongRows += endAtOnce;
    struct Case {
        const char* name;
        int16_t tag;
        int32_t width, height;
        bool four;
        std::string runs;
        bool turned; // by Rotate90
        bool copied; // by CopyToClipboard
    };
    const Case cases[] = {
        {"header and bits, RLE8 8192 x 8192", kTagImageBitmap, 8192, 8192, false, endAtOnce, false, false},
        {"header and bits under tag 179", kTagImageBitmapExt, 8192, 8192, false, endAtOnce, false, false},
        {"packed RLE8 8192 x 8192", kTagImageBitmapNew, 8192, 8192, false, endAtOnce, false, false},
        {"packed RLE4 2097197 x 27", kTagImageBitmapNew, 2097197, 27, true, everyRowOneRun, false, false},
        {"packed RLE8 3000 x 2000", kTagImageBitmapNew, 3000, 2000, false, cornerRun, false, false},
        {"packed RLE8 1200 x 800", kTagImageBitmapNew, 1200, 800, false, cornerRun, true, true},
        {"header and bits, RLE8 16777210 x 3", kTagImageBitmap, 16777210, 3, false, threeLongRows, false, false},
        {"packed RLE8 16777210 x 3", kTagImageBitmapNew, 16777210, 3, false, threeLongRows, false, false},
        {"packed RLE8 8388611 x 5", kTagImageBitmapNew, 8388611, 5, false, fiveLongRows, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string header = runLengthHeader(c.width, c.height, c.four, c.runs);
        RecordWriter w;
        w.i16(c.tag);
        if (c.tag == kTagImageBitmapNew) {
            w.i16(CImageBitmapNew::kMarkerContent);
            w.i16(int16_t(c.width));
            w.i16(int16_t(c.height));
            w.i32(int32_t(header.size() + c.runs.size()));
            w.bytes(header + c.runs);
        } else {
            w.i16(CImageBitmap::kMarkerContent);
            w.i16(int16_t(c.width));
            w.i16(int16_t(c.height));
            w.i16(int16_t(header.size()));
            w.bytes(header);
            w.bytes(c.runs);
        }
        RecordReader r(w.data());
        CGraphImageExtExt object;
        object.SetX(0);
        object.SetY(0);
        object.SetWidth(6350); // 24 pixels at 96 dpi
        object.SetHeight(6350);
        {
            std::unique_ptr<CImageBase> holder = CreateImageHolderForTag(r.i16());
            ASSERT_TRUE(holder && holder->Load(r));
            object.SetHolder(std::move(holder));
        }
        const auto decoded = [&object] {
            if (auto* old = dynamic_cast<const CImageBitmap*>(object.GetHolder()))
                return old->DecodedSize();
            return static_cast<const CImageBitmapNew*>(object.GetHolder())->DecodedSize();
        };
        QImage target = testsupport::whiteImage(48, 48);
        CDC dc(&target);
        DrawArgs args;
        args.dc = &dc;
        args.labelNumber = 1;
        ASSERT_TRUE(object.Draw(args));
        EXPECT_LE(decoded().width(), 25);
        EXPECT_LE(decoded().height(), 25);
        EXPECT_GE(decoded().width(), 1);
        // What is drawn is the picture, mostly index 0: red.
        EXPECT_GT(testsupport::countPixels(target, 0xFF0000), 20);

        // A box of two million pixels each way; the device shows 48 x 48 of
        // its centre.
        object.SetX(-264583333);
        object.SetY(-264583333);
        object.SetWidth(529166666);
        object.SetHeight(529166666);
        ASSERT_TRUE(object.Draw(args));
        EXPECT_GE(decoded().width(), 1);
        // Up to a megapixel a picture may be kept whole, for a view that
        // scrolls over it.
        if (int64_t(c.width) * c.height > 1'000'000)
            EXPECT_LE(int64_t(decoded().width()) * decoded().height(), 48 * 48);
        else
            EXPECT_LE(int64_t(decoded().width()) * decoded().height(), int64_t(c.width) * c.height);

        CRecordingUi ui;
        UiScope installed(ui);
        EXPECT_EQ(object.CopyToClipboard(), c.copied);
        EXPECT_EQ(ui.clipboardWrites.size(), c.copied ? 1u : 0u);
        if (c.copied) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
            EXPECT_NE(ui.messages[0].text.find(std::to_string(c.width) + " x " + std::to_string(c.height)),
                      std::string::npos)
                << ui.messages[0].text;
        }
        ui.messages.clear();
        RecordWriter before;
        object.Save(before);
        object.Rotate90(0, 0, -1);
        RecordWriter after;
        object.Save(after);
        if (!c.turned) {
            EXPECT_TRUE(after.data() == before.data()) << "box or picture changed";
            EXPECT_EQ(ui.messages.size(), c.tag == kTagImageBitmapNew ? 1u : 0u);
            continue;
        }
        EXPECT_TRUE(ui.messages.empty());
        const auto& turned = static_cast<const CImageBitmapNew&>(*object.GetHolder());
        EXPECT_EQ(turned.Width(), 800);
        EXPECT_EQ(turned.Height(), 1200);
        // Clockwise, the bottom-left corner comes to the top left: the
        // four blue pixels run down the left column.
        const QImage corner = dib::PackedPartToImage(turned.Packed(), QRect(0, 0, 2, 6), QSize(2, 6));
        ASSERT_EQ(corner.size(), QSize(2, 6));
        for (int y = 0; y < 6; ++y) {
            EXPECT_EQ(corner.pixel(0, y), y < 4 ? 0xFF0000FFu : 0xFFFF0000u) << y;
            EXPECT_EQ(corner.pixel(1, y), 0xFFFF0000u) << y;
        }
    }
}

TEST(ImageHolder, ClipboardCopiesOnlyContent)
{
    CRecordingUi ui;
    UiScope installed(ui);
    CImageBitmap emptyOld;
    EXPECT_FALSE(emptyOld.CopyToClipboard());
    EXPECT_FALSE(CImageBitmapNew().CopyToClipboard());
    EXPECT_FALSE(CImageMetafile().CopyToClipboard());
    EXPECT_FALSE(CImageBase().CopyToClipboard());
    EXPECT_TRUE(ui.clipboardWrites.empty());

    CImageBitmapNew holder;
    holder.SetPacked(dib::ImageToPacked24(solid(3, 2, qRgb(10, 20, 30))));
    ASSERT_TRUE(holder.CopyToClipboard());
    ASSERT_EQ(ui.clipboardWrites.size(), 1u);
    EXPECT_EQ(ui.clipboardWrites[0].kind, CRecordingUi::ClipboardWriteKind::Image);
    EXPECT_EQ(ui.clipboardWrites[0].image.size(), QSize(3, 2));
    EXPECT_EQ(ui.clipboardWrites[0].image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(ui.clipboardWrites[0].bytes.substr(0, 2), "BM");

    CImageMetafile meta;
    meta.SetMetafile(blackBoxMetafile(), 1000, 2000);
    ASSERT_TRUE(meta.CopyToClipboard());
    ASSERT_EQ(ui.clipboardWrites.size(), 2u);
    EXPECT_EQ(ui.clipboardWrites[1].kind, CRecordingUi::ClipboardWriteKind::Metafile);
    wmf::WmfFile parts;
    ASSERT_TRUE(wmf::SplitFile(ui.clipboardWrites[1].bytes, parts));
    EXPECT_EQ(parts.bits, blackBoxMetafile());

    // A clipboard that refuses the data makes the copy fail.
    ui.clipboardWritable = false;
    EXPECT_FALSE(holder.CopyToClipboard());
}

TEST(ImageHolder, MemoryBlocksFromTheClipboard)
{
    CGraphImageExtExt owner;
    CImageBitmapNew holder;
    holder.FromGlobalMemory(owner, dib::ImageToPacked24(solid(96, 48, 0)));
    EXPECT_EQ(owner.GetWidth(), 25400);
    EXPECT_EQ(owner.GetHeight(), 12700);

    std::string pict;
    wmftest::Builder::put32(pict, 8);
    wmftest::Builder::put32(pict, 2540);
    wmftest::Builder::put32(pict, uint32_t(-1270)); // negative extents: positive sizes
    pict += blackBoxMetafile();
    CImageMetafile meta;
    meta.FromGlobalMemory(owner, pict);
    EXPECT_EQ(owner.GetWidth(), 25400);
    EXPECT_EQ(owner.GetHeight(), 12700);
    EXPECT_EQ(meta.Bits(), blackBoxMetafile());

    meta.FromGlobalMemory(owner, "short");
    EXPECT_FALSE(meta.HasContent());
}

TEST(ImageHolder, HoldersByExtension)
{
    EXPECT_EQ(CreateImageHolderForFile("C:\\a\\b.JPEG")->GetTypeTag(), kTagImageBitmapNew);
    EXPECT_EQ(CreateImageHolderForFile("b.jpg")->GetTypeTag(), kTagImageBitmapNew);
    EXPECT_EQ(CreateImageHolderForFile("b.Bmp")->GetTypeTag(), kTagImageBitmapNew);
    EXPECT_EQ(CreateImageHolderForFile("b.png")->GetTypeTag(), kTagImageBitmapNew);
    EXPECT_EQ(CreateImageHolderForFile("b.wmf")->GetTypeTag(), kTagImageMetafile);
    EXPECT_FALSE(CreateImageHolderForFile("b.gif"));
    EXPECT_FALSE(CreateImageHolderForFile("folder.png\\file"));
    EXPECT_FALSE(CreateImageHolderForFile(""));
}
