// The lock and unlock dialogs, typed into with real key events.
#include "platform/recordingui.h"
#include "shell/lockdocumentdialog.h"
#include "shell/unlockdocumentdialog.h"
#include "typing.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QLineEdit* edit(QWidget& dialog, const char* name)
{
    auto* e = dialog.findChild<QLineEdit*>(QLatin1String(name));
    EXPECT_NE(e, nullptr) << name;
    return e;
}

// Types into the named edit and presses Enter there.
void typeAndEnter(QDialog& dialog, const char* name, const QString& text)
{
    shelltest::typeText(edit(dialog, name), text);
    QTest::keyClick(edit(dialog, name), Qt::Key_Return);
}

bool saidBadPassword(const CRecordingUi& ui)
{
    return ui.messages.size() == 1 && ui.messages[0].text == "Bad password" && ui.messages[0].caption == "Error";
}

} // namespace

TEST(LockDocumentDialog, EqualPasswordsEndWithOkAndHandOverFlagAndBytes)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CLockDocumentDialog dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Lock document"));
    shelltest::typeText(edit(dialog, "password"), QStringLiteral("Gr\u00FCn\u20AC1"));
    typeAndEnter(dialog, "confirm", QStringLiteral("Gr\u00FCn\u20AC1"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.GetLockFlag());
    EXPECT_EQ(dialog.GetPassword(), "Gr\xFCn\x80"
                                    "1");
}

TEST(LockDocumentDialog, PasswordsDifferingInCaseAreRefusedAndTheDialogStays)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CLockDocumentDialog dialog;
    dialog.show();
    QTest::keyClicks(edit(dialog, "password"), QStringLiteral("Secret"));
    typeAndEnter(dialog, "confirm", QStringLiteral("secret"));
    EXPECT_TRUE(saidBadPassword(ui));
    EXPECT_TRUE(dialog.isVisible());

    // Escape cancels.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(LockDocumentDialog, TheEditsTakeAtMost32CharactersOfTheCodePage)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CLockDocumentDialog dialog;
    dialog.show();
    const QString typed = QString(33, QLatin1Char('x'));
    QTest::keyClicks(edit(dialog, "password"), typed);
    QTest::keyClicks(edit(dialog, "confirm"), typed);
    EXPECT_EQ(edit(dialog, "password")->text(), QString(32, QLatin1Char('x')));

    // A character cp1252 lacks is refused instead of being stored as '?'.
    QLineEdit* other = edit(dialog, "password");
    other->clear();
    shelltest::typeText(other, QStringLiteral("a\u03A9b"));
    EXPECT_EQ(other->text(), QStringLiteral("ab"));

    // The flag can be cleared with the keyboard.
    auto* lock = dialog.findChild<QCheckBox*>(QStringLiteral("lock"));
    ASSERT_NE(lock, nullptr);
    QTest::keyClick(lock, Qt::Key_Space);
    EXPECT_FALSE(dialog.GetLockFlag());
}

TEST(UnlockDocumentDialog, OnlyTheExactBytesUnlock)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CUnlockDocumentDialog dialog;
    dialog.SetExpectedPassword("Secret");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Unlock document"));
    typeAndEnter(dialog, "password", QStringLiteral("SECRET"));
    EXPECT_TRUE(saidBadPassword(ui));
    EXPECT_TRUE(dialog.isVisible());

    edit(dialog, "password")->clear();
    typeAndEnter(dialog, "password", QStringLiteral("Secret"));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(UnlockDocumentDialog, AnEmptyTextUnlocksOnlyAnEmptyPassword)
{
    CRecordingUi ui;
    UiScope scope(ui);
    {
        CUnlockDocumentDialog dialog;
        dialog.SetExpectedPassword("x");
        dialog.show();
        QTest::keyClick(edit(dialog, "password"), Qt::Key_Return);
        EXPECT_TRUE(saidBadPassword(ui));
        EXPECT_TRUE(dialog.isVisible());
    }
    {
        CUnlockDocumentDialog dialog;
        dialog.SetExpectedPassword("");
        dialog.show();
        QTest::keyClick(edit(dialog, "password"), Qt::Key_Return);
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}
