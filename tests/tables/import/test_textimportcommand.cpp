// The text import through the real "Text import" sheet: the pages start
// from the stored choices, clicks and typing change them, OK reads the file
// into the table and stores the choices, Cancel changes nothing.
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "tables/grid/gridctrl.h"
#include "support/gridtest.h"
#include "tables/import/textimportcharactersetpropertypage.h"
#include "tables/import/textimportcommand.h"
#include "tables/import/textimportdelimiterpropertypage.h"
#include "tables/import/textimportfixedlengthpropertypage.h"
#include "tables/import/textimportformatpropertypage.h"
#include "tables/import/textimportsheet.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Action = std::function<void(CTextImportSheet&)>;

class TextImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        settings::SetStoreFolder(dir.filePath("config"));
    }
    void TearDown() override { settings::SetStoreFolder({}); }

    QString file(const char* name, const std::string& bytes)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    static std::string contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    // Imports `path`; `act` works the sheet, then OK (or Cancel) is clicked.
    bool import(const QString& path, const Action& act, bool ok = true)
    {
        ui.fileNames.push_back(path);
        return ImportTextFileIntoCurrentTable(doc, nullptr, [&](CTextImportSheet& sheet) {
            sheet.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&sheet));
            act(sheet);
            QTest::mouseClick(sheet.Buttons()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                              Qt::LeftButton);
            return sheet.result() == QDialog::Accepted;
        });
    }
    Rows rows()
    {
        Rows out;
        for (int r = 0; r < doc.GetTableRowCount(); ++r) {
            out.emplace_back();
            for (int c = 0; c < doc.GetVisibleTable().GetCellCount(r); ++c)
                out.back().push_back(doc.GetTableCellText(r, c));
        }
        return out;
    }
    int snapshots()
    {
        int n = 0;
        while (n < 16 && doc.GetTableSnapshot(doc.GetCurrentTableIndex(), n))
            ++n;
        return n;
    }
    // Clicks a radio button of a page, showing the page first.
    static void click(QWidget* page, const char* name)
    {
        for (QWidget* w = page->parentWidget(); w; w = w->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                tabs->setCurrentWidget(page);
                break;
            }
        QApplication::processEvents();
        auto* button = page->findChild<QRadioButton*>(QLatin1String(name));
        ASSERT_TRUE(button && button->isVisible());
        // On the indicator: a radio button takes clicks only there and on its text.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        ASSERT_TRUE(button->isChecked());
    }
    // Types `text` into width cell `row` of the fixed-length grid.
    static void typeWidth(CTextImportSheet& sheet, int row, const char* text)
    {
        sheet.Tabs()->setCurrentWidget(sheet.FixedLengthPage());
        CGridCtrl* grid = sheet.FixedLengthPage()->Grid();
        gridtest::click(*grid, row, 1);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid->InPlaceEditor());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QLatin1String(text));
        QTest::keyClick(editor, Qt::Key_Return);
        if (auto* next = qobject_cast<QLineEdit*>(grid->InPlaceEditor()))
            QTest::keyClick(next, Qt::Key_Escape);
    }
    static std::string widthShown(CTextImportSheet& sheet, int row)
    {
        std::string text;
        sheet.FixedLengthPage()->GetDispInfo(row, 1, text);
        return text;
    }

    QTemporaryDir dir;
    CRecordingUi ui;
    UiScope scope{ui};
    CVorteplanSoftLabelDoc doc;
};

} // namespace

TEST_F(TextImportCommandTest, FirstImportStartsFromTheDefaultsAndReadsASemicolonFile)
{
    const QString path = file("a.txt", "W1;X-1;\r\nW2;;X-2\r\n");
    ASSERT_TRUE(import(path, [](CTextImportSheet& s) {
        EXPECT_EQ(s.windowTitle(), QStringLiteral("Text import"));
        ASSERT_EQ(s.Tabs()->count(), 4);
        EXPECT_EQ(s.Tabs()->tabText(0), QStringLiteral("Format"));
        EXPECT_EQ(s.Tabs()->tabText(3), QStringLiteral("Character set"));
        EXPECT_EQ(s.FormatPage()->GetFormat(), CTextImportFormatPropertyPage::Delimited);
        EXPECT_EQ(s.DelimiterPage()->GetChoice(), CTextImportDelimiterPropertyPage::Other);
        EXPECT_EQ(s.DelimiterPage()->OtherEdit()->text(), QStringLiteral(";"));
        EXPECT_EQ(widthShown(s, 0), "10");
        EXPECT_EQ(widthShown(s, 2), "10");
        EXPECT_EQ(widthShown(s, 3), "");
        EXPECT_EQ(widthShown(s, 25), "");
        EXPECT_EQ(s.CharacterSetPage()->GetCharacterSet(), CTextImportCharacterSetPropertyPage::Ansi);
    }));
    EXPECT_EQ(ui.fileDialogs.at(0).request.filter, "Text files|*.txt|All files|*.*||");
    EXPECT_EQ(ui.fileDialogs.at(0).request.defaultExtension, "txt");
    EXPECT_EQ(rows(), (Rows{{"W1", "X-1"}, {"W2", "X-2"}}));
    EXPECT_EQ(snapshots(), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportDelimiter, -99), ';');
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportFormat, -99), 0);
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportCharSet, -99), 0);
    // A delimited import stores no widths.
    EXPECT_FALSE(settings::HasValue(settings::kTextImport, settings::FixedLengthKey(0)));
}

TEST_F(TextImportCommandTest, AnEmptyOtherTextImportsWithDelimiterZero)
{
    const QString path = file("b.txt", "a;b,c\tTAB\r\n");
    ASSERT_TRUE(import(path, [](CTextImportSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        s.DelimiterPage()->OtherEdit()->selectAll();
        QTest::keyClick(s.DelimiterPage()->OtherEdit(), Qt::Key_Backspace);
    }));
    EXPECT_EQ(rows(), (Rows{{"a;b,cTAB"}}));
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportDelimiter, -99), 0);
    ASSERT_TRUE(import(path, [](CTextImportSheet& s) {
        EXPECT_EQ(s.DelimiterPage()->GetChoice(), CTextImportDelimiterPropertyPage::Other);
        EXPECT_TRUE(s.DelimiterPage()->OtherEdit()->text().isEmpty());
        click(s.DelimiterPage(), "tab");
    }));
    EXPECT_EQ(rows().back(), (std::vector<std::string>{"a;b,c", "TAB"}));
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportDelimiter, -99), '\t');
    EXPECT_EQ(snapshots(), 2);
}

TEST_F(TextImportCommandTest, OtherCharactersAreBytesOfTheFilesCodePage)
{
    // "§" is 0xA7 in cp1252 and 0xF5 in the OEM page 850; "€" has no place in 850.
    const QString path = file("c.txt", "a\xF5"
                                       "b\r\n");
    const auto typeOther = [](const QString& text, bool oem) {
        return [text, oem](CTextImportSheet& s) {
            s.Tabs()->setCurrentIndex(1);
            s.DelimiterPage()->OtherEdit()->setText(text);
            if (oem)
                click(s.CharacterSetPage(), "oem");
        };
    };
    EXPECT_FALSE(import(path, typeOther(QStringLiteral("\u20AC"), true), true));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(rows(), Rows{});
    ASSERT_TRUE(import(path, typeOther(QStringLiteral("\u00A7x"), true)));
    EXPECT_EQ(rows(), (Rows{{"a", "b"}}));
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportDelimiter, -99), int8_t(0xF5));
    EXPECT_EQ(settings::GetInt(settings::kTextImport, settings::kImportCharSet, -99), 1);
    // The next import shows the stored byte as the character it stands for.
    ASSERT_TRUE(import(path, [](CTextImportSheet& s) {
        EXPECT_EQ(s.DelimiterPage()->OtherEdit()->text(), QStringLiteral("\u00A7"));
    }, false) == false);
}

TEST_F(TextImportCommandTest, FixedWidthsTypedIntoTheGrid)
{
    const QString path = file("d.txt", "AB CDEFGHIJ\r\n12 345     \r\n");
    ASSERT_TRUE(import(path, [](CTextImportSheet& s) {
        click(s.FormatPage(), "fixedLength");
        typeWidth(s, 0, "3");
        typeWidth(s, 1, "2");
        typeWidth(s, 2, "");
        typeWidth(s, 3, "300");
        typeWidth(s, 4, "junk"); // not a number: the width stays
        EXPECT_EQ(widthShown(s, 2), "");
        EXPECT_EQ(widthShown(s, 3), "300");
        EXPECT_EQ(widthShown(s, 4), "");
    }));
    EXPECT_EQ(rows(), (Rows{{"AB", "CD", "EFGHIJ"}, {"12", "34", "5"}}));
    using namespace settings;
    EXPECT_EQ(GetInt(kTextImport, kImportFormat, -99), 1);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(0), -99), 3);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(2), -99), -1);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(3), -99), 300);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(25), -99), -1);
    EXPECT_FALSE(HasValue(kTextImport, kImportDelimiter));

    // 300 was used once; read back it is out of range and shows as none.
    ASSERT_FALSE(import(path, [](CTextImportSheet& s) {
        EXPECT_EQ(s.FormatPage()->GetFormat(), CTextImportFormatPropertyPage::FixedLength);
        EXPECT_EQ(widthShown(s, 0), "3");
        EXPECT_EQ(widthShown(s, 2), "");
        EXPECT_EQ(widthShown(s, 3), "");
    }, false));
}

TEST_F(TextImportCommandTest, CancelChangesNothing)
{
    const QString path = file("e.txt", "x;y\r\n");
    ASSERT_TRUE(import(path, [](CTextImportSheet&) {}));
    const std::string stored = contents(settings::StoreFile());
    ASSERT_FALSE(stored.empty());
    const Rows before = rows();
    EXPECT_FALSE(import(path, [](CTextImportSheet& s) {
        click(s.FormatPage(), "fixedLength");
        typeWidth(s, 0, "1");
        click(s.CharacterSetPage(), "oem");
    }, false));
    EXPECT_EQ(contents(settings::StoreFile()), stored);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(snapshots(), 1);

    // A cancelled file dialog does not even open the sheet.
    ui.fileNames.push_back(std::nullopt);
    EXPECT_FALSE(ImportTextFileIntoCurrentTable(doc, nullptr, [](CTextImportSheet&) {
        ADD_FAILURE();
        return true;
    }));
    // A file that has gone is reported.
    EXPECT_FALSE(import(dir.filePath("gone.txt"), [](CTextImportSheet&) {}));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text.rfind("Can not open file ", 0), 0u);
    EXPECT_EQ(rows(), before);
}
