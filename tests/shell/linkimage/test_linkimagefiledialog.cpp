// The link-image dialog over a real table view: the browser's folder scan,
// selection and drag onto the slots, desktop drops, Delete and the limits
// of a table cell.
#include "shell/linkimage/imagebrowser.h"
#include "shell/linkimage/imagewindow.h"
#include "shell/linkimage/linkimagefiledialog.h"
#include "platform/dib.h"
#include "support/bytes.h"
#include "support/tableview_fixture.h"

#include "support/widgettest.h"

#include <QComboBox>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include <unistd.h>

namespace {

class LinkImageTest : public tableviewtest::TableViewTest {
protected:
    void SetUp() override
    {
        TableViewTest::SetUp();
        fillColumn(12, "r", 2);
        QDir(path("pics")).mkpath(QStringLiteral("."));
    }
    void TearDown() override
    {
        dialog.reset();
        TableViewTest::TearDown();
    }
    void open(int imageColumns)
    {
        for (int c = 0; c < imageColumns; ++c)
            doc.ToggleImageColumn(c);
        focus(5, 3); // table row 4
        dialog = std::make_unique<CLinkImageFileDialog>(*view);
        dialog->SetFolder(path("pics"));
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QString picture(const QString& name, QColor colour = Qt::green)
    {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(colour);
        const QString file = path("pics/" + name);
        EXPECT_TRUE(image.save(file, "PNG"));
        return file;
    }
    void dropFiles(QWidget* target, const QStringList& files)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : files)
            urls.append(QUrl::fromLocalFile(f));
        mime.setUrls(urls);
        const QPointF at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    std::string image(int row, int column = 0) { return cell(row, column); }

    std::unique_ptr<CLinkImageFileDialog> dialog;
};

} // namespace

TEST_F(LinkImageTest, ScanKeepsTheFirst1024PicturesOfKnownKinds)
{
    // One empty file under every name (links need no new inode each).
    const QString first = path(QStringLiteral("pics/p0000.png"));
    {
        QFile f(first);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (int i = 1; i < 1500; ++i)
        ASSERT_EQ(::link(QFile::encodeName(first).constData(),
                         QFile::encodeName(path(QStringLiteral("pics/p%1.png").arg(i, 4, 10, QLatin1Char('0'))))
                             .constData()),
                  0);
    open(1);
    EXPECT_EQ(dialog->Browser()->Names().size(), CImageBrowser::kMaxNames);

    QDir(path("few")).mkpath(QStringLiteral("."));
    for (const char* name : {"a.gif", "b.tiff", "c.JPEG", "d.Wmf", "e.txt", "f.bmp"}) {
        QFile f(path(QStringLiteral("few/") + QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    dialog->SetFolder(path("few"));
    QStringList names = dialog->Browser()->Names();
    names.sort();
    EXPECT_EQ(names, (QStringList{"c.JPEG", "d.Wmf", "f.bmp"}));
    EXPECT_EQ(dialog->FolderCombo()->itemText(0), QDir::toNativeSeparators(path("few")));

    // A window narrower than one cell still lays out and paints.
    CImageBrowser narrow;
    narrow.resize(50, 200);
    ASSERT_TRUE(widgettest::ShowAndWait(&narrow));
    narrow.ScanFolder(path("few"));
    EXPECT_EQ(narrow.Columns(), 1);
    EXPECT_FALSE(narrow.grab().isNull());
    narrow.ScanFolder(path("nothing here"));
    EXPECT_EQ(narrow.verticalScrollBar()->maximum(), 0);

    // A picture 40 pixels wide and 150000 high (18 MB of 24-bit rows, in a
    // few bytes of runs) is shown a pixel wide: it is decoded at about that
    // size, small enough to be remembered, so that another browser over the
    // folder does not decode it again.
    QDir(path("thin")).mkpath(QStringLiteral("."));
    {
        testsupport::Bytes bmp;
        bmp.raw("BM").i32(14 + 40 + 8 + 4).i32(0).i32(14 + 40 + 8);
        bmp.i32(40).i32(40).i32(150000).i16(1).i16(8).i32(1).i32(4).i32(2835).i32(2835).i32(2).i32(0);
        bmp.i32(0xFF0000).i32(0x0000FF).raw(std::string("\x28\1\0\1", 4));
        QFile f(path("thin/thin.bmp"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bmp.s.data(), qint64(bmp.s.size()));
    }
    dib::ForgetPictureFiles();
    const uint64_t before = dib::CountPictureFileWork().decoded;
    for (int browser = 0; browser < 2; ++browser) {
        CImageBrowser thin;
        thin.resize(200, 200);
        ASSERT_TRUE(widgettest::ShowAndWait(&thin));
        thin.ScanFolder(path("thin"));
        thin.viewport()->repaint();
    }
    EXPECT_EQ(dib::CountPictureFileWork().decoded - before, 1u);
}

TEST_F(LinkImageTest, SlotsFollowTheImageColumns)
{
    open(2);
    EXPECT_TRUE(dialog->Slot(0)->isVisibleTo(dialog.get()));
    EXPECT_TRUE(dialog->Slot(1)->isVisibleTo(dialog.get()));
    EXPECT_FALSE(dialog->Slot(2)->isVisibleTo(dialog.get()));
    EXPECT_FALSE(dialog->Slot(3)->isVisibleTo(dialog.get()));
    EXPECT_EQ(dialog->RowEdit()->text(), QStringLiteral("5"));
}

TEST_F(LinkImageTest, DesktopDropFillsRowsDownwards)
{
    open(2);
    const QStringList files{picture("x.png"), picture("y.png"), picture("z.png")};
    dropFiles(dialog->Slot(0), files);
    EXPECT_EQ(image(4), files[0].toStdString());
    EXPECT_EQ(image(5), files[1].toStdString());
    EXPECT_EQ(image(6), files[2].toStdString());
    EXPECT_EQ(image(7), "");
    EXPECT_EQ(view->CurrentRow(), 5); // column B of the row is still empty
}

TEST_F(LinkImageTest, BrowserSelectionDraggedOntoASlotKeepsClickOrder)
{
    picture("a.png");
    picture("b.png");
    picture("c.png");
    open(1);
    CImageBrowser* browser = dialog->Browser();
    auto centre = [&](const char* name) {
        const int index = int(browser->Names().indexOf(QLatin1String(name)));
        EXPECT_GE(index, 0);
        const QRect cell = browser->CellRect(index);
        return cell.topLeft() + QPoint(CImageBrowser::kThumb / 2, CImageBrowser::kThumb / 2);
    };
    for (const char* name : {"c.png", "a.png", "b.png"})
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, centre(name));
    ASSERT_EQ(browser->GetSelectedCount(), 3);
    EXPECT_TRUE(browser->GetSelectedPath(0).endsWith(QStringLiteral("/c.png")));

    CImageWindow* slot = dialog->Slot(0);
    const QPoint onSlot = browser->viewport()->mapFromGlobal(slot->mapToGlobal(slot->rect().center()));
    widgettest::DragSteps(browser->viewport(), {centre("a.png"), centre("a.png") + QPoint(20, 20), onSlot});
    EXPECT_EQ(image(4), path("pics/c.png").toStdString());
    EXPECT_EQ(image(5), path("pics/a.png").toStdString());
    EXPECT_EQ(image(6), path("pics/b.png").toStdString());
    // The row's only image column is filled: Next follows.
    QApplication::processEvents();
    EXPECT_EQ(view->CurrentRow(), 6);
    EXPECT_EQ(dialog->RowEdit()->text(), QStringLiteral("6"));
}

TEST_F(LinkImageTest, FocusFrameDeleteAndOverlongPaths)
{
    open(1);
    const QString file = picture("solid.png", Qt::white);
    dropFiles(dialog->Slot(0), {file});
    QApplication::processEvents(); // Next was posted
    dialog->GoToPrevious();
    CImageWindow* slot = dialog->Slot(0);
    QApplication::setActiveWindow(dialog.get());
    slot->setFocus();
    const QImage shot = slot->grab().toImage();
    EXPECT_TRUE(slot->ShowsPicture());
    for (int d = 0; d < CImageWindow::kFocusFrame; ++d)
        EXPECT_EQ(shot.pixelColor(d, slot->height() / 2), QColor(0, 0, 128)) << d;
    EXPECT_EQ(shot.pixelColor(CImageWindow::kFocusFrame + 1, slot->height() / 2), QColor(Qt::white));

    QTest::keyClick(slot, Qt::Key_Delete);
    EXPECT_EQ(image(4), "");

    const QString deep = path(QString(280, QLatin1Char('d')) + ".png");
    ASSERT_GT(deep.toUtf8().size(), 300);
    dropFiles(slot, {file, deep});
    EXPECT_EQ(image(4), "");
    EXPECT_EQ(image(5), "");
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_NE(m_ui.messages[0].text.find(std::string(280, 'd')), std::string::npos);
}
