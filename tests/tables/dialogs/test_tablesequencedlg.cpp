// The sequence dialog: parsing and formatting in the four bases, the runs
// the table view writes with them, the checks at OK and the arrows.
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "tables/view/tableviewtest.h"
#include "tables/dialogs/tablesequencedlg.h"
#include "tables/dialogs/updownctrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The texts the table view writes down column A of an empty table when
// the accepted dialog's request runs from cell A1: the view's own fill.
Texts run(CTableSequenceDlg& d)
{
    QTemporaryDir dir;
    settings::SetStoreFolder(dir.filePath("config"));
    Texts out;
    {
        CVorteplanSoftLabelDoc doc;
        tableviewtest::RecordingHost host;
        CVorteplanSoftTableView view(&doc, &host);
        view.ItemChanged(1, 1);
        tablefill::SequenceRequest request = CVorteplanSoftTableView::SequenceRequestOf(d);
        request.cell = "A1";
        view.RunSequence(request);
        for (int r = 0; r < doc.GetTableRowCount(); ++r)
            out.push_back(doc.GetTableCellText(r, 0));
    }
    settings::SetStoreFolder({});
    return out;
}

struct Fixture {
    Fixture() { CTableSequenceDlg::ResetRemembered(); }
    ~Fixture() { CTableSequenceDlg::ResetRemembered(); }
    CRecordingUi ui;
    UiScope scope{ui};
};

QLineEdit* field(QWidget& d, const char* name)
{
    return d.findChild<QLineEdit*>(QLatin1String(name));
}

// Fills the dialog's fields and presses OK.
bool fillAndAccept(CTableSequenceDlg& d, const char* base, const QString& start, const QString& stop,
                   std::initializer_list<const char*> checks = {})
{
    d.findChild<QRadioButton*>(QLatin1String(base))->click();
    field(d, "start")->setText(start);
    field(d, "stop")->setText(stop);
    for (const char* c : checks)
        d.findChild<QCheckBox*>(QLatin1String(c))->setChecked(true);
    d.accept();
    return d.result() == QDialog::Accepted;
}

} // namespace

TEST(TableSequenceDlg, RunsOfTheFourBases)
{
    Fixture f;
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "decimal", "1", "10", {"leadingZero"}));
        EXPECT_EQ(run(d), (Texts{"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}));
    }
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "decimal", "001", "5", {"leadingZero"}));
        EXPECT_EQ(run(d), (Texts{"001", "002", "003", "004", "005"}));
    }
    {
        // Padded with the letter A, the digit 0, to the longer text.
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "alphabetic", "A", "AC"));
        EXPECT_EQ(run(d), (Texts{"AA", "AB", "AC"}));
    }
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "hex", "a", "1f", {"leadingZero"}));
        const Texts texts = run(d);
        ASSERT_EQ(texts.size(), 22u);
        EXPECT_EQ(texts.front(), "0a");
        EXPECT_EQ(texts[6], "10");
        EXPECT_EQ(texts.back(), "1f");
    }
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "hex", "a", "1f"));
        const Texts texts = run(d);
        EXPECT_EQ(texts.front(), "a");
        EXPECT_EQ(texts.back(), "1f");
    }
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "octal", "6", "11"));
        EXPECT_EQ(run(d), (Texts{"6", "7", "10", "11"}));
    }
    {
        CTableSequenceDlg d;
        ASSERT_TRUE(fillAndAccept(d, "decimal", "1", "5", {"reverse"}));
        EXPECT_EQ(run(d), (Texts{"5", "4", "3", "2", "1"}));
    }
    {
        // Counting down by a step, each value twice.
        CTableSequenceDlg d;
        field(d, "step")->setText("3");
        field(d, "copies")->setText("2");
        ASSERT_TRUE(fillAndAccept(d, "hex", "1", "b", {"reverse"}));
        EXPECT_EQ(run(d), (Texts{"b", "b", "8", "8", "5", "5", "2", "2"}));
    }
    {
        CTableSequenceDlg d;
        field(d, "copies")->setText("3");
        field(d, "sets")->setText("2");
        field(d, "prefix")->setText("W-");
        field(d, "suffix")->setText("/x");
        ASSERT_TRUE(fillAndAccept(d, "decimal", "1", "2"));
        EXPECT_EQ(run(d), (Texts{"W-1/x", "W-1/x", "W-1/x", "W-2/x", "W-2/x", "W-2/x", "W-1/x", "W-1/x", "W-1/x",
                                 "W-2/x", "W-2/x", "W-2/x"}));
    }
}

TEST(TableSequenceDlg, ParseValueAndTheLetterCase)
{
    Fixture f;
    CTableSequenceDlg d;
    d.SetBase(CTableSequenceDlg::Decimal);
    EXPECT_EQ(d.ParseValue("  42abc"), 42);
    EXPECT_EQ(d.ParseValue("2147483647"), INT32_MAX);
    EXPECT_EQ(d.ParseValue("2147483648"), 0);
    EXPECT_EQ(d.ParseValue("99999999999999999999999"), 0);
    d.SetBase(CTableSequenceDlg::Octal);
    EXPECT_EQ(d.ParseValue("777777777777"), 0);
    d.SetBase(CTableSequenceDlg::Hex);
    EXPECT_EQ(d.ParseValue("0x1F"), 31);
    EXPECT_TRUE(d.IsUpperCase());
    EXPECT_EQ(d.ParseValue("ff"), 255);
    EXPECT_FALSE(d.IsUpperCase());
    EXPECT_EQ(d.ParseValue("12"), 18);
    EXPECT_FALSE(d.IsUpperCase()); // no letters: the case stays
    EXPECT_EQ(d.ParseValue("80000000"), 0);
    EXPECT_EQ(d.ParseValue("7fffffff"), INT32_MAX);
    d.SetBase(CTableSequenceDlg::Alphabetic);
    EXPECT_EQ(d.ParseValue("BA"), 26);
    EXPECT_EQ(d.ParseValue("bA"), 26);
    EXPECT_TRUE(d.IsUpperCase()); // the last character decides
    EXPECT_EQ(d.ParseValue("Ab"), 1);
    EXPECT_FALSE(d.IsUpperCase());
    EXPECT_EQ(d.ParseValue("A1"), 0);
    EXPECT_EQ(d.ParseValue("ZZZZZZZZ"), 0);
    EXPECT_EQ(d.ParseValue("GYTISYX"), INT32_MAX);
    EXPECT_EQ(d.ParseValue("GYTISYY"), 0);
}

TEST(TableSequenceDlg, FormatValueLimits)
{
    Fixture f;
    CTableSequenceDlg d;
    d.SetBase(CTableSequenceDlg::Alphabetic);
    EXPECT_EQ(d.FormatValue(0), "A");
    EXPECT_EQ(d.FormatValue(26), "BA");
    EXPECT_EQ(d.FormatValue(INT32_MAX), "GYTISYX");
    // The fill is at most 19 characters, the whole text at most 255 bytes.
    d.SetBase(CTableSequenceDlg::Decimal);
    d.SetLeadingZero(true);
    d.SetStart(std::string(40, '0'));
    EXPECT_EQ(d.FormatValue(7), std::string(19, '0') + "7");
    d.SetPrefix(std::string(250, 'p'));
    d.SetSuffix("suffix");
    const std::string text = d.FormatValue(7);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(250), "00000");
    d.SetBase(CTableSequenceDlg::Hex);
    d.SetPrefix({});
    d.SetSuffix({});
    d.SetStart({});
    EXPECT_EQ(d.FormatValue(-1), "FFFFFFFF");
}

TEST(TableSequenceDlg, OkRefusesBadNumbersAndKeepsTheDialogOpen)
{
    Fixture f;
    CTableSequenceDlg d;
    d.show();
    field(d, "step")->setText("abc");
    d.accept();
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Enter an integer.");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), field(d, "step"));

    field(d, "step")->setText("0");
    d.accept();
    ASSERT_EQ(f.ui.messages.size(), 2u);
    EXPECT_EQ(f.ui.messages[1].text, "Enter an integer between 1 and 2000000000.");
    EXPECT_TRUE(d.isVisible());

    field(d, "step")->setText("2000000000");
    field(d, "sets")->setText("2000000001");
    d.accept();
    EXPECT_EQ(f.ui.messages.back().text, "Enter an integer between 1 and 2000000000.");
    EXPECT_EQ(d.focusWidget(), field(d, "sets"));
    EXPECT_TRUE(d.isVisible());
}

TEST(TableSequenceDlg, RemembersItsTextsAndBaseOnlyAfterOk)
{
    Fixture f;
    {
        CTableSequenceDlg d;
        d.SetCell("B3");
        EXPECT_EQ(field(d, "cell")->text(), QStringLiteral("B3"));
        field(d, "prefix")->setText(QStringLiteral("K\u00E4-"));
        field(d, "step")->setText("5");
        ASSERT_TRUE(fillAndAccept(d, "hex", "1", "9", {"insert"}));
        EXPECT_EQ(d.GetPrefix(), "K\xE4-");
        EXPECT_TRUE(d.GetInsert());
    }
    {
        CTableSequenceDlg d;
        EXPECT_EQ(field(d, "prefix")->text(), QStringLiteral("K\u00E4-"));
        EXPECT_EQ(field(d, "start")->text(), QStringLiteral("1"));
        EXPECT_EQ(field(d, "stop")->text(), QStringLiteral("9"));
        EXPECT_TRUE(d.findChild<QRadioButton*>("hex")->isChecked());
        EXPECT_EQ(field(d, "step")->text(), QStringLiteral("1"));
        EXPECT_FALSE(d.findChild<QCheckBox*>("insert")->isChecked());
        field(d, "start")->setText("77");
        d.reject();
    }
    CTableSequenceDlg d;
    EXPECT_EQ(field(d, "start")->text(), QStringLiteral("1"));
}

TEST(TableSequenceDlg, ArrowsAndTheLeadingZeroBox)
{
    Fixture f;
    CTableSequenceDlg d;
    d.show();
    auto* arrows = d.findChild<CUpDownCtrl*>("stepArrows");
    QTest::mouseClick(arrows->DownButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "step")->text(), QStringLiteral("0")); // no bound of their own
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "step")->text(), QStringLiteral("2"));
    field(d, "step")->setText("many");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "step")->text(), QStringLiteral("many"));

    auto* leadingZero = d.findChild<QCheckBox*>("leadingZero");
    QTest::mouseClick(d.findChild<QRadioButton*>("alphabetic"), Qt::LeftButton);
    EXPECT_FALSE(leadingZero->isEnabled());
    for (const char* base : {"decimal", "octal", "hex"}) {
        QTest::mouseClick(d.findChild<QRadioButton*>("alphabetic"), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QRadioButton*>(base), Qt::LeftButton);
        EXPECT_TRUE(leadingZero->isEnabled()) << base;
    }
}
