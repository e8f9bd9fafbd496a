// The image object: records of keys 161, 169 and 189, file and table modes,
// placeholders, column choice, rotation, clipboard and editing.
#include "content/images/graphimage.h"
#include "content/objects/objectfactory.h"
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "platform/dib.h"
#include "platform/recordingui.h"
#include "support/wmf_builder.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QImage solid(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

std::string saveObject(const CGraphObject& o)
{
    RecordWriter w;
    o.Save(w);
    return w.take();
}

template <class T>
std::unique_ptr<T> loadObject(const std::string& bytes, ReadStatus expected = ReadStatus::Ok)
{
    auto o = std::make_unique<T>();
    RecordReader r(bytes);
    EXPECT_EQ(o->Load(r), expected == ReadStatus::Ok);
    EXPECT_EQ(r.status(), expected);
    return o;
}

DrawArgs argsFor(CDC& dc, int label, int flags, const CDataTableBase* table, bool placeholder = false)
{
    DrawArgs a;
    a.dc = &dc;
    a.zoom = 100;
    a.labelNumber = label;
    a.flags = flags;
    a.table = table;
    a.placeholder = placeholder;
    return a;
}

// A square object whose device box is 0..99 (inclusive) at 96 dpi.
template <class T>
void squareBox(T& o)
{
    o.SetX(0);
    o.SetY(0);
    o.SetWidth(26193);
    o.SetHeight(26193);
}

} // namespace

TEST(GraphImage, NewObjectsAndKeys)
{
    CGraphImageExtExt o;
    EXPECT_EQ(o.GetPenWidth(), 0);
    EXPECT_EQ(o.GetWidth(), 0);
    EXPECT_FALSE(o.GetHolder());
    EXPECT_TRUE(o.GetFileName().empty());
    EXPECT_TRUE(o.IsImage());
    EXPECT_TRUE(o.HasEditContent());
    EXPECT_TRUE(o.HasImageOptions());
    EXPECT_TRUE(o.HasImageTableSource());
    EXPECT_TRUE(o.GetCentered());
    EXPECT_FALSE(o.GetStretch());
    EXPECT_EQ(o.GetTypeKey(), 189);
    EXPECT_EQ(CGraphImageExt().GetTypeKey(), 169);
    EXPECT_EQ(CGraphImage().GetTypeKey(), 161);
    EXPECT_FALSE(CGraphImage().HasImageOptions());
    EXPECT_EQ(CreateGraphObjectForKey(169)->GetTypeKey(), 169);
    EXPECT_EQ(CreateGraphObjectForKey(189)->GetTypeKey(), 189);
    EXPECT_FALSE(CreateGraphObjectForKey(161));
    EXPECT_FALSE(o.CopyToClipboard());
    EXPECT_FALSE(o.ResetToNaturalSize());
    o.SetWidth(200);
    o.SetHeight(100);
    EXPECT_EQ(o.GetAspectPercent(), 50); // without a holder: as any box
}

TEST(GraphImage, RecordsRoundTripWithTheirLayout)
{
    CGraphImageExtExt o;
    o.SetX(1000);
    o.SetY(-2000);
    o.SetWidth(30000);
    o.SetHeight(15000);
    ASSERT_TRUE(o.SetImageFile("C:\\Bilder\\logo.png"));
    static_cast<CImageBitmapNew*>(o.GetHolder())->SetPacked(dib::ImageToPacked24(solid(2, 1, 0)));
    o.SetStretch(true);
    o.SetCentered(false);
    o.SetSourceWindow(ImageSourceWindow{10, 20, 90, 80});
    o.SetColumnNumber(3);
    o.SetSelected(true);
    const std::string bytes = saveObject(o);
    const size_t holderSize = 2 + 10 + static_cast<CImageBitmapNew*>(o.GetHolder())->Packed().size();
    EXPECT_EQ(bytes.size(), 16u + 13u + 128u + holderSize + 44u + 2u);
    EXPECT_EQ(bytes.substr(29, 18), "C:\\Bilder\\logo.png");

    auto back = loadObject<CGraphImageExtExt>(bytes);
    EXPECT_EQ(saveObject(*back), bytes);
    EXPECT_FALSE(back->IsSelected());
    EXPECT_EQ(back->GetPenWidth(), 0);
    EXPECT_EQ(back->GetFileName(), "C:\\Bilder\\logo.png");
    EXPECT_EQ(back->GetColumnNumber(), 3);
    EXPECT_TRUE(back->GetStretch());
    EXPECT_EQ(back->GetSourceWindow().top, 80);

    // 169 has no column number; 161 ends after the image record.
    CGraphImageExt ext;
    ext.SetImageSourceMode(2);
    const std::string extBytes = saveObject(ext);
    EXPECT_EQ(extBytes.size(), 16u + 13u + 128u + 2u + 44u);
    EXPECT_EQ(saveObject(*loadObject<CGraphImageExt>(extBytes)), extBytes);
    CGraphImage base;
    EXPECT_EQ(saveObject(base).size(), 16u + 13u + 128u + 2u);

    // A metafile holder inside a 189 record.
    CGraphImageExtExt meta;
    ASSERT_TRUE(meta.SetImageFile("a.wmf"));
    static_cast<CImageMetafile*>(meta.GetHolder())->SetMetafile(wmftest::Builder().bits(), 100, 200);
    const std::string metaBytes = saveObject(meta);
    EXPECT_EQ(saveObject(*loadObject<CGraphImageExtExt>(metaBytes)), metaBytes);
}

TEST(GraphImage, DamagedImageRecords)
{
    CGraphImageExtExt o;
    std::string bytes = saveObject(o);
    // An unknown holder tag: nothing after it can be read.
    bytes[157] = char(200);
    auto bad = loadObject<CGraphImageExtExt>(bytes, ReadStatus::Damaged);
    EXPECT_FALSE(bad->GetHolder());
    // A record cut short.
    loadObject<CGraphImageExtExt>(saveObject(o).substr(0, 100), ReadStatus::Truncated);
    loadObject<CGraphImageExtExt>(saveObject(o).substr(0, saveObject(o).size() - 1), ReadStatus::Truncated);
}

TEST(GraphImage, FileNamesChooseHolders)
{
    CGraphImageExtExt o;
    ASSERT_TRUE(o.SetImageFile("PHOTO.JPEG"));
    EXPECT_EQ(o.GetHolder()->GetTypeTag(), kTagImageBitmapNew);
    ASSERT_TRUE(o.SetImageFile("x.wmf"));
    EXPECT_EQ(o.GetHolder()->GetTypeTag(), kTagImageMetafile);
    ASSERT_TRUE(o.SetImageFile("x.gif"));
    EXPECT_FALSE(o.GetHolder());
    // A name the record cannot hold is refused.
    EXPECT_FALSE(o.SetImageFile(std::string(128, 'a') + ".png"));
    EXPECT_EQ(o.GetFileName(), "x.gif");
    // In table mode the file cannot be set.
    o.SetSourceType(0);
    EXPECT_EQ(o.GetImageSourceMode(), 2);
    EXPECT_EQ(o.GetSourceType(), 0);
    EXPECT_FALSE(o.HasImageFile());
    EXPECT_FALSE(o.SetImageFile("y.png"));
    o.SetSourceType(1);
    EXPECT_EQ(o.GetSourceType(), 1);
    o.SetImageSourceMode(3);
    EXPECT_EQ(o.GetImageSourceMode(), 1);
}

TEST(GraphImage, SourceColumnTexts)
{
    CGraphImageExtExt o;
    std::string text = "unchanged";
    EXPECT_FALSE(o.GetSourceColumnText(text));
    o.SetImageSourceMode(2);
    ASSERT_TRUE(o.GetSourceColumnText(text));
    EXPECT_EQ(text, "Image 1");
    EXPECT_TRUE(o.SetSourceColumnTextChecked("Image 3"));
    EXPECT_EQ(o.GetColumnNumber(), 2);
    EXPECT_TRUE(o.SetSourceColumnTextChecked("Image 7"));
    EXPECT_EQ(o.GetColumnNumber(), 2);
    EXPECT_TRUE(o.SetSourceColumnTextChecked("4"));
    EXPECT_EQ(o.GetColumnNumber(), 3);
    EXPECT_FALSE(o.SetSourceColumnTextChecked("Image"));
    EXPECT_FALSE(o.SetSourceColumnTextChecked(""));
    o.SetColumnNumber(-1);
    text = "kept";
    EXPECT_TRUE(o.GetSourceColumnText(text));
    EXPECT_EQ(text, "kept");
}

std::string pathFor(const CGraphImageExt& o, int label, const CDataTableBase* table, const CDataTableMap* map)
{
    return o.GetImagePathForRow(DrawContext{.labelNumber = label, .table = table, .columnMap = map});
}

TEST(GraphImage, PathForRowFollowsImageColumnsAndTheMap)
{
    CDataTableBase table;
    table.SetColumnFlag(1, 1); // B
    table.SetColumnFlag(3, 1); // D
    table.SetCellText(0, 0, "a0.png");
    table.SetCellText(0, 1, "b0.png");
    table.SetCellText(0, 3, "d0.png");
    table.SetCellText(2, 3, "d2.png");
    CGraphImageExtExt o;
    EXPECT_EQ(pathFor(o, 1, &table, nullptr), "b0.png");
    EXPECT_EQ(pathFor(o, 1, &table, nullptr), "b0.png");
    o.SetColumnNumber(1);
    EXPECT_EQ(pathFor(o, 1, &table, nullptr), "d0.png");
    EXPECT_EQ(pathFor(o, 3, &table, nullptr), "d2.png");
    EXPECT_EQ(pathFor(o, 2, &table, nullptr), "");
    EXPECT_EQ(pathFor(o, 0, &table, nullptr), "");
    EXPECT_EQ(pathFor(o, 1, nullptr, nullptr), "");
    o.SetColumnNumber(2);
    EXPECT_EQ(pathFor(o, 1, &table, nullptr), ""); // no third image column

    // Through a column map: filtered column 0 shows full column 3 (D).
    CDataTableMap map;
    map.Clear();
    map.FindOrAdd(3);
    o.SetColumnNumber(1);
    EXPECT_EQ(pathFor(o, 1, &table, &map), "a0.png");
    o.SetColumnNumber(0); // B is not in the map
    EXPECT_EQ(pathFor(o, 1, &table, &map), "");
    // An image flag beyond the table's columns names no cell.
    CDataTableBase wide;
    wide.SetColumnFlag(40, 1);
    wide.SetCellText(0, 0, "not this");
    CGraphImageExt first;
    EXPECT_EQ(pathFor(first, 1, &wide, nullptr), "");
}

TEST(GraphImage, TableModeDrawsEachRowsFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(solid(10, 10, qRgb(255, 0, 0)).save(dir.filePath("Red.png"), "PNG"));
    CDataTableBase table;
    table.SetColumnFlag(0, 1);
    table.SetCellText(0, 0, (dir.path() + "/red.PNG").toStdString());
    table.SetCellText(1, 0, "");

    CGraphImageExtExt o;
    squareBox(o);
    o.SetImageSourceMode(2);
    QImage target = testsupport::whiteImage(120, 120);
    CDC dc(&target);
    RecordWriter before;
    o.Save(before);
    ASSERT_TRUE(o.Draw(argsFor(dc, 1, kDrawPrinting, &table)));
    EXPECT_EQ(testsupport::countPixels(target, 0xFF0000), 100 * 100);
    ASSERT_TRUE(o.GetRowHolder());
    // The row's picture is the drawing's own: the object is as it was.
    EXPECT_TRUE(o.GetFileName().empty());
    RecordWriter after;
    o.Save(after);
    EXPECT_EQ(after.data(), before.data());

    // An empty cell: nothing shown.
    target = testsupport::whiteImage(120, 120);
    CDC dc2(&target);
    ASSERT_TRUE(o.Draw(argsFor(dc2, 2, kDrawPrinting, &table)));
    EXPECT_FALSE(o.GetRowHolder());
    EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 120 * 120);
}

TEST(GraphImage, PlaceholderInTheDesignView)
{
    CGraphImageExtExt o;
    squareBox(o);
    o.SetImageSourceMode(2);
    ASSERT_TRUE(o.SetSourceColumnTextChecked("Image 1"));
    QImage plain = testsupport::whiteImage(120, 120);
    CDC dc(&plain);
    ASSERT_TRUE(o.Draw(argsFor(dc, 4, kDrawDesign, nullptr, true)));
    QImage numbered = testsupport::whiteImage(120, 120);
    CDC dc2(&numbered);
    ASSERT_TRUE(o.Draw(argsFor(dc2, 4, kDrawDesign | kDrawLabelNumbers, nullptr, true)));
    const int plainInk = 120 * 120 - testsupport::countPixels(plain, 0xFFFFFF);
    const int numberedInk = 120 * 120 - testsupport::countPixels(numbered, 0xFFFFFF);
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(numberedInk, plainInk); // "[Image 1:5]" is longer than "[Image 1]"
    // The text stays inside the box; the file mode shows no placeholder.
    for (int y = 0; y < 120; ++y)
        for (int x = 100; x < 120; ++x)
            EXPECT_EQ(numbered.pixel(x, y) | 0xFF000000u, 0xFFFFFFFFu);
    o.SetImageSourceMode(1);
    QImage fileMode = testsupport::whiteImage(120, 120);
    CDC dc3(&fileMode);
    ASSERT_TRUE(o.Draw(argsFor(dc3, 4, kDrawDesign, nullptr, true)));
    EXPECT_EQ(testsupport::countPixels(fileMode, 0xFFFFFF), 120 * 120);
}

TEST(GraphImage, FrameAndNullHolder)
{
    CGraphImageExtExt o;
    squareBox(o);
    QImage target = testsupport::whiteImage(120, 120);
    CDC dc(&target);
    DrawArgs a = argsFor(dc, -1, kDrawDesign, nullptr);
    a.frame = true;
    ASSERT_TRUE(o.Draw(a)); // no holder: only the frame
    EXPECT_EQ(target.pixel(50, 0) | 0xFF000000u, 0xFF000000u);
    EXPECT_EQ(target.pixel(50, 50) | 0xFF000000u, 0xFFFFFFFFu);
}

TEST(GraphImage, RotationTurnsBoxAndPicture)
{
    CGraphImageExtExt o;
    o.SetWidth(20000);
    o.SetHeight(10000);
    ASSERT_TRUE(o.SetImageFile("w.png"));
    auto* holder = static_cast<CImageBitmapNew*>(o.GetHolder());
    holder->SetPacked(dib::ImageToPacked24(solid(6, 3, 0)));
    o.Rotate90(10000, 5000, 1);
    EXPECT_EQ(o.GetWidth(), 10000);
    EXPECT_EQ(o.GetHeight(), 20000);
    EXPECT_EQ(holder->Width(), 3);
    o.Rotate90(10000, 5000, 2); // not a quarter turn
    EXPECT_EQ(o.GetWidth(), 10000);

    // A metafile cannot turn: box and picture stay.
    CGraphImageExtExt m;
    m.SetWidth(20000);
    m.SetHeight(10000);
    ASSERT_TRUE(m.SetImageFile("a.wmf"));
    m.Rotate90(0, 0, -1);
    EXPECT_EQ(m.GetWidth(), 20000);
    EXPECT_EQ(m.GetX(), 0);
    // Without a holder only the box turns.
    CGraphImageExtExt none;
    none.SetWidth(20000);
    none.SetHeight(10000);
    none.Rotate90(0, 0, -1);
    EXPECT_EQ(none.GetWidth(), 10000);
}

TEST(GraphImage, CloneCopiesEverythingDeeply)
{
    CGraphImageExtExt o;
    ASSERT_TRUE(o.SetImageFile("w.png"));
    static_cast<CImageBitmapNew*>(o.GetHolder())->SetPacked(dib::ImageToPacked24(solid(6, 3, 0)));
    o.SetColumnNumber(2);
    o.SetStretch(true);
    o.SetSelected(true);
    auto copy = o.Clone();
    EXPECT_EQ(saveObject(*copy), saveObject(o));
    EXPECT_TRUE(copy->IsSelected());
    auto* c = static_cast<CGraphImageExtExt*>(copy.get());
    ASSERT_NE(c->GetHolder(), o.GetHolder());
    c->GetHolder()->Rotate(1);
    EXPECT_EQ(static_cast<CImageBitmapNew*>(o.GetHolder())->Width(), 6);
}

TEST(GraphImage, PasteAndNaturalSize)
{
    CGraphImageExtExt o;
    o.SetImageSourceMode(2);
    o.SetStretch(true);
    o.SetCentered(true);
    o.InitFromClipboard(CGraphImageExtExt::kClipboardDib, dib::ImageToPacked24(solid(96, 192, 0)));
    EXPECT_EQ(o.GetWidth(), 25400);
    EXPECT_EQ(o.GetHeight(), 50800);
    EXPECT_EQ(o.GetImageSourceMode(), 1);
    EXPECT_FALSE(o.GetStretch());
    EXPECT_FALSE(o.GetCentered());
    EXPECT_EQ(o.GetAspectPercent(), 200);
    ASSERT_TRUE(o.ResetToNaturalSize());
    EXPECT_EQ(o.GetWidth(), (96 * 508 + 3) / 6);
    CRecordingUi ui;
    UiScope installed(ui);
    EXPECT_TRUE(o.CopyToClipboard());
    ASSERT_TRUE(ui.clipboardImage);
    EXPECT_EQ(ui.clipboardImage->size(), QSize(96, 192));

    o.InitFromClipboard(2, "bitmap handle");
    EXPECT_FALSE(o.GetHolder());
    EXPECT_EQ(o.GetWidth(), 10000);
}

TEST(GraphImage, EditContentAsksForAFile)
{
    CGraphImageExtExt o;
    EXPECT_FALSE(o.EditContent()); // nobody to ask: cancelled

    CRecordingUi ui;
    UiScope installed(ui);
    ui.fileNames = {std::nullopt, QString::fromUtf8("/tmp/bild\xc3\xa4.WMF"), "/" + QString(200, 'a') + ".png"};
    EXPECT_FALSE(o.EditContent());
    EXPECT_FALSE(o.GetHolder());
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].kind, CRecordingUi::DialogKind::Open);
    EXPECT_EQ(ui.fileDialogs[0].request.filter, "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||");
    EXPECT_EQ(ui.fileDialogs[0].request.defaultExtension, "jpg");
    EXPECT_TRUE(ui.fileDialogs[0].request.folder.endsWith("/Clipart"));
    ASSERT_TRUE(o.EditContent());
    EXPECT_EQ(o.GetFileName(), "/tmp/bild\xe4.WMF");
    EXPECT_EQ(o.GetHolder()->GetTypeTag(), kTagImageMetafile);

    EXPECT_FALSE(o.EditContent());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(o.GetHolder()->GetTypeTag(), kTagImageMetafile);
}
