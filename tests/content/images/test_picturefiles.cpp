// Picture files named by stored data: names that are no regular file draw
// the missing picture at once, files over the limit are refused, per-row
// pictures are decoded at the size they are drawn at, and turning a bitmap
// follows the box.
#include "content/images/graphimage.h"
#include "content/images/imageholder.h"
#include "content/tables/datatable.h"
#include "platform/dib.h"
#include "support/fifo_guard.h"
#include "support/picture_inputs.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

DrawArgs argsFor(CDC& dc, int label, const CDataTableBase* table = nullptr, int zoom = 100)
{
    DrawArgs a;
    a.dc = &dc;
    a.zoom = zoom;
    a.labelNumber = label;
    a.flags = kDrawPrinting;
    a.table = table;
    return a;
}

// An object whose device box is 0..99 (inclusive) each way at 96 dpi.
void squareBox(CGraphImageExtExt& o)
{
    o.SetX(0);
    o.SetY(0);
    o.SetWidth(26193);
    o.SetHeight(26193);
}

// A square box showing the picture file named in column A of the row.
void fromTable(CGraphImageExtExt& o)
{
    squareBox(o);
    o.SetImageSourceMode(CGraphImageExt::kSourceTable);
}

void link(const QString& target, const QString& name)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()), 0);
}

QImage redBlue(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kRed);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            img.setPixel(x, y, kBlue);
    return img;
}

} // namespace

TEST(PictureFiles, NamesThatAreNoRegularFileDrawTheMissingPictureAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifoPng = dir.filePath("pipe.png");
    const QString fifoWmf = dir.filePath("pipe.wmf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifoPng).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifoWmf).constData(), 0600), 0);
    link("/dev/zero", dir.filePath("zero.png"));
    link("/dev/zero", dir.filePath("zero.wmf"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    testsupport::FifoGuard guard({fifoPng, fifoWmf});
    for (const char* name : {"pipe.png", "pipe.wmf", "zero.png", "zero.wmf", "folder.bmp"}) {
        SCOPED_TRACE(name);
        const std::string stored = dir.filePath(name).toStdString();
        // A picture object of the file...
        CGraphImageExtExt o;
        squareBox(o);
        ASSERT_TRUE(o.SetImageFile(stored));
        QImage target = testsupport::whiteImage(120, 120);
        CDC dc(&target);
        ASSERT_TRUE(o.Draw(argsFor(dc, 1)));
        EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 120 * 120);
        ASSERT_TRUE(o.GetHolder());
        EXPECT_FALSE(o.GetHolder()->HasContent());

        // ...and a picture per row named by a table cell.
        CDataTableBase table;
        table.SetColumnFlag(0, 1);
        table.SetCellText(0, 0, stored);
        CGraphImageExtExt row;
        fromTable(row);
        ASSERT_TRUE(row.Draw(argsFor(dc, 1, &table)));
        EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 120 * 120);
    }
    EXPECT_FALSE(guard.ReaderSeen());

    // The same picture through a link is drawn.
    ASSERT_TRUE(redBlue(10, 10).save(dir.filePath("real.png"), "PNG"));
    link(dir.filePath("real.png"), dir.filePath("linked.png"));
    CGraphImageExtExt o;
    squareBox(o);
    ASSERT_TRUE(o.SetImageFile(dir.filePath("linked.png").toStdString()));
    QImage target = testsupport::whiteImage(120, 120);
    CDC dc(&target);
    ASSERT_TRUE(o.Draw(argsFor(dc, 1)));
    EXPECT_EQ(testsupport::countPixels(target, 0xFF0000), 50 * 100);
    EXPECT_EQ(testsupport::countPixels(target, 0x0000FF), 50 * 100);
}

TEST(PictureFiles, FilesOverTheLimitAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Sparse files: refused by their size, never read.
    struct Case {
        const char* name;
        qint64 size;
    };
    for (const Case& c : {Case{"big.bmp", dib::kMaxFileBytes + 1}, Case{"big.wmf", 64 * 1024 * 1024 + 1}}) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(c.name[4] == 'b' ? QByteArray("BM") : QByteArray("\xD7\xCD\xC6\x9A", 4)),
                  c.name[4] == 'b' ? 2 : 4);
        ASSERT_TRUE(f.resize(c.size));
        f.close();
        auto holder = CreateImageHolderForFile(c.name);
        ASSERT_TRUE(holder);
        QImage target = testsupport::whiteImage(20, 20);
        CDC dc(&target);
        holder->Draw(dc, path.toStdString(), RECT{0, 0, 19, 19}, ImageSourceWindow{}, kImageStretch);
        EXPECT_FALSE(holder->HasContent());
    }
}

TEST(PictureFiles, PicturesPerRowAreDecodedAtTheirDrawnSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("wide.png");
    ASSERT_TRUE(redBlue(400, 200).save(path, "PNG"));
    CDataTableBase table;
    table.SetColumnFlag(0, 1);
    table.SetCellText(0, 0, path.toStdString());

    CGraphImageExtExt row;
    fromTable(row);
    QImage reduced = testsupport::whiteImage(120, 120);
    CDC dc(&reduced);
    ASSERT_TRUE(row.Draw(argsFor(dc, 1, &table)));
    auto* holder = dynamic_cast<const CImageBitmapNew*>(row.GetRowHolder());
    ASSERT_TRUE(holder);
    // Covers the 100 x 100 box, keeps the proportions and the file's size.
    EXPECT_EQ(dib::HeaderSize(holder->Packed()).width, 200);
    EXPECT_EQ(dib::HeaderSize(holder->Packed()).height, 100);
    EXPECT_EQ(holder->Width(), 400);
    EXPECT_EQ(holder->GetAspectPercent(), 50);

    // Saved, the whole picture is stored, as read from the file.
    auto storedWidth = [](const CImageBase& h) {
        RecordWriter w;
        h.Save(w);
        RecordReader r(w.data());
        CImageBitmapNew back;
        EXPECT_TRUE(back.Load(r));
        return dib::HeaderSize(back.Packed()).width;
    };
    EXPECT_EQ(storedWidth(*holder), 400);
    const QString moved = dir.filePath("moved.png");
    ASSERT_TRUE(QFile::rename(path, moved));
    EXPECT_EQ(storedWidth(*holder), 200); // the file gone: what there is
    ASSERT_TRUE(QFile::rename(moved, path));

    // The same picture as a file of its own is decoded whole, and both
    // draw the same.
    CGraphImageExtExt file;
    squareBox(file);
    ASSERT_TRUE(file.SetImageFile(path.toStdString()));
    QImage whole = testsupport::whiteImage(120, 120);
    CDC dc2(&whole);
    ASSERT_TRUE(file.Draw(argsFor(dc2, 1)));
    EXPECT_EQ(dib::HeaderSize(static_cast<CImageBitmapNew*>(file.GetHolder())->Packed()).width, 400);
    EXPECT_LE(testsupport::countDifferentPixels(reduced, whole), 100); // the red/blue seam at most
    EXPECT_GE(testsupport::countPixels(reduced, 0xFF0000), 49 * 50);

    // Drawn larger later (zoom 300): decoded again, at most at full size.
    QImage larger = testsupport::whiteImage(320, 320);
    CDC dc3(&larger);
    ASSERT_TRUE(row.Draw(argsFor(dc3, 1, &table, 300)));
    holder = dynamic_cast<const CImageBitmapNew*>(row.GetRowHolder());
    ASSERT_TRUE(holder);
    EXPECT_EQ(dib::HeaderSize(holder->Packed()).width, 400);
    EXPECT_EQ(dib::HeaderSize(holder->Packed()).height, 200);

    // Decoded at 200 x 100 for the square box, then drawn into a box of
    // another shape: decoded again when the box is larger than that in
    // either direction, kept when it is not.
    struct Reshaped {
        const char* what;
        int32_t width, height; // um; 26193 is 100 pixels
        QSize decoded;
    };
    for (const Reshaped& c : {Reshaped{"taller only", 26193, 65482, QSize(400, 200)},
                              Reshaped{"wider only", 130965, 13096, QSize(400, 200)},
                              Reshaped{"smaller", 13096, 13096, QSize(200, 100)}}) {
        SCOPED_TRACE(c.what);
        CGraphImageExtExt fresh;
        fromTable(fresh);
        QImage target = testsupport::whiteImage(520, 520);
        CDC tdc(&target);
        ASSERT_TRUE(fresh.Draw(argsFor(tdc, 1, &table)));
        fresh.SetWidth(c.width);
        fresh.SetHeight(c.height);
        ASSERT_TRUE(fresh.Draw(argsFor(tdc, 1, &table)));
        auto* reshaped = dynamic_cast<const CImageBitmapNew*>(fresh.GetRowHolder());
        ASSERT_TRUE(reshaped);
        const dib::DibSize size = dib::HeaderSize(reshaped->Packed());
        EXPECT_EQ(QSize(size.width, size.height), c.decoded);
    }
}

TEST(PictureFiles, TurningLeftRaisesTheRightEdge)
{
    // A 2 x 1 red|blue bitmap. Turning left (direction 1, counter-clockwise
    // on screen like the object's box) brings the right edge up: blue on
    // top; turning right brings red on top.
    CImageBitmapNew left;
    left.SetPacked(dib::ImageToPacked24(redBlue(2, 1)));
    CImageBitmapNew right(left);
    left.Rotate(1);
    right.Rotate(-1);
    const QImage l = dib::PackedToImage(left.Packed());
    const QImage r = dib::PackedToImage(right.Packed());
    ASSERT_EQ(l.size(), QSize(1, 2));
    ASSERT_EQ(r.size(), QSize(1, 2));
    EXPECT_EQ(l.pixel(0, 0), kBlue);
    EXPECT_EQ(l.pixel(0, 1), kRed);
    EXPECT_EQ(r.pixel(0, 0), kRed);
    EXPECT_EQ(r.pixel(0, 1), kBlue);

    // Drawn through the object: the box and the picture turn together.
    CGraphImageExtExt o;
    o.SetX(0);
    o.SetY(0);
    o.SetWidth(26193);
    o.SetHeight(13096);
    auto holder = std::make_unique<CImageBitmapNew>();
    holder->SetPacked(dib::ImageToPacked24(redBlue(2, 1)));
    o.SetHolder(std::move(holder));
    o.SetStretch(true);
    o.Rotate90(13096, 13096, 1);
    QImage target = testsupport::whiteImage(120, 120);
    CDC dc(&target);
    ASSERT_TRUE(o.Draw(argsFor(dc, 1)));
    const RECT box = testsupport::inkBox(target);
    ASSERT_LT(box.left, box.right);
    const int midX = (box.left + box.right) / 2;
    EXPECT_GT(box.bottom - box.top, box.right - box.left); // upright now
    EXPECT_EQ(target.pixel(midX, box.top + (box.bottom - box.top) / 4) | 0xFF000000u, kBlue);
    EXPECT_EQ(target.pixel(midX, box.top + (box.bottom - box.top) * 3 / 4) | 0xFF000000u, kRed);
}

TEST(PictureFiles, TroublesomeInputsAreWorkedOnOnceAndDrawnOrMissing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dib::ForgetPictureFiles();
    // What a picture object draws for a file that is not there.
    auto drawn = [](CGraphImageExtExt& o, int label, const CDataTableBase* table) {
        QImage target = testsupport::whiteImage(120, 120);
        CDC dc(&target);
        EXPECT_TRUE(o.Draw(argsFor(dc, label, table)));
        return target;
    };
    CGraphImageExtExt absent;
    squareBox(absent);
    ASSERT_TRUE(absent.SetImageFile(dir.filePath("absent.png").toStdString()));
    const QImage missing = drawn(absent, 1, nullptr);

    for (const testsupport::PictureInput& input : testsupport::pictureInputs()) {
        SCOPED_TRACE(input.name);
        const QString path = dir.filePath(input.name);
        ASSERT_TRUE(testsupport::makePictureInput(input.name, path));
        const std::string stored = path.toStdString();
        const bool huge = std::string(input.name) == "topdown8000.bmp";

        // The object's own file, drawn on many labels by two objects. The
        // 192 MB picture is left to the table, which decodes it reduced.
        dib::PictureFileCounts before = dib::CountPictureFileWork();
        if (!huge) {
            CGraphImageExtExt own, other;
            squareBox(own);
            squareBox(other);
            ASSERT_TRUE(own.SetImageFile(stored));
            ASSERT_TRUE(other.SetImageFile(stored));
            QImage first;
            for (int label = 1; label <= 40; ++label) {
                const QImage now = drawn(label % 2 ? own : other, label, nullptr);
                if (label == 1)
                    first = now;
                else
                    ASSERT_EQ(testsupport::countDifferentPixels(now, first), 0);
            }
            const dib::PictureFileCounts after = dib::CountPictureFileWork();
            // Opened once, whoever names it.
            EXPECT_EQ(after.opened - before.opened, 1u);
            EXPECT_LE(after.decoded - before.decoded, 1u);
            // Refused by what the first bytes show: never read further.
            if (!input.drawn) {
                EXPECT_LE(after.bytesRead - before.bytesRead, 64u * 1024u);
            }
            if (input.drawn)
                EXPECT_GT(testsupport::countDifferentPixels(first, missing), 0);
            else
                EXPECT_EQ(testsupport::countDifferentPixels(first, missing), 0);
        }

        // Every row of a table names the file.
        before = dib::CountPictureFileWork();
        CDataTableBase table;
        table.SetColumnFlag(0, 1);
        for (int row = 0; row < 30; ++row)
            table.SetCellText(row, 0, stored);
        CGraphImageExtExt perRow;
        fromTable(perRow);
        for (int pass = 0; pass < 2; ++pass)
            for (int label = 1; label <= 30; ++label) {
                const QImage now = drawn(perRow, label, &table);
                if (!input.drawn) {
                    ASSERT_EQ(testsupport::countDifferentPixels(now, missing), 0);
                } else if (huge) {
                    ASSERT_EQ(now.pixel(50, 50), 0xFF000000u); // the rows are zeros: black
                }
            }
        const dib::PictureFileCounts after = dib::CountPictureFileWork();
        EXPECT_LE(after.opened - before.opened, 1u);
        EXPECT_LE(after.decoded - before.decoded, 1u);
        if (huge) {
            // Decoded at the size it is drawn at, not whole.
            auto* holder = dynamic_cast<const CImageBitmapNew*>(perRow.GetRowHolder());
            ASSERT_TRUE(holder);
            EXPECT_EQ(holder->Width(), 8000);
            EXPECT_LE(dib::HeaderSize(holder->Packed()).width, 100);
        }
        QFile::remove(path);
    }
}

TEST(PictureFiles, AFailedFileIsTriedAgainOnceItChanges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dib::ForgetPictureFiles();
    const QString path = dir.filePath("later.png");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, '\0'));
    f.close();
    CGraphImageExtExt o;
    squareBox(o);
    ASSERT_TRUE(o.SetImageFile(path.toStdString()));
    QImage target = testsupport::whiteImage(120, 120);
    CDC dc(&target);
    const dib::PictureFileCounts before = dib::CountPictureFileWork();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(o.Draw(argsFor(dc, 1)));
    EXPECT_EQ(dib::CountPictureFileWork().opened - before.opened, 1u);
    EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 120 * 120);

    // The picture arrives under the same name: drawn at the next drawing.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(redBlue(10, 10).save(path, "PNG"));
    ASSERT_TRUE(o.Draw(argsFor(dc, 1)));
    EXPECT_EQ(dib::CountPictureFileWork().opened - before.opened, 2u);
    EXPECT_EQ(testsupport::countPixels(target, 0xFF0000), 50 * 100);
}

TEST(PictureFiles, RowsNamingAFewFilesInTurnReadEachOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dib::ForgetPictureFiles();
    const QString red = dir.filePath("red.png"), blue = dir.filePath("blue.bmp");
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(kRed);
    ASSERT_TRUE(img.save(red, "PNG"));
    img.fill(kBlue);
    ASSERT_TRUE(img.save(blue, "BMP"));
    CDataTableBase table;
    table.SetColumnFlag(0, 1);
    for (int row = 0; row < 20; ++row)
        table.SetCellText(row, 0, (row % 2 ? blue : red).toStdString());
    CGraphImageExtExt perRow;
    fromTable(perRow);
    const dib::PictureFileCounts before = dib::CountPictureFileWork();
    for (int label = 1; label <= 20; ++label) {
        QImage target = testsupport::whiteImage(120, 120);
        CDC dc(&target);
        ASSERT_TRUE(perRow.Draw(argsFor(dc, label, &table)));
        EXPECT_EQ(target.pixel(50, 50), label % 2 ? kRed : kBlue) << label;
    }
    EXPECT_EQ(dib::CountPictureFileWork().opened - before.opened, 2u);
}
