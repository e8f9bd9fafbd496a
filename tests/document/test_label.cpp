// Label definition geometry, paper, module marking, article numbers and
// outlines.
#include "document/label/labelfile.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kGrey = 0x808080;

// A 3 x 8 sheet of 70 x 37 mm labels on A4 portrait.
std::unique_ptr<CLabelFileNew> a4Sheet()
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 70000, true);
    label->SetHeight(0, 37000);
    return label;
}

} // namespace

TEST(LabelGeometry, FirstSizesSetPitchesAndFitTheSheet)
{
    auto label = a4Sheet();
    EXPECT_TRUE(label->IsDefined());
    EXPECT_EQ(label->GetColumns(), 3);
    EXPECT_EQ(label->GetColumnPitch(), 70000);
    EXPECT_EQ(label->GetLeft(0), 0);
    EXPECT_EQ(label->GetRows(), 8);
    EXPECT_EQ(label->GetRowPitch(), 37000);
    EXPECT_EQ(label->GetTop(0), 500); // (297 - 8 x 37) / 2 mm
    EXPECT_EQ(label->GetLabelsPerSheet(), 24);
    {
        // The largest counts a file may hold.
        CLabelFileNew huge;
        huge.SetColumns(INT32_MAX);
        huge.SetRows(INT32_MAX);
        huge.SetBlockCount(32767);
        EXPECT_EQ(huge.GetLabelsPerSheet(), CLabel::kMaxLabelsPerSheet);
    }
    EXPECT_TRUE(label->IsGapless());
    EXPECT_TRUE(label->IsModified());

    // A later width keeps the pitch (and the fitted columns).
    label->SetWidth(0, 60000, true);
    EXPECT_EQ(label->GetColumnPitch(), 70000);
    EXPECT_EQ(label->GetColumns(), 3);
    EXPECT_FALSE(label->IsColumnPitchEqualWidth());
    EXPECT_FALSE(label->IsGapless());

    // A 64 mm width on an empty definition: 3 columns, 9 mm margins.
    CLabelFileNew other;
    other.SetWidth(0, 64000, false);
    EXPECT_EQ(other.GetColumns(), 3);
    EXPECT_EQ(other.GetLeft(0), 9000);
    EXPECT_FALSE(other.IsDefined());
    EXPECT_FALSE(other.IsModified()); // not asked to mark
}

TEST(LabelGeometry, InvalidSizesLeaveTheRecord)
{
    CLabelFileNew label;
    label.SetHeight(0, 0);
    label.SetWidth(0, -5, true);
    EXPECT_EQ(label.GetHeight(0), 0);
    EXPECT_EQ(label.GetWidth(0), 0);
    EXPECT_EQ(label.GetRowPitch(), 0);
    EXPECT_EQ(label.GetColumnPitch(), 0);
    EXPECT_TRUE(label.IsModified()); // SetHeight marks even when it ignores

    // Fitting a definition read with no height does not divide by zero.
    label.FitRows();
    label.FitColumns();
    EXPECT_EQ(label.GetRows(), 0);
}

TEST(LabelGeometry, OlderGenerationsKnowOnlyTheLabelPart)
{
    CLabel base;
    base.SetWidth(0, 50000, true);
    base.SetHeight(0, 20000);
    base.SetWidth(1, 1000, true);
    EXPECT_EQ(base.GetWidth(1), 0);
    EXPECT_EQ(base.GetColumns(), 0); // no paper, no fitting
    EXPECT_EQ(base.GetColumnPitch(), 50000);
    EXPECT_EQ(base.GetPaperWidthUm(), 210000);
    EXPECT_EQ(base.GetPrintPaperCode(), 9);
    EXPECT_EQ(base.GetPaperCode(), 256);
    std::string name;
    EXPECT_FALSE(base.GetPaperName(name));
    EXPECT_EQ(base.GetTypeKey(), 140);

    CLabelExt ext;
    ext.SetShape(0, kShapeEllipse);
    ext.SetRadius(-1);
    ext.SetRadius(3000);
    EXPECT_EQ(ext.GetShape(0), kShapeEllipse);
    EXPECT_EQ(ext.GetShape(1), kShapeRectangle);
    EXPECT_EQ(ext.GetRadius(), 3000);
    EXPECT_FALSE(ext.IsGapless()); // elliptical labels always have gaps

    CLabelExtExt extExt;
    EXPECT_EQ(extExt.GetPaperLength(), 600);
    EXPECT_EQ(extExt.GetPaperWidth(), 900);
    EXPECT_EQ(extExt.GetPaperCode(), 0);
    EXPECT_EQ(extExt.GetPaperWidthUm(), 90000);
    EXPECT_EQ(extExt.GetTypeKey(), 138);
}

TEST(LabelGeometry, HeaderAndFooterParts)
{
    CLabelFileNew label;
    EXPECT_FALSE(label.HasHeader());
    label.SetHeight(1, 12000);
    label.SetWidth(2, 200000, false);
    label.SetLeft(1, 5000);
    label.SetTop(2, 280000);
    EXPECT_TRUE(label.HasHeader());
    EXPECT_TRUE(label.HasFooter());
    EXPECT_EQ(label.GetHeight(1), 12000);
    EXPECT_EQ(label.GetWidth(2), 200000);
    EXPECT_EQ(label.GetLeft(1), 5000);
    EXPECT_EQ(label.GetTop(2), 280000);
    EXPECT_EQ(label.GetHeight(3), 297000);
    EXPECT_EQ(label.GetWidth(-1), 210000);
    label.TogglePart(1);
    EXPECT_FALSE(label.HasHeader());
}

TEST(LabelPaper, TableCodesAndNames)
{
    EXPECT_EQ(CLabel::GetPaperDimensions(13), (PaperDimensions{90000, 60000}));
    EXPECT_EQ(CLabel::GetPaperDimensions(18), (PaperDimensions{215900, 279400}));
    EXPECT_EQ(CLabel::GetPaperDimensions(19), (PaperDimensions{98425, 225425}));
    EXPECT_EQ(CLabel::GetPaperDimensions(66), (PaperDimensions{420000, 594000}));
    EXPECT_EQ(CLabel::GetPaperDimensions(0), (PaperDimensions{90000, 60000}));

    CLabelFileNew label;
    std::string name;
    ASSERT_TRUE(label.GetPaperName(name));
    EXPECT_EQ(name, "A4");
    label.SetPaperCode(13);
    EXPECT_EQ(label.GetPaperWidthUm(), 90000);
    EXPECT_EQ(label.GetPaperLengthUm(), 60000);
    label.GetPaperName(name);
    EXPECT_EQ(name, "B5 (JIS)");
    label.SetPaperCode(44);
    label.GetPaperName(name);
    EXPECT_EQ(name, "44");
    label.SetPaperCode(-3);
    EXPECT_EQ(label.GetPaperWidthUm(), 90000); // negative codes use the table
    label.SetPaperCode(300);
    label.SetPaperWidth(1500, false);
    EXPECT_EQ(label.GetPaperWidthUm(), 150000);

    EXPECT_TRUE(label.SetPaperName("letter"));
    EXPECT_EQ(label.GetPaperCode(), 1);
    EXPECT_TRUE(label.SetPaperName("  57xyz"));
    EXPECT_EQ(label.GetPaperCode(), 57);
    EXPECT_TRUE(label.SetPaperName(""));
    EXPECT_EQ(label.GetPaperCode(), 0);
    label.SetPaperCode(9);
    EXPECT_FALSE(label.SetPaperName("Napkin"));
    EXPECT_FALSE(label.SetPaperName("99999"));
    EXPECT_EQ(label.GetPaperCode(), 9);
}

TEST(LabelPaper, UserDefinedInAnyCaseFillsAnEmptySize)
{
    CLabelFileNew label;
    label.SetPaperLength(0, false);
    label.SetPaperWidth(0, false);
    label.SetModified(false);
    EXPECT_TRUE(label.SetPaperName("USER defined"));
    EXPECT_EQ(label.GetPaperCode(), 256);
    EXPECT_EQ(label.GetPaperWidthUm(), 210000);
    EXPECT_EQ(label.GetPaperLengthUm(), 297000);
    EXPECT_TRUE(label.IsModified());
    std::string name;
    label.GetPaperName(name);
    EXPECT_EQ(name, "User defined");

    // Marking setters set modified only on a change.
    label.SetModified(false);
    label.SetPaperLength(2970, true);
    EXPECT_FALSE(label.IsModified());
    label.SetPaperLength(40000, true); // clamped to the 16-bit field
    EXPECT_TRUE(label.IsModified());
    EXPECT_EQ(label.GetPaperLength(), 32767);
}

TEST(LabelPaper, PageSizesThroughWindowsIds)
{
    EXPECT_EQ(PageSizeForPaperCode(9, 0, 0).id(), QPageSize::A4);
    EXPECT_EQ(PageSizeForPaperCode(1, 0, 0).id(), QPageSize::Letter);
    const QPageSize custom = PageSizeForPaperCode(256, 100000, 50000);
    EXPECT_EQ(custom.id(), QPageSize::Custom);
    EXPECT_NEAR(custom.size(QPageSize::Millimeter).width(), 100.0, 0.01);
    EXPECT_NEAR(custom.size(QPageSize::Millimeter).height(), 50.0, 0.01);
    EXPECT_EQ(PaperCodeForPageSize(QPageSize(QPageSize::A3)), 8);
    EXPECT_EQ(PaperCodeForPageSize(custom), 256);

    CLabelFileNew label;
    label.SetPaperCode(256);
    label.SetPaperWidth(1000, false);
    label.SetPaperLength(1500, false);
    EXPECT_NEAR(label.GetPageSize().size(QPageSize::Millimeter).height(), 150.0, 0.01);
}

TEST(LabelOrientation, LandscapeExchangesTheLayout)
{
    auto label = a4Sheet();
    label->SetLeft(0, 1000);
    label->SetModified(false);
    label->SetOrientation(kLandscape);
    EXPECT_EQ(label->GetOrientation(), kLandscape);
    EXPECT_EQ(label->GetColumns(), 8);
    EXPECT_EQ(label->GetRows(), 3);
    EXPECT_EQ(label->GetWidth(0), 37000);
    EXPECT_EQ(label->GetHeight(0), 70000);
    EXPECT_EQ(label->GetColumnPitch(), 37000);
    EXPECT_EQ(label->GetRowPitch(), 70000);
    EXPECT_EQ(label->GetLeft(0), 500);
    EXPECT_EQ(label->GetTop(0), 1000);
    EXPECT_TRUE(label->IsModified());
    // The same value again changes nothing.
    label->SetModified(false);
    label->SetOrientation(kLandscape);
    EXPECT_FALSE(label->IsModified());

    // Fitting in landscape runs across the paper length.
    CLabelFileNew wide;
    wide.SetOrientation(kLandscape);
    wide.SetWidth(0, 70000, true);
    EXPECT_EQ(wide.GetColumns(), 4); // 297 / 70
    EXPECT_EQ(wide.GetLeft(0), 8500);
}

TEST(LabelModuleMarking, StripAndOrientation)
{
    CLabelFileNew label;
    EXPECT_FALSE(label.IsModuleMarking());
    EXPECT_TRUE(label.ToggleModuleMarking());
    EXPECT_TRUE(label.IsModuleMarking());
    label.SetTop(0, 2000);
    label.SetModified(false);
    EXPECT_TRUE(label.SetStripWidth(13800));
    EXPECT_EQ(label.GetStripWidth(), 13800);
    EXPECT_EQ(label.GetHeight(0), 13800);
    EXPECT_EQ(label.GetPaperLength(), 158); // (13.8 + 2) mm in 0.1 mm
    EXPECT_FALSE(label.IsModified());

    // Only the paper turns in module-marking mode.
    label.SetPaperWidth(500, false);
    label.SetWidth(0, 20000, false);
    label.SetOrientation(kLandscape);
    EXPECT_EQ(label.GetPaperLength(), 500);
    EXPECT_EQ(label.GetPaperWidth(), 158);
    EXPECT_EQ(label.GetWidth(0), 20000);
    EXPECT_TRUE(label.SetStripWidth(9000));
    EXPECT_EQ(label.GetPaperWidth(), 110);

    CLabelExtExt old;
    EXPECT_FALSE(old.ToggleModuleMarking());
    EXPECT_FALSE(old.SetStripWidth(1000));
}

TEST(LabelArticleNumbers, AddRemoveAndLimits)
{
    CLabelFileNewArticleNo label;
    EXPECT_TRUE(label.AddArticleNumber("AB-100"));
    EXPECT_TRUE(label.AddArticleNumber("AB-200"));
    EXPECT_FALSE(label.AddArticleNumber("ab-100")); // case does not matter
    EXPECT_FALSE(label.AddArticleNumber(std::string(49, 'x')));
    EXPECT_TRUE(label.AddArticleNumber(std::string(48, 'x')));
    EXPECT_EQ(label.GetArticleNumberCount(), 3);
    EXPECT_TRUE(label.HasArticleNumberPrefix("ab-2"));
    EXPECT_FALSE(label.HasArticleNumberPrefix("C"));

    // An empty number is neither added nor removed; the list stays intact.
    EXPECT_FALSE(label.AddArticleNumber(""));
    EXPECT_FALSE(label.RemoveArticleNumber(""));
    EXPECT_EQ(label.GetArticleNumberCount(), 3);
    EXPECT_EQ(label.GetArticleNumber(2), std::string(48, 'x'));

    EXPECT_TRUE(label.RemoveArticleNumber("AB-100"));
    EXPECT_FALSE(label.RemoveArticleNumber("AB-100"));
    EXPECT_EQ(label.GetArticleNumberCount(), 2);
    EXPECT_EQ(label.GetArticleNumber(0), "AB-200");
    EXPECT_EQ(label.GetArticleNumber(2), "");
    EXPECT_EQ(label.GetArticleNumber(-1), "");

    CLabelFileNewArticleNo full;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(full.AddArticleNumber("N" + std::to_string(i)));
    EXPECT_FALSE(full.AddArticleNumber("N100"));
    EXPECT_EQ(full.GetArticleNumberCount(), 100);
    EXPECT_EQ(full.GetArticleNumber(99), "N99");
    EXPECT_TRUE(full.RemoveArticleNumber("n0"));
    EXPECT_EQ(full.GetArticleNumber(0), "N1");
    EXPECT_EQ(full.GetArticleNumber(99), "");

    // Latin letters fold in the Windows code page too.
    EXPECT_TRUE(label.AddArticleNumber("\xC5SA"));      // ÅSA
    EXPECT_FALSE(label.AddArticleNumber("\xE5sa"));     // åsa
}

TEST(LabelFileNew, PrinterOptionsAndCopies)
{
    CLabelFileNew label;
    std::string device, driver, port;
    EXPECT_FALSE(label.GetPrinterNames(device, driver, port));
    std::string error;
    EXPECT_FALSE(label.SetPrinterNames(std::string(81, 'q'), "CUPS", "ipp://x", &error));
    EXPECT_NE(error.find("too long"), std::string::npos);
    EXPECT_EQ(label.GetPrinterDevice(), "");
    ASSERT_TRUE(label.SetPrinterNames(std::string(80, 'q'), "CUPS", "ipp://x"));
    EXPECT_TRUE(label.GetPrinterNames(device, driver, port));
    EXPECT_EQ(device.size(), 80u);

    label.ToggleStorePrinter();
    EXPECT_TRUE(label.IsStorePrinter());
    EXPECT_TRUE(label.IsStorePrinterSettings());
    LinuxPrinterSetup setup;
    setup.queueName = "Zebra_ZT410";
    label.SetPrinterSettings(EncodeLinuxPrinterSettings(setup));
    label.ToggleStorePrinter(); // off: the names go, the settings stay
    EXPECT_FALSE(label.IsStorePrinter());
    EXPECT_EQ(label.GetPrinterDevice(), "");
    ASSERT_NE(label.GetPrinterSettings(), nullptr);

    label.SetFamilyName("Wire markers with a very long family name text");
    label.ToggleMarkingType(2);
    label.TogglePrinterType(0x80000000u);
    auto copy = label.Clone();
    ASSERT_NE(dynamic_cast<CLabelFileNew*>(copy.get()), nullptr);
    EXPECT_EQ(copy->GetFamilyName(), "Wire markers with a very long fa");
    EXPECT_EQ(copy->GetMarkingTypes(), 61u);
    EXPECT_EQ(copy->GetPrinterTypes(), 0x0000000Du);
    auto* copied = static_cast<CLabelFileNew*>(copy.get());
    ASSERT_NE(copied->GetPrinterSettings(), nullptr);
    EXPECT_NE(copied->GetPrinterSettings(), label.GetPrinterSettings());
    EXPECT_EQ(*copied->GetPrinterSettings(), *label.GetPrinterSettings());

    label.ToggleStorePrinterSettings(); // was on: the block is freed
    EXPECT_EQ(label.GetPrinterSettings(), nullptr);

    auto withNumbers = CLabelFileNewArticleNo::CopyFromLabel(*copied);
    EXPECT_EQ(withNumbers->GetFamilyName(), copy->GetFamilyName());
    EXPECT_EQ(withNumbers->GetArticleNumberCount(), 0);
    EXPECT_EQ(withNumbers->GetTypeKey(), 135);

    copied->SetFilePath("/home/op/Labels/Wire 70x37.label");
    EXPECT_EQ(copied->GetFileTitle(), "Wire 70x37.label");
    copied->Reset();
    EXPECT_EQ(copied->GetFilePath(), "");
    EXPECT_EQ(copied->GetPaperLength(), 2970);
    EXPECT_EQ(copied->GetPaperWidth(), 2100);
    EXPECT_EQ(copied->GetPrinterTypes(), 0x8000001Fu);
    EXPECT_EQ(copied->GetPrinterSettings(), nullptr);
    EXPECT_FALSE(copied->IsModified());
    EXPECT_EQ(copied->GetFamilyName(), "");
}

TEST(LabelNames, ListTexts)
{
    EXPECT_EQ(GetMarkingTypeName(4), "Terminal block");
    EXPECT_EQ(GetMarkingTypeName(8), "");
    EXPECT_EQ(GetPrinterTypeName(2), "Other");
    EXPECT_EQ(GetPrinterTypeName(4), "Thermal transfer");
    EXPECT_EQ(GetPrinterTypeName(7), "");
    EXPECT_EQ(GetLabelFamilyFilterName(1), "All");
    EXPECT_EQ(GetLabelFamilyFilterName(2), "");
}

TEST(LabelOutline, ShapesAtAResolution)
{
    // 10 x 5 mm at 254 dpi is 100 x 50 px.
    CLabelExt label;
    label.SetWidth(0, 10000, false);
    label.SetHeight(0, 5000);

    QImage img = testsupport::whiteImage(200, 120);
    {
        CDC dc(&img, 254, 254);
        dc.SelectBrush(CBrush::Hollow());
        label.DrawOutline(dc, 254, 10, 20, 1000, 0); // x = 1 mm = 10 px
    }
    // The rectangle includes its right and bottom edges.
    EXPECT_EQ(img.pixel(20, 20) & 0xFFFFFF, kGrey);
    EXPECT_EQ(img.pixel(120, 70) & 0xFFFFFF, kGrey);
    EXPECT_EQ(img.pixel(121, 70) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(70, 45) & 0xFFFFFF, 0xFFFFFFu); // brush left alone
    EXPECT_EQ(testsupport::countPixels(img, kGrey), 2 * 101 + 2 * 49);

    // Rounded corners leave the corner pixel blank.
    label.SetShape(0, kShapeRounded);
    label.SetRadius(1000);
    QImage rounded = testsupport::whiteImage(200, 120);
    {
        CDC dc(&rounded, 254, 254);
        dc.SelectBrush(CBrush::Hollow());
        label.DrawOutline(dc, 254, 0, 0, 0, 0);
    }
    EXPECT_EQ(rounded.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(rounded.pixel(50, 0) & 0xFFFFFF, kGrey);
}

TEST(LabelOutline, PreviewAndDottedParts)
{
    CLabelFileNew label;
    label.SetWidth(0, 25400, false);  // 1 in
    label.SetHeight(0, 12700);        // 0.5 in
    label.SetWidth(1, 12700, false);
    label.SetHeight(1, 12700);

    // At 50 % of 96 dpi: 48 x 24 px.
    QImage img = testsupport::whiteImage(100, 100);
    {
        CDC dc(&img, 96, 96);
        dc.SelectBrush(CBrush::Hollow());
        label.DrawPart(0, dc, 50, 5, 5);
    }
    EXPECT_EQ(img.pixel(53, 29) & 0xFFFFFF, kGrey);
    EXPECT_EQ(img.pixel(54, 29) & 0xFFFFFF, 0xFFFFFFu);

    QImage header = testsupport::whiteImage(100, 100);
    {
        CDC dc(&header, 96, 96);
        dc.SelectBrush(CBrush::Hollow());
        label.DrawPart(1, dc, 100, 0, 0);
        EXPECT_EQ(dc.GetPen().style, PS_SOLID); // the caller's pen is back
    }
    // A dotted 48 px square: fewer grey pixels than a solid one.
    const int grey = testsupport::countPixels(header, kGrey);
    EXPECT_GT(grey, 40);
    EXPECT_LT(grey, 4 * 48);
    EXPECT_EQ(header.pixel(49, 10) & 0xFFFFFF, 0xFFFFFFu);
}
