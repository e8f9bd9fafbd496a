// Editing commands of the design canvas sent through the router, and the
// states their update handlers give the ribbon.
#include "content/barcodes/barcode.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "platform/commandids.h"
#include "shell/design/designlength.h"
#include "shell/inplaceedit.h"

#include "canvas_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace {

using canvastest::kInch;

class EditCommandsTest : public canvastest::CommandTest {
protected:
    CGraphTextExt* addText(bool selected = true)
    {
        auto* t = add<CGraphTextExt>(kInch, kInch, kInch, kInch / 2, selected);
        t->SetSourceKind(kTextKindFixed);
        t->SetText("x");
        return t;
    }
    CGraphBarcode* addBarcode(int16_t key)
    {
        auto* b = add<CGraphBarcode>(kInch, kInch, kInch, kInch, true);
        b->SetSymbology(CreateBarcode(key));
        return b;
    }
};

TEST_F(EditCommandsTest, GeometryBoxesParseBothUnitsAndShowTheirOwn)
{
    widgettest::LocaleScope locale("en_US");
    ASSERT_TRUE(view->hasFocus());
    view->SetMeasure(designlength::kMetric);
    CGraphRect* r = add(kInch, kInch, kInch, kInch, true);
    type(cmd::kSelectionWidth, "7");
    EXPECT_EQ(r->GetWidth(), 7000);
    type(cmd::kSelectionWidth, "0.5 in");
    EXPECT_EQ(r->GetWidth(), 12700);
    EXPECT_EQ(shown(cmd::kSelectionWidth), "12.7 mm");
    type(cmd::kSelectionWidth, "wide"); // ignored
    EXPECT_EQ(r->GetWidth(), 12700);

    view->SetMeasure(designlength::kUS);
    EXPECT_EQ(shown(cmd::kSelectionX), "1 in");
    EXPECT_EQ(shown(cmd::kSelectionY), "25.4 mm");
    // Without a selection, or locked, the boxes are empty and disabled.
    area().DeselectAll();
    EXPECT_FALSE(state(cmd::kSelectionHeight).IsEnabled());
    EXPECT_EQ(shown(cmd::kSelectionHeight), "");
    // Without the focus the boxes keep what is typed in them.
    r->SetSelected(true);
    view->clearFocus();
    EXPECT_FALSE(state(cmd::kSelectionHeight).GetText().has_value());
}

TEST_F(EditCommandsTest, OpenEditorTakesDeleteAndUndo)
{
    addText();
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    CInPlaceEdit* edit = view->GetInPlaceEdit();
    ASSERT_NE(edit, nullptr);
    const int objects = area().GetCount();
    edit->selectAll();
    router.Route(cmd::kDelete);
    EXPECT_EQ(edit->toPlainText(), "");
    EXPECT_EQ(area().GetCount(), objects);
    doc->SetModifiedFlag(false);
    router.Route(cmd::kEditUndo);
    EXPECT_EQ(edit->toPlainText(), "x");
    EXPECT_EQ(area().GetCount(), objects);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EditCommandsTest, BarcodeSizeCombosFollowTheSelectedKinds)
{
    // Module and height percentages are the EAN family's.
    addBarcode(kKeyEAN13);
    addBarcode(kKeyCode128);
    state(cmd::kBarcodeModuleBox);
    ASSERT_NE(ribbon->FindCombo(cmd::kBarcodeModuleBox), nullptr);
    EXPECT_EQ(ribbon->FindCombo(cmd::kBarcodeModuleBox)->count(), 11);
    EXPECT_EQ(ribbon->FindCombo(cmd::kBarcodeModuleBox)->itemText(0), "0.2 mm");
    EXPECT_EQ(ribbon->FindCombo(cmd::kBarcodeModuleBox)->itemText(10), "200 %");
    area().GetAt(1)->SetSelected(false);
    state(cmd::kBarcodeHeightBox);
    EXPECT_EQ(ribbon->FindCombo(cmd::kBarcodeHeightBox)->count(), 7);
    EXPECT_EQ(ribbon->FindCombo(cmd::kBarcodeHeightBox)->itemText(0), "50 %");
}

TEST_F(EditCommandsTest, CenterVerticalOneAndSeveralWithOneUndoStep)
{
    CGraphRect* a = add(0, 0, 10000, 10000, true);
    const int before = undoCount();
    router.Route(cmd::kCenterVertical);
    EXPECT_EQ(a->GetY(), 20000); // centre at half of 50 mm
    EXPECT_EQ(undoCount(), before + 1);
    CGraphRect* b = add(0, 40000, 10000, 4000, true);
    router.Route(cmd::kCenterVertical);
    // Centres 25000 and 42000: both on 33500.
    EXPECT_EQ(a->GetY() + 5000, 33500);
    EXPECT_EQ(b->GetY() + 2000, 33500);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(area().GetAt(0)->GetY(), 20000);
    EXPECT_EQ(area().GetAt(1)->GetY(), 40000);
}

TEST_F(EditCommandsTest, InsertWaitsForIdleADefinedLabelAndNoLock)
{
    ASSERT_TRUE(state(cmd::kInsertRectangle).IsEnabled());
    add(kInch, kInch, kInch, kInch, false);
    press({200, 200}); // rubber band
    moveTo({220, 220});
    router.Route(cmd::kInsertRectangle);
    EXPECT_EQ(view->GetPendingObject(), nullptr);
    release({220, 220});
    router.Route(cmd::kInsertRectangle);
    ASSERT_NE(view->GetPendingObject(), nullptr);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseCreate);
    EXPECT_EQ(view->GetPendingObject()->GetPenWidth(), 1000);

    doc->GetCurrentTemplate().SetLocked(true);
    EXPECT_FALSE(state(cmd::kInsertText).IsEnabled());
    doc->GetCurrentTemplate().SetLocked(false);
    doc->GetCurrentTemplate().SetLabel(nullptr);
    EXPECT_FALSE(state(cmd::kInsertText).IsEnabled());
}

TEST_F(EditCommandsTest, HelpLineCountsAndZoomMenu)
{
    const CHelpLines& h = doc->GetCurrentTemplate().GetHelpLines();
    type(cmd::kHelpLineRows, "5");
    EXPECT_EQ(h.GetHorizontalCount(), 5);
    for (const char* bad : {"0", "100", "-3", "x"}) {
        type(cmd::kHelpLineRows, bad);
        EXPECT_EQ(h.GetHorizontalCount(), 5) << bad;
    }
    type(cmd::kHelpLineColumns, "1");
    EXPECT_EQ(h.GetVerticalCount(), 1);
    type(cmd::kHelpLineColumns, "99");
    EXPECT_EQ(h.GetVerticalCount(), 99);
    for (auto [id, percent] : {std::pair{cmd::kZoom50, 50}, {cmd::kZoom75, 75}, {cmd::kZoom100, 100},
                               {cmd::kZoom200, 200}, {cmd::kZoom300, 300}, {cmd::kZoom400, 400}}) {
        router.Route(id);
        EXPECT_EQ(view->GetZoom(), percent);
        EXPECT_EQ(state(id).GetChecked(), std::optional<bool>(true));
        EXPECT_EQ(state(id == 858 ? 843 : 858).GetChecked(), std::optional<bool>(false));
    }
}

TEST_F(EditCommandsTest, DataSourceButtonsAndColumnCombo)
{
    CGraphTextExt* t = addText();
    for (auto [id, kind] : {std::pair{cmd::kSourceDate, 2}, {cmd::kSourceTime, 3}, {cmd::kSourceAutoIncrement, 4},
                            {cmd::kSourceConstant, 1}, {cmd::kSourceTable, 0}}) {
        router.Route(id);
        EXPECT_EQ(t->TextPart()->GetKind(), kind) << id;
        for (int other = 700; other <= 704; ++other)
            EXPECT_EQ(state(other).GetChecked(), std::optional<bool>(other == id)) << other;
    }
    type(cmd::kColumnBox, "b");
    std::string columns;
    ASSERT_TRUE(t->GetSourceColumnText(columns));
    EXPECT_EQ(columns, "B");
}

TEST_F(EditCommandsTest, FontSizeAndTypefaceRefuseWhatCannotBeAFont)
{
    CGraphTextExt* t = addText();
    type(cmd::kFontSizeBox, "12");
    const int twelve = doc->GetFontSize(0);
    EXPECT_EQ(twelve, 12);
    const int before = undoCount();
    for (const char* bad : {"0", "-4", "123456", "1000"})
        type(cmd::kFontSizeBox, bad);
    EXPECT_EQ(doc->GetFontSize(0), 12);
    EXPECT_EQ(undoCount(), before);
    type(cmd::kFontSizeBox, "999");
    EXPECT_EQ(doc->GetFontSize(0), 999);

    type(cmd::kTypefaceBox, QString(32, u'F'));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(undoCount(), before + 1);
    type(cmd::kTypefaceBox, QString(31, u'F'));
    EXPECT_EQ(doc->GetTypeface(0), std::string(31, 'F'));
    EXPECT_EQ(t->IsSelected(), true);
}

TEST_F(EditCommandsTest, LockAndUnlockThroughTheirDialogs)
{
    const auto answer = [](const QString& password) {
        QTimer::singleShot(0, [password] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                edit->setText(password);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    answer(QStringLiteral("s\u00E9cret"));
    router.Route(cmd::kLock);
    ASSERT_TRUE(doc->GetCurrentTemplate().IsLocked());
    EXPECT_EQ(doc->GetLockPassword(), "s\xE9" "cret");
    EXPECT_EQ(state(cmd::kLock).GetChecked(), std::optional<bool>(true));
    answer(QStringLiteral("s\u00E9cret"));
    router.Route(cmd::kLock);
    EXPECT_FALSE(doc->GetCurrentTemplate().IsLocked());
}

// Every command that changes objects, with a selection that suits it: one
// document operation (one undo step), enabled before; and disabled on a
// locked template when its rule names the lock.
TEST_F(EditCommandsTest, EachCommandIsOneOperationAndFollowsTheLock)
{
    enum class Sel { Rects, Text, Barcode };
    struct Row {
        int id;
        Sel sel;
        const char* box; // typed first, or null
        bool namesLock;
    };
    const Row rows[] = {
        {cmd::kRotateLeft, Sel::Rects, nullptr, false},
        {cmd::kRotateRight, Sel::Rects, nullptr, false},
        {cmd::kCombine, Sel::Rects, nullptr, true},
        {cmd::kDuplicateBelow, Sel::Rects, nullptr, false},
        {cmd::kDuplicateRight, Sel::Rects, nullptr, false},
        {cmd::kDuplicateAbove, Sel::Rects, nullptr, false},
        {cmd::kDuplicateLeft, Sel::Rects, nullptr, false},
        {cmd::kBringToFront, Sel::Rects, nullptr, true},
        {cmd::kSendToBack, Sel::Rects, nullptr, true},
        {cmd::kBringForward, Sel::Rects, nullptr, true},
        {cmd::kSendBackward, Sel::Rects, nullptr, true},
        {cmd::kAlignLeft, Sel::Rects, nullptr, false},
        {cmd::kAlignTop, Sel::Rects, nullptr, false},
        {cmd::kAlignRight, Sel::Rects, nullptr, false},
        {cmd::kAlignBottom, Sel::Rects, nullptr, false},
        {cmd::kCenterHorizontal, Sel::Rects, nullptr, true},
        {cmd::kCenterVertical, Sel::Rects, nullptr, true},
        {cmd::kSpaceHorizontal, Sel::Rects, nullptr, false},
        {cmd::kSpaceVertical, Sel::Rects, nullptr, false},
        {cmd::kDelete, Sel::Rects, nullptr, false},
        {cmd::kSelectionX, Sel::Rects, "3", true},
        {cmd::kSelectionY, Sel::Rects, "3", true},
        {cmd::kSelectionWidth, Sel::Rects, "3", true},
        {cmd::kSelectionHeight, Sel::Rects, "3", true},
        {cmd::kLineWidthBox, Sel::Rects, "2", true},
        {cmd::kTypefaceBox, Sel::Text, "Liberation Serif", false},
        {cmd::kFontSizeBox, Sel::Text, "30", false},
        {cmd::kBold, Sel::Text, nullptr, false},
        {cmd::kItalic, Sel::Text, nullptr, false},
        {cmd::kUnderline, Sel::Text, nullptr, false},
        {cmd::kTextAlignLeft, Sel::Text, nullptr, false},
        {cmd::kTextAlignRight, Sel::Text, nullptr, false},
        {cmd::kAutoSize, Sel::Text, nullptr, true},
        {cmd::kCenterTextVertical, Sel::Text, nullptr, true},
        {cmd::kTransparent, Sel::Text, nullptr, false},
        {cmd::kTextColour, Sel::Text, nullptr, false},
        {cmd::kSourceDate, Sel::Text, nullptr, true},
        {cmd::kSourceTime, Sel::Text, nullptr, true},
        {cmd::kSourceAutoIncrement, Sel::Text, nullptr, true},
        {cmd::kBarcodeSymbolBox, Sel::Barcode, "Code 128", true},
        {cmd::kBarcodeModuleBox, Sel::Barcode, "0.5", true},
        {cmd::kBarcodeHeightBox, Sel::Barcode, "20", true},
        {cmd::kCheckDigit, Sel::Barcode, nullptr, true},
        {cmd::kHumanReadable, Sel::Barcode, nullptr, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        area().RemoveAll();
        doc->GetCurrentTemplate().GetUndoHistory(0)->Clear();
        doc->GetCurrentTemplate().SetLocked(false);
        switch (row.sel) {
        case Sel::Rects:
            add(45000, 40000, 2000, 2000, false);
            add(1000, 1000, 5000, 4000, true);
            add(9000, 3000, 6000, 5000, true);
            add(30000, 20000, 7000, 9000, true);
            add(40000, 30000, 2000, 2000, false);
            break;
        case Sel::Text: addText()->SetTextColor(0x123456); break;
        case Sel::Barcode: addBarcode(kKeyCode39); break;
        }
        EXPECT_TRUE(state(row.id).IsEnabled());
        const int before = undoCount();
        if (row.box)
            type(row.id, row.box);
        else
            router.Route(row.id);
        EXPECT_EQ(undoCount(), before + 1);
        if (row.namesLock) {
            area().GetAt(area().GetCount() - 1)->SetSelected(true);
            doc->GetCurrentTemplate().SetLocked(true);
            EXPECT_FALSE(state(row.id).IsEnabled());
        }
    }
    doc->GetCurrentTemplate().SetLocked(false);
}

} // namespace
