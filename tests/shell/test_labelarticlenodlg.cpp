// The article-number dialog over a real label definition.
#include "document/label/labelfile.h"
#include "platform/recordingui.h"
#include "shell/labelarticlenodlg.h"
#include "typing.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Fixture {
    CRecordingUi ui;
    UiScope scope{ui};
    CLabelFileNewArticleNo label;
    std::unique_ptr<CLabelArticleNoDlg> dialog;

    void open()
    {
        dialog = std::make_unique<CLabelArticleNoDlg>(label);
        dialog->show();
    }
    QListWidget* list() { return dialog->findChild<QListWidget*>(QStringLiteral("all")); }
    QLineEdit* edit() { return dialog->findChild<QLineEdit*>(QStringLiteral("new")); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(QLatin1String(name)); }
    QStringList shown()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    void add(const QString& text)
    {
        edit()->clear();
        shelltest::typeText(edit(), text);
        QTest::mouseClick(button("add"), Qt::LeftButton);
    }
};

} // namespace

TEST(LabelArticleNoDlg, OpensWithTheNumbersAndAddsAndDeletes)
{
    Fixture f;
    ASSERT_TRUE(f.label.AddArticleNumber("A-1"));
    ASSERT_TRUE(f.label.AddArticleNumber("B-2"));
    f.open();
    EXPECT_EQ(f.dialog->windowTitle(), QStringLiteral("Enter article number"));
    EXPECT_EQ(f.shown(), (QStringList{"A-1", "B-2"}));

    f.add(QStringLiteral("C-\u00C43"));
    EXPECT_EQ(f.ui.beeps, 0);
    EXPECT_TRUE(f.edit()->text().isEmpty());
    EXPECT_EQ(f.label.GetArticleNumber(2), "C-\xC4"
                                           "3");
    EXPECT_EQ(f.shown(), (QStringList{"A-1", "B-2", QStringLiteral("C-\u00C43")}));

    // A number already there (in any case) is refused with the beep and kept in the edit.
    f.add(QStringLiteral("a-1"));
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_EQ(f.edit()->text(), QStringLiteral("a-1"));

    // Delete without a selection does nothing; with one it removes that entry.
    QTest::mouseClick(f.button("delete"), Qt::LeftButton);
    EXPECT_EQ(f.label.GetArticleNumberCount(), 3);
    EXPECT_EQ(f.ui.beeps, 1);
    f.list()->setCurrentRow(1);
    QTest::mouseClick(f.button("delete"), Qt::LeftButton);
    EXPECT_EQ(f.shown(), (QStringList{"A-1", QStringLiteral("C-\u00C43")}));
    EXPECT_EQ(f.label.GetArticleNumberCount(), 2);
}

TEST(LabelArticleNoDlg, TheHundredAndFirstNumberBeepsAndChangesNothing)
{
    Fixture f;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(f.label.AddArticleNumber("N" + std::to_string(i)));
    f.open();
    ASSERT_EQ(f.list()->count(), 100);
    f.add(QStringLiteral("N100"));
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_EQ(f.list()->count(), 100);
    EXPECT_EQ(f.label.GetArticleNumberCount(), 100);
    EXPECT_EQ(f.edit()->text(), QStringLiteral("N100"));

    // An empty edit is refused the same way.
    f.add(QString());
    EXPECT_EQ(f.ui.beeps, 2);

    // The edit takes 256 characters at most.
    f.edit()->clear();
    QTest::keyClicks(f.edit(), QString(300, QLatin1Char('7')));
    EXPECT_EQ(f.edit()->text().size(), 256);
}

TEST(LabelArticleNoDlg, AnEmptyDefinitionListsNothingAndEnterCloses)
{
    Fixture f;
    CLabelFileNew plain; // a definition without article numbers refuses every one
    auto dialog = std::make_unique<CLabelArticleNoDlg>(plain);
    dialog->show();
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("new"));
    QTest::keyClicks(edit, QStringLiteral("X1"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("add")), Qt::LeftButton);
    EXPECT_EQ(f.ui.beeps, 1);
    EXPECT_EQ(dialog->findChild<QListWidget*>(QStringLiteral("all"))->count(), 0);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}
