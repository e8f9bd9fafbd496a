// The select-label dialog over a labels folder of real definition files.
#include "document/label/labelfile.h"
#include "platform/recordingui.h"
#include "shell/selectlabel/labelimagepreview.h"
#include "shell/selectlabel/selectlabeldialog.h"
#include "support/file_size_limit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Def {
    Def(std::string f, std::string fam, int32_t w = 50000, uint32_t drop = 0, std::string pic = {},
        std::string inf = {}, bool newer = false)
        : file(std::move(f)), family(std::move(fam)), width(w), dropPrinterBits(drop), picture(std::move(pic)),
          info(std::move(inf)), newerArticleNo(newer)
    {
    }
    std::string file;
    std::string family;
    int32_t width;
    uint32_t dropPrinterBits; // toggled off the default printer types
    std::string picture;
    std::string info;
    bool newerArticleNo; // "lblF" of a version this program does not read
};

std::string fileBytes(const Def& d)
{
    std::unique_ptr<CLabelFileNew> label = d.newerArticleNo ? std::make_unique<CLabelFileNewArticleNo>()
                                                            : std::make_unique<CLabelFileNew>();
    label->SetFamilyName(d.family);
    label->SetWidth(0, d.width, false);
    label->SetHeight(0, 20000);
    if (d.dropPrinterBits)
        label->TogglePrinterType(d.dropPrinterBits);
    label->SetPictureFile(d.picture);
    label->SetInfoFile(d.info);
    std::string bytes = label->FileImage();
    if (d.newerArticleNo)
        bytes[4] = char(111); // version word, little-endian
    return bytes;
}

class SelectLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* sub : {"labels", "images", "info", "source"})
            QDir(dir.path()).mkpath(QLatin1String(sub));
    }
    QString folder(const char* sub) const { return dir.filePath(QLatin1String(sub)); }
    void write(const QString& path, const std::string& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    void add(const Def& d) { write(folder("labels") + "/" + QString::fromStdString(d.file), fileBytes(d)); }
    void open()
    {
        dialog = std::make_unique<CSelectLabelDialog>();
        dialog->SetFolders(folder("labels"), folder("images"), folder("info"));
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QTreeWidget* list() { return dialog->List(); }
    QStringList column(int c)
    {
        QStringList out;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            out << list()->topLevelItem(i)->text(c);
        return out;
    }
    void select(const QString& name)
    {
        const auto found = list()->findItems(name, Qt::MatchExactly, CSelectLabelDialog::kName);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list()->setCurrentItem(found.front());
    }
    void clickHeader(int section)
    {
        QHeaderView* header = list()->header();
        const QPoint at(header->sectionViewportPosition(section) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    QComboBox* combo(const char* name) { return dialog->findChild<QComboBox*>(QLatin1String(name)); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(QLatin1String(name)); }

    CRecordingUi ui;
    UiScope scope{ui};
    QTemporaryDir dir;
    std::unique_ptr<CSelectLabelDialog> dialog;
};

} // namespace

TEST(SelectLabelNames, NaturalOrderRules)
{
    auto less = [](const char* a, const char* b) { return CSelectLabelDialog::CompareNames(a, b) < 0; };
    EXPECT_TRUE(less("Cable 2", "Cable 10"));
    EXPECT_TRUE(less("A 1B2", "A 1B10"));
    EXPECT_TRUE(less("A 1B9", "A 1C2")); // the characters decide before the second numbers
    EXPECT_TRUE(less("Wire x 9", "Wire x 10"));
    EXPECT_TRUE(less("Cable 10", "Duct 2")); // different words: bytes
    EXPECT_EQ(CSelectLabelDialog::CompareNames("Cable 7", "Cable 7"), 0);
    // Names far longer than any fixed buffer, with numbers beyond int.
    const std::string longWord(5000, 'W');
    EXPECT_TRUE(less((longWord + " 2").c_str(), (longWord + " 10").c_str()));
    // Numbers beyond int saturate instead of overflowing.
    EXPECT_EQ(CSelectLabelDialog::CompareNames("Big 99999999999999999998", "Big 99999999999999999999"), 0);
}

TEST_F(SelectLabelTest, OpensSortedByFamilyAndNaturalNameAndHeaderClicksFlip)
{
    add({"Cable 10.label", "Sleeve"});
    add({"Cable 2.label", "Sleeve"});
    add({"Wire x 10.label", "Flag"});
    add({"Wire x 9.label", "Flag"});
    open();
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"Wire x 9", "Wire x 10", "Cable 2", "Cable 10"}));
    EXPECT_EQ(column(CSelectLabelDialog::kWidth).front(), QStringLiteral("50 mm"));
    clickHeader(CSelectLabelDialog::kName);
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"Cable 2", "Cable 10", "Wire x 9", "Wire x 10"}));
    clickHeader(CSelectLabelDialog::kName);
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"Wire x 10", "Wire x 9", "Cable 10", "Cable 2"}));
}

TEST_F(SelectLabelTest, PrinterAndFamilyFilters)
{
    add({"a.label", "Ferrule"});
    add({"b.label", "FERRULE"});
    add({"c.label", "Laser only", 50000, 0x4});
    open();
    // Families are listed once without regard to case.
    EXPECT_EQ(combo("family")->count(), 3);
    combo("printerType")->setCurrentIndex(2); // Thermo
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"a", "b"}));
    dialog->Reload(); // the family list follows the type filters when refilled
    EXPECT_EQ(combo("family")->count(), 2);
    combo("printerType")->setCurrentIndex(0);
    combo("family")->setCurrentIndex(1);
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"a", "b"}));
}

TEST_F(SelectLabelTest, PreviewOkAndDeleteUseTheRealFileName)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder("images") + "/foo.png"));
    add({"FOO.LABEL", "Fam", 50000, 0, "foo.png"});
    add({"newer.label", "Fam", 50000, 0, "foo.png", {}, true});
    open();
    ASSERT_EQ(list()->topLevelItemCount(), 2);

    select("newer");
    EXPECT_TRUE(dialog->Preview()->Path().isEmpty());
    select("FOO");
    EXPECT_EQ(dialog->Preview()->Path(), folder("images") + "/foo.png");
    dialog->Preview()->repaint();
    EXPECT_TRUE(dialog->Preview()->HasPicture());

    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->GetPath(), folder("labels") + "/FOO.LABEL");

    dialog->show();
    select("FOO");
    ui.answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(button("delete"), Qt::LeftButton);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Delete selected label, are you sure?");
    EXPECT_FALSE(QFile::exists(folder("labels") + "/FOO.LABEL"));
    EXPECT_EQ(column(CSelectLabelDialog::kName), (QStringList{"newer"}));
}

TEST_F(SelectLabelTest, ImportKeepsExistingFilesAndSelectsTheNewLabel)
{
    add({"kept.label", "Old"});
    const std::string original = fileBytes({"kept.label", "Old"});
    write(folder("source") + "/kept.label", fileBytes({"kept.label", "Replacement"}));
    write(folder("source") + "/fresh.label", fileBytes({"fresh.label", "New"}));
    write(folder("source") + "/notes.txt", "ignored");
    open();
    ui.fileNameLists.push_back({folder("source") + "/kept.label", folder("source") + "/fresh.label",
                                folder("source") + "/notes.txt"});
    ui.answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(button("import"), Qt::LeftButton);

    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].kind, CRecordingUi::DialogKind::OpenMany);
    EXPECT_EQ(ui.questions.size(), 1u); // the existing file
    QFile kept(folder("labels") + "/kept.label");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll().toStdString(), original);
    EXPECT_FALSE(QFile::exists(folder("labels") + "/notes.txt"));
    ASSERT_NE(list()->currentItem(), nullptr);
    EXPECT_EQ(list()->currentItem()->text(CSelectLabelDialog::kName), QStringLiteral("fresh"));

    // A disk that cannot take the copy: nothing of it is left, and the
    // user is told why.
    write(folder("source") + "/full.label", fileBytes({"full.label", "New"}));
    ui.fileNameLists.push_back({folder("source") + "/full.label"});
    {
        testsupport::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.active());
        QTest::mouseClick(button("import"), Qt::LeftButton);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ui.messages[0].text.rfind("Can not copy ", 0), 0u) << ui.messages[0].text;
    EXPECT_TRUE(ui.messages[0].text.ends_with(std::strerror(EFBIG))) << ui.messages[0].text;
    QStringList left = QDir(folder("labels")).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{"fresh.label", "kept.label"}));
}

TEST_F(SelectLabelTest, ShowInfoAndF2)
{
    add({"a.label", "Fam", 50000, 0, {}, "a.pdf"});
    open();
    select("a");
    QTest::mouseClick(button("showInfo"), Qt::LeftButton);
    ASSERT_EQ(ui.shellOpens.size(), 1u);
    EXPECT_TRUE(ui.shellOpens[0].endsWith(QStringLiteral("info/a.pdf")));
    ui.desktopWorks = false;
    QTest::mouseClick(button("showInfo"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Can not open ", 0), 0u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);

    QApplication::setActiveWindow(dialog.get());
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_F2);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].caption, "Label directory");
    EXPECT_EQ(ui.messages[1].text, folder("labels").toStdString());
}
