// The About box and its splash form; the in-place editor's font and bytes.
#include "platform/font.h"
#include "shell/aboutdlg.h"
#include "shell/hyperlink.h"
#include "shell/inplaceedit.h"
#include "typing.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

TEST(AboutDlg, ShowsVersionLogoAndLinkAndClosesWithEnter)
{
    CAboutDlg dialog;
    EXPECT_FALSE(dialog.IsSplash());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+\\.\\d+$"))
                    .match(CAboutDlg::VersionText())
                    .hasMatch())
        << CAboutDlg::VersionText().toStdString();
    bool versionShown = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        versionShown |= label->text() == CAboutDlg::VersionText();
    EXPECT_TRUE(versionShown);
    ASSERT_FALSE(dialog.Logo()->pixmap().isNull());
    EXPECT_EQ(dialog.Logo()->size(), QSize(216, 40));
    EXPECT_EQ(dialog.Logo()->pixmap().size(), QSize(216, 40));
    EXPECT_EQ(dialog.Link()->GetURL(), CHyperLink::DefaultURL());

    dialog.show();
    EXPECT_TRUE(dialog.OkButton()->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AboutDlg, SplashHasNoFrameNorOkButton)
{
    CAboutDlg splash(true);
    splash.show();
    EXPECT_TRUE(splash.IsSplash());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(splash.OkButton()->isVisible());
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Vorteplan Software"));
}

TEST(InPlaceEdit, UsesTheMappedFontAndTheFontsCodePage)
{
    LOGFONTA lf;
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    SetFaceName(lf, "Arial");
    CInPlaceEdit edit(lf);
    EXPECT_EQ(edit.font(), gdifont::ToQFont(lf, &edit));
    EXPECT_TRUE(edit.font().bold());

    edit.show();
    shelltest::typeText(&edit, QStringLiteral("\u00E4\u20AC"));
    EXPECT_EQ(edit.GetText(), "\xE4\x80");
    edit.SetText("x\xFC");
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("x\u00FC"));
}

TEST(InPlaceEdit, TextsKeepTheModelsLineEnds)
{
    LOGFONTA lf;
    SetFaceName(lf, "Arial");
    CInPlaceEdit edit(lf);
    // The model separates lines with CR LF; the editor must give them back
    // so, also for lines typed into it.
    edit.SetText("one\r\ntwo\r\n\r\nthree");
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("one\ntwo\n\nthree"));
    EXPECT_EQ(edit.GetText(), "one\r\ntwo\r\n\r\nthree");
    edit.show();
    edit.moveCursor(QTextCursor::End);
    QTest::keyClick(&edit, Qt::Key_Return);
    shelltest::typeText(&edit, QStringLiteral("four"));
    EXPECT_EQ(edit.GetText(), "one\r\ntwo\r\n\r\nthree\r\nfour");

    // A symbol font keeps its line breaks as line breaks.
    lf.lfCharSet = SYMBOL_CHARSET;
    CInPlaceEdit symbol(lf);
    symbol.SetText("\xB7\r\n\x41");
    EXPECT_EQ(symbol.toPlainText().count(QLatin1Char('\n')), 1);
    EXPECT_EQ(symbol.GetText(), "\xB7\r\n\x41");
}
