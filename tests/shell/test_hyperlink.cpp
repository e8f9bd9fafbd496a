// The hyperlink control: colours by state, the hover re-check when another
// window takes the pointer, and opening the target on a click inside.
#include "platform/recordingui.h"
#include "shell/hyperlink.h"

#include <QCursor>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void enter(CHyperLink& link)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), link.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&link, &event);
}

int pixelsOf(const QImage& image, unsigned rgb)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFFu) == rgb;
    return n;
}

} // namespace

TEST(HyperLink, SizeColoursAndTooltip)
{
    CRecordingUi ui;
    ui.colours[SystemColour::ButtonFace] = RGB(10, 200, 30);
    ui.colours[SystemColour::ButtonShadow] = RGB(120, 121, 122);
    UiScope scope(ui);
    CHyperLink link;
    link.SetText(QStringLiteral("Home page"));
    const QSize one = link.size();
    link.SetText(QStringLiteral("Home page\nsecond line"));
    EXPECT_GE(link.height(), 2 * (one.height() - 2 * CHyperLink::kMargin));
    link.SetText(QStringLiteral("HHHH"));
    link.SetDefaultURL();
    EXPECT_TRUE(link.GetURL().isLocalFile());
    EXPECT_EQ(link.toolTip(), link.GetURL().toLocalFile());
    EXPECT_EQ(link.toolTipDuration(), 1600);
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);

    // Plain: blue on the button face; hovered: red; disabled: button shadow.
    QImage image = link.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFu, 0x0AC81Eu);
    EXPECT_GT(pixelsOf(image, 0x0000FF), 10);
    EXPECT_EQ(pixelsOf(image, 0xFF0000), 0);
    enter(link);
    EXPECT_TRUE(link.IsHover());
    image = link.grab().toImage();
    EXPECT_GT(pixelsOf(image, 0xFF0000), 10);
    link.setEnabled(false);
    EXPECT_EQ(link.TextColour(), RGB(120, 121, 122));
}

TEST(HyperLink, HoverClearsAtTheNextRecheckWhenAWindowCoversThePointer)
{
    CHyperLink link;
    link.SetText(QStringLiteral("link"));
    link.move(100, 100);
    link.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&link));
    QCursor::setPos(link.mapToGlobal(QPoint(3, 3)));
    enter(link);
    ASSERT_TRUE(link.IsHover());
    auto* recheck = link.findChild<QTimer*>(QStringLiteral("recheck"));
    ASSERT_NE(recheck, nullptr);
    EXPECT_EQ(recheck->interval(), CHyperLink::kRecheckInterval);
    QSignalSpy rechecked(recheck, &QTimer::timeout);

    // While the pointer stays over the link the re-check keeps the hover.
    ASSERT_TRUE(rechecked.wait());
    EXPECT_TRUE(link.IsHover());

    // A window opens over the link; no leave reaches the link, the next
    // re-check clears the hover.
    QWidget cover;
    cover.setGeometry(link.geometry().adjusted(-20, -20, 20, 20));
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    if (link.IsHover()) {
        ASSERT_TRUE(rechecked.wait());
    }
    EXPECT_FALSE(link.IsHover());
    EXPECT_FALSE(recheck->isActive());
}

TEST(HyperLink, ALeaveClearsHoverAtOnce)
{
    CHyperLink link;
    link.SetText(QStringLiteral("link"));
    link.show();
    QCursor::setPos(link.mapToGlobal(QPoint(-50, -50)));
    enter(link);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.IsHover());
}

TEST(HyperLink, AReleaseInsideOpensTheTargetAndOneOutsideDoesNot)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CHyperLink link;
    link.SetText(QStringLiteral("a link text"));
    link.SetURL(QUrl::fromLocalFile(QStringLiteral("/tmp/readme.md")));
    link.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&link));

    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(link.IsPressed());
    EXPECT_EQ(link.TextColour(), CHyperLink::kPressedColour);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(link.width() + 30, 3));
    EXPECT_FALSE(link.IsPressed());
    EXPECT_TRUE(ui.shellOpens.empty());

    // A local file opens through the desktop ...
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(ui.shellOpens.size(), 1u);
    EXPECT_EQ(ui.shellOpens[0], QStringLiteral("/tmp/readme.md"));
    EXPECT_TRUE(ui.messages.empty());
    // ... and when nothing can open it, the user learns where it is.
    ui.desktopWorks = false;
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("/tmp/readme.md"), std::string::npos);
}

