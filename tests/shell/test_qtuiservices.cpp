// The Qt user interface over the real (offscreen) clipboard: a cached
// format list, foreign payloads bounded or refused, the program's own
// formats, the desktop calls, and the system look.
#include "shell/mimereader.h"
#include "shell/qtuiservices.h"

#include "platform/recordingui.h"
#include "support/bytes.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>
#include <QStyle>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

void putMime(const std::vector<std::pair<QString, QByteArray>>& entries)
{
    auto* mime = new QMimeData;
    for (const auto& [type, bytes] : entries)
        mime->setData(type, bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
}

// A .bmp file header claiming `width` x `height` at 24 bits, with `pixels`
// bytes of pixel data following (not necessarily enough).
QByteArray bmpHeader(int width, int height, int pixels)
{
    testsupport::Bytes h;
    h.raw("BM").i32(54 + pixels).i32(0).i32(54);
    h.i32(40).i32(width).i32(height).i16(1).i16(24).i32(0).i32(0).i32(2835).i32(2835).i32(0).i32(0);
    QByteArray b = QByteArray::fromStdString(h.s);
    b.append(QByteArray(pixels, '\x7F'));
    return b;
}

uint32_t crc32(const QByteArray& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= uint8_t(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void be32(QByteArray& b, uint32_t v)
{
    b.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void pngChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    be32(png, uint32_t(data.size()));
    const QByteArray chunk = QByteArray(type) + data;
    png += chunk;
    be32(png, crc32(chunk));
}

// A PNG claiming `width` x `height` with a few bytes of image data.
QByteArray pngHeaderOnly(uint32_t width, uint32_t height)
{
    QByteArray header;
    be32(header, width);
    be32(header, height);
    header.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    pngChunk(png, "IHDR", header);
    pngChunk(png, "IDAT", QByteArray("\x78\x9C\x03\x00", 4));
    pngChunk(png, "IEND", {});
    return png;
}

} // namespace

TEST(QtUiServices, FormatsComeFromACacheRefreshedWhenTheClipboardChanges)
{
    CQtUiServices ui;
    putMime({{"text/plain", "x"}, {"image/x-wmf", "w"}, {"VPW4_OBJECTS_NEW", QByteArray(1, '\0')}});
    // An objects marker this process did not put there announces nothing.
    EXPECT_EQ(ui.ClipboardFormats(),
              (std::vector<ClipboardFormat>{ClipboardFormat::Text, ClipboardFormat::Metafile}));

    const int queries = ui.LiveClipboardQueries();
    for (int pass = 0; pass < 1000; ++pass)
        ui.ClipboardFormats();
    EXPECT_EQ(ui.LiveClipboardQueries(), queries);

    ui.SetClipboardObjectsMarker();
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Objects});
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("VPW4_OBJECTS_NEW"), QByteArray(1, '\0'));
}

TEST(QtUiServices, TextCrossesInTheRequestedCodePageWithCrLf)
{
    CQtUiServices ui;
    QGuiApplication::clipboard()->setText(QStringLiteral(u"\u00C4\u20AC\u0416\n2"));
    EXPECT_EQ(ui.ClipboardText(), "\xC4\x80?\r\n2");
    EXPECT_EQ(ui.ClipboardText(1251), "?\x88\xC6\r\n2");
    ASSERT_TRUE(ui.SetClipboardText("\xE4\r\nb"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(u"\u00E4\r\nb"));
}

TEST(QtUiServices, ForeignPayloadsAreBoundedOrRefused)
{
    CRecordingUi recording;
    UiScope scope(recording);
    CQtUiServices ui;

    // 10 MB of text is cut to the limit, on a whole line end.
    QByteArray text(10 * 1000 * 1000, 'a');
    for (qsizetype i = 99; i < text.size(); i += 100)
        text[i] = '\n';
    putMime({{"text/plain", text}});
    const std::optional<std::string> cut = ui.ClipboardText();
    ASSERT_TRUE(cut);
    EXPECT_LE(cut->size(), kMaxClipboardTextBytes);
    EXPECT_GT(cut->size(), kMaxClipboardTextBytes - 2);
    EXPECT_NE(cut->back(), '\r');

    // 20000 x 20000 pictures are refused from their header, each with a
    // message.
    putMime({{"image/png", pngHeaderOnly(20000, 20000)}});
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Image});
    EXPECT_FALSE(ui.ClipboardImage());
    putMime({{"image/bmp", bmpHeader(20000, 20000, 64)}});
    EXPECT_FALSE(ui.ClipboardImage());
    // So is a BMP file of 16777210 x 3 pixels in 18 bytes of runs, far more
    // than those bytes are worth.
    testsupport::Bytes runs;
    runs.i32(14 + 40 + 8 + 18).i32(0).i32(14 + 40 + 8);
    runs.i32(40).i32(16777210).i32(3).i16(1).i16(8).i32(1).i32(18).i32(2835).i32(2835).i32(2).i32(0);
    runs.i32(0xFF0000).i32(0x0000FF);
    runs.raw(std::string("\xff\1\0\0\xff\1\0\0\0\2\x10\0\xff\1\0\0\0\1", 18));
    putMime({{"image/bmp", "BM" + QByteArray::fromStdString(runs.s)}});
    EXPECT_FALSE(ui.ClipboardImage());
    ASSERT_EQ(recording.messages.size(), 3u);
    EXPECT_EQ(recording.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(recording.messages[1].text, recording.messages[0].text);
    EXPECT_EQ(recording.messages[2].text, recording.messages[0].text);

    // A small picture is decoded to 24 bits.
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(qRgb(10, 20, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    putMime({{"application/octet-stream", "zz"}, {"image/png", png}});
    const std::optional<QImage> image = ui.ClipboardImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format(), QImage::Format_RGB888);
    EXPECT_EQ(image->pixel(2, 1), qRgb(10, 20, 30));

    // WMF bytes come as they are.
    putMime({{"image/wmf", QByteArray("\xD7\xCD\xC6\x9A junk", 9)}});
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Metafile});
    EXPECT_EQ(ui.ClipboardMetafile(), std::string("\xD7\xCD\xC6\x9A junk", 9));

    // Garbage under every type: nothing crashes, nothing is decoded.
    const QByteArray garbage("\xFF\xFE\x00\xC3\x28\x89PNG\x1A", 11);
    putMime({{"text/plain", garbage}, {"image/png", garbage}, {"image/bmp", garbage}, {"image/jpeg", garbage},
             {"image/x-wmf", garbage}, {"VPW4_OBJECTS_NEW", garbage}, {"text/uri-list", garbage}});
    EXPECT_TRUE(ui.ClipboardText());
    EXPECT_FALSE(ui.ClipboardImage());
    EXPECT_EQ(ui.ClipboardMetafile()->size(), size_t(garbage.size()));
    EXPECT_TRUE(CMimeReader::LocalFiles(QGuiApplication::clipboard()->mimeData()).isEmpty());
    EXPECT_EQ(recording.messages.size(), 3u); // no more than the three above
}

TEST(QtUiServices, OwnPicturesAndDroppedFiles)
{
    CQtUiServices ui;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(ui.SetClipboardImage(image, {}));
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Image});
    ASSERT_TRUE(ui.ClipboardImage());
    EXPECT_EQ(ui.ClipboardImage()->pixel(0, 0), qRgb(0, 0, 255));

    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile("/data/a b.proj"), QUrl("https://example.com/x.proj")});
    EXPECT_EQ(CMimeReader::LocalFiles(&drop), QStringList{"/data/a b.proj"});
}

TEST(QtUiServices, DesktopCallsAndSystemLook)
{
    EXPECT_EQ(CQtUiServices::MailCommand("/data/job 1.proj"),
              (QStringList{"xdg-email", "--attach", "/data/job 1.proj"}));

    CQtUiServices ui;
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(palette);
    EXPECT_EQ(ui.SystemColor(SystemColour::Highlight), RGB(1, 2, 3));
    EXPECT_EQ(ui.SystemColor(SystemColour::InfoBackground), RGB(4, 5, 6));
    QApplication::setPalette(saved);

    EXPECT_EQ(ui.SystemMetric(SystemMetricId::WheelScrollLines), QApplication::wheelScrollLines());
    EXPECT_EQ(ui.SystemMetric(SystemMetricId::DoubleClickTime), QApplication::doubleClickInterval());
    EXPECT_EQ(ui.SystemMetric(SystemMetricId::ScrollBarExtent),
              QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    EXPECT_EQ(ui.SystemMetric(SystemMetricId::LogPixelsX), 96);
    EXPECT_EQ(ui.MessageFont(), QApplication::font());

    {
        UiScope scope(ui);
        CWaitCursor wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
