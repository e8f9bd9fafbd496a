// Template edits of texts, barcodes and images, and the default-font and
// default-barcode settings the font and barcode commands write.
#include "content/images/graphimage.h"
#include "content/objects/graphbarcode.h"
#include "content/textparts/text.h"

#include "support/templateedit_fixture.h"

using edittest::EditTest;

TEST_F(EditTest, TypefaceAndSizeOfSelectedTextsAndTheirSettings)
{
    add<CGraphTextExt>(0, 0, 20000, 5000);
    expectUndoableEdit([&] { doc->SetTypeface(0, "Arial Narrow"); });
    EXPECT_EQ(doc->GetTypeface(0), "Arial Narrow");
    EXPECT_EQ(settings::GetText(settings::kDefaultFont, settings::kFontFacename), "Arial Narrow");

    // The same face: no snapshot, but the setting is written all the same.
    settings::WriteText(settings::kDefaultFont, settings::kFontFacename, "Other");
    expectNoEdit([&] { doc->SetTypeface(0, "Arial Narrow"); });
    EXPECT_EQ(settings::GetText(settings::kDefaultFont, settings::kFontFacename), "Arial Narrow");

    expectUndoableEdit([&] { doc->SetFontSizeOfSelection(0, 20); });
    EXPECT_EQ(doc->GetFontSize(0), 20);
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontSize), -26);
    EXPECT_EQ(doc->GetDefaultFont().lfHeight, -26);
}

TEST_F(EditTest, FontCommandsWithoutSelectedTextsChangeOnlyTheDefaultFont)
{
    add<CGraphRect>(0, 0, 1000, 1000); // selected, but no text
    expectNoEdit([&] {
        doc->ToggleBold(0);
        doc->ToggleItalic(0);
        doc->ToggleUnderline(0);
        doc->SetTypeface(0, "Courier New");
        doc->SetFontSizeOfSelection(0, 10);
    });
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontWeight), 700);
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontItalic), 1);
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontUnderline), 1);
    EXPECT_EQ(settings::GetText(settings::kDefaultFont, settings::kFontFacename), "Courier New");
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontSize), -13);
    EXPECT_TRUE(doc->IsBold(0));
    EXPECT_EQ(doc->GetTypeface(0), "Courier New");
    EXPECT_EQ(doc->GetFontSize(0), 10);

    doc->ToggleBold(0);
    EXPECT_EQ(settings::GetInt(settings::kDefaultFont, settings::kFontWeight), 400);
    EXPECT_FALSE(doc->IsBold(0));
}

TEST_F(EditTest, StyleTogglesFollowTheFirstSelectedText)
{
    CGraphTextExt* first = add<CGraphTextExt>(0, 0, 5000, 5000);
    add<CGraphTextExt>(0, 6000, 5000, 5000);
    first->SetBold(true);
    expectUndoableEdit([&] { doc->ToggleBold(0); });
    EXPECT_FALSE(area().GetAt(0)->IsBold());
    EXPECT_FALSE(area().GetAt(1)->IsBold());
}

TEST_F(EditTest, TextPartsAlignmentAndCounters)
{
    add<CGraphTextExt>(0, 0, 5000, 5000);
    expectUndoableEdit([&] { doc->SetTextAlignment(0, 2); });
    expectNoEdit([&] { doc->SetTextAlignment(0, 2); });
    // Counter fields need a counter text part first.
    expectNoEdit([&] { doc->SetAutoIncrementPrefix(0, "N-"); });
    expectUndoableEdit([&] { doc->SetDataSource(0, kTextKindCounter); });
    expectNoEdit([&] { doc->SetDataSource(0, kTextKindCounter); });
    expectUndoableEdit([&] { doc->SetAutoIncrementPrefix(0, "N-"); });
    EXPECT_EQ(doc->GetAutoIncrementPrefix(0), "N-");
    expectNoEdit([&] { doc->SetAutoIncrementPrefix(0, "N-"); });
    EXPECT_TRUE(doc->CanSetLeadingZero(0));
}

TEST_F(EditTest, BarcodeEditsAndTheirSettings)
{
    add<CGraphBarcode>(0, 0, 30000, 10000);
    expectUndoableEdit([&] { doc->SetBarcodeModule(0, 250); });
    EXPECT_EQ(settings::GetInt(settings::kDefaultBarcode, settings::kBarcodeModule), 250);
    expectNoEdit([&] { doc->SetBarcodeModule(0, 250); });
    // Small modules change the barcode but not the remembered default.
    expectUndoableEdit([&] { doc->SetBarcodeModule(0, 90); });
    EXPECT_EQ(settings::GetInt(settings::kDefaultBarcode, settings::kBarcodeModule), 250);

    expectUndoableEdit([&] { doc->SetBarcodeType(0, "code 128"); });
    EXPECT_EQ(settings::GetText(settings::kDefaultBarcode, settings::kBarcodeType), "code 128");
    expectNoEdit([&] { doc->SetBarcodeType(0, "CODE 128"); });
    expectNoEdit([&] { doc->SetBarcodeType(0, "No such code"); });

    expectUndoableEdit([&] { doc->SetBarcodeType(0, std::string("QR Code") + '\xAE'); });
    expectUndoableEdit([&] { doc->SetQrEccLevel(0, "H"); });
    EXPECT_EQ(settings::GetText(settings::kDefaultBarcode, settings::kBarcodeQrEccLevel), "H");

    // A text is no barcode: nothing happens and nothing is written.
    area().DeselectAll();
    add<CGraphTextExt>(0, 20000, 5000, 5000);
    expectNoEdit([&] { doc->SetBarcodeModule(0, 500); });
    EXPECT_EQ(settings::GetInt(settings::kDefaultBarcode, settings::kBarcodeModule), 250);
}

TEST_F(EditTest, ImportImageAsksForAFileOnlyWithAnImageSelected)
{
    add<CGraphRect>(0, 0, 5000, 5000);
    expectNoEdit([&] { doc->ImportImage(0); });
    EXPECT_TRUE(m_ui.fileDialogs.empty());

    area().DeselectAll();
    add<CGraphImageExtExt>(0, 0, 10000, 10000);
    m_ui.fileNames = {std::nullopt, QString("/pictures/motor.png"), "/" + QString(200, 'a') + ".png"};
    expectNoEdit([&] { doc->ImportImage(0); }); // cancelled
    ASSERT_EQ(m_ui.fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui.fileDialogs[0].request.filter, "Image files |*.jpg;*.jpeg;*.bmp;*.png;*.wmf||");
    EXPECT_EQ(m_ui.fileDialogs[0].request.defaultExtension, "jpg");

    expectUndoableEdit([&] { doc->ImportImage(0); });
    EXPECT_EQ(static_cast<CGraphImage*>(area().GetAt(1))->GetFileName(), "/pictures/motor.png");
    // A name too long for the record is refused with a message.
    expectNoEdit([&] { doc->ImportImage(0); });
    EXPECT_EQ(m_ui.messages.size(), 1u);
}
