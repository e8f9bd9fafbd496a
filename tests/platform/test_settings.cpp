// The settings store: the defaults of the settings table on an empty
// profile, values written and read back, and names holding separators.
#include "platform/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("cfg"));
    }
    void TearDown() override { settings::SetStoreFolder({}); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsTest, EmptyProfileGivesTheTableDefaults)
{
    using namespace settings;
    EXPECT_EQ(GetText(kDefaultFont, kFontFacename), "Arial");
    EXPECT_EQ(GetInt(kDefaultFont, kFontSize), -13);
    EXPECT_EQ(GetInt(kDefaultFont, kFontWeight), 400);
    EXPECT_EQ(GetInt(kDefaultFont, kFontItalic), 0);
    EXPECT_EQ(GetText(kTableFont, kTableFontName), "System");
    EXPECT_EQ(GetInt(kTableFont, kTableFontSize), -12);
    EXPECT_EQ(GetInt(kTableFont, kTableFontCharSet), 1);
    EXPECT_EQ(GetInt(kDefaultBarcode, kBarcodeModule), 191);
    EXPECT_EQ(GetInt(kDefaultBarcode, kBarcodeHeight), 12700);
    EXPECT_EQ(GetText(kDefaultBarcode, kBarcodeQrEccLevel), "M");
    EXPECT_EQ(GetText(kDefaultBarcode, kBarcodeQrVersion), "");
    // "Size" of the barcode section has no default: the caller's fallback.
    EXPECT_FALSE(DefaultInt(kDefaultBarcode, kBarcodeSize).has_value());
    EXPECT_EQ(GetInt(kDefaultBarcode, kBarcodeSize, 77), 77);
    EXPECT_EQ(GetInt(PrinterSection("Any"), kPrinterLeftCompensation, 5), 0);
    EXPECT_EQ(GetInt(kTextImport, kImportDelimiter), ';');
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(2)), 10);
    EXPECT_EQ(GetInt(kTextImport, FixedLengthKey(3)), -1);
    EXPECT_EQ(FixedLengthKey(25), "Fixed length Z");
    EXPECT_EQ(GetInt(kWorkspace, kApplicationLook), 214);
    EXPECT_TRUE(Sections().empty());
    EXPECT_FALSE(QFile::exists(StoreFile()));
}

TEST_F(SettingsTest, ValuesRoundTripAndBadIntegersReadAsMissing)
{
    using namespace settings;
    WriteInt(kDefaultFont, kFontSize, -24);
    WriteText(kDefaultFont, kFontFacename, "Fr\xE4kt"); // cp1252
    EXPECT_EQ(GetInt(kDefaultFont, kFontSize), -24);
    EXPECT_EQ(GetText(kDefaultFont, kFontFacename), "Fr\xE4kt");
    EXPECT_TRUE(HasValue(kDefaultFont, kFontSize));
    EXPECT_TRUE(QFile::exists(StoreFile()));

    WriteText(kDefaultFont, kFontWeight, "heavy");
    EXPECT_EQ(GetInt(kDefaultFont, kFontWeight), 400);
    WriteText(kDefaultFont, kFontWeight, "99999999999");
    EXPECT_EQ(GetInt(kDefaultFont, kFontWeight), 400);
}

TEST_F(SettingsTest, NamesWithSeparatorsRoundTrip)
{
    using namespace settings;
    const std::string printer = PrinterSection("HP\\LaserJet");
    EXPECT_EQ(printer, "Printer = HP\\LaserJet");
    const std::string other = PrinterSection("//server/queue %2F");
    WriteInt(printer, kPrinterLeftCompensation, 150);
    WriteInt(other, "a/b\\c", 7);
    EXPECT_EQ(GetInt(printer, kPrinterLeftCompensation), 150);
    EXPECT_EQ(GetInt(other, "a/b\\c"), 7);
    // Nothing leaked into groups named after the parts.
    EXPECT_EQ(GetInt(PrinterSection("HP"), kPrinterLeftCompensation), 0);

    std::vector<std::string> sections = Sections();
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(sections, (std::vector<std::string>{other, printer}));
    EXPECT_EQ(Keys(other), (std::vector<std::string>{"a/b\\c"}));
    EXPECT_EQ(UnescapeName(EscapeName("100%/\\")), "100%/\\");
    EXPECT_EQ(EscapeName("a/b"), QString("a%2Fb"));
}
