// Editing commands of the design canvas sent through the router, and the
// states their update handlers give the ribbon.
#include "content/barcodes/barcode.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
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
    type(612, "7");
    EXPECT_EQ(r->GetWidth(), 7000);
    type(612, "0.5 in");
    EXPECT_EQ(r->GetWidth(), 12700);
    EXPECT_EQ(shown(612), "12.7 mm");
    type(612, "wide"); // ignored
    EXPECT_EQ(r->GetWidth(), 12700);

    view->SetMeasure(designlength::kUS);
    EXPECT_EQ(shown(610), "1 in");
    EXPECT_EQ(shown(611), "25.4 mm");
    // Without a selection, or locked, the boxes are empty and disabled.
    area().DeselectAll();
    EXPECT_FALSE(state(613).IsEnabled());
    EXPECT_EQ(shown(613), "");
    // Without the focus the boxes keep what is typed in them.
    r->SetSelected(true);
    view->clearFocus();
    EXPECT_FALSE(state(613).GetText().has_value());
}

TEST_F(EditCommandsTest, OpenEditorTakesDeleteAndUndo)
{
    addText();
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, {120, 110});
    CInPlaceEdit* edit = view->GetInPlaceEdit();
    ASSERT_NE(edit, nullptr);
    const int objects = area().GetCount();
    edit->selectAll();
    router.Route(Vorteplan_SoftLabelDesignView::kDeleteCommand);
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
    state(791);
    ASSERT_NE(ribbon->FindCombo(791), nullptr);
    EXPECT_EQ(ribbon->FindCombo(791)->count(), 11);
    EXPECT_EQ(ribbon->FindCombo(791)->itemText(0), "0.2 mm");
    EXPECT_EQ(ribbon->FindCombo(791)->itemText(10), "200 %");
    area().GetAt(1)->SetSelected(false);
    state(792);
    EXPECT_EQ(ribbon->FindCombo(792)->count(), 7);
    EXPECT_EQ(ribbon->FindCombo(792)->itemText(0), "50 %");
}

TEST_F(EditCommandsTest, CenterVerticalOneAndSeveralWithOneUndoStep)
{
    CGraphRect* a = add(0, 0, 10000, 10000, true);
    const int before = undoCount();
    router.Route(240);
    EXPECT_EQ(a->GetY(), 20000); // centre at half of 50 mm
    EXPECT_EQ(undoCount(), before + 1);
    CGraphRect* b = add(0, 40000, 10000, 4000, true);
    router.Route(240);
    // Centres 25000 and 42000: both on 33500.
    EXPECT_EQ(a->GetY() + 5000, 33500);
    EXPECT_EQ(b->GetY() + 2000, 33500);
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(area().GetAt(0)->GetY(), 20000);
    EXPECT_EQ(area().GetAt(1)->GetY(), 40000);
}

TEST_F(EditCommandsTest, InsertWaitsForIdleADefinedLabelAndNoLock)
{
    ASSERT_TRUE(state(711).IsEnabled());
    add(kInch, kInch, kInch, kInch, false);
    press({200, 200}); // rubber band
    moveTo({220, 220});
    router.Route(711);
    EXPECT_EQ(view->GetPendingObject(), nullptr);
    release({220, 220});
    router.Route(711);
    ASSERT_NE(view->GetPendingObject(), nullptr);
    EXPECT_EQ(view->GetMouseMode(), Vorteplan_SoftLabelDesignView::MouseCreate);
    EXPECT_EQ(view->GetPendingObject()->GetPenWidth(), 1000);

    doc->GetCurrentTemplate().SetLocked(true);
    EXPECT_FALSE(state(221).IsEnabled());
    doc->GetCurrentTemplate().SetLocked(false);
    doc->GetCurrentTemplate().SetLabel(nullptr);
    EXPECT_FALSE(state(221).IsEnabled());
}

TEST_F(EditCommandsTest, HelpLineCountsAndZoomMenu)
{
    const CHelpLines& h = doc->GetCurrentTemplate().GetHelpLines();
    type(11259, "5");
    EXPECT_EQ(h.GetHorizontalCount(), 5);
    for (const char* bad : {"0", "100", "-3", "x"}) {
        type(11259, bad);
        EXPECT_EQ(h.GetHorizontalCount(), 5) << bad;
    }
    type(11260, "1");
    EXPECT_EQ(h.GetVerticalCount(), 1);
    type(11260, "99");
    EXPECT_EQ(h.GetVerticalCount(), 99);
    for (auto [id, percent] : {std::pair{858, 50}, {859, 75}, {840, 100}, {841, 200}, {842, 300}, {843, 400}}) {
        router.Route(id);
        EXPECT_EQ(view->GetZoom(), percent);
        EXPECT_EQ(state(id).GetChecked(), std::optional<bool>(true));
        EXPECT_EQ(state(id == 858 ? 843 : 858).GetChecked(), std::optional<bool>(false));
    }
}

TEST_F(EditCommandsTest, DataSourceButtonsAndColumnCombo)
{
    CGraphTextExt* t = addText();
    for (auto [id, kind] : {std::pair{702, 2}, {703, 3}, {704, 4}, {700, 1}, {701, 0}}) {
        router.Route(id);
        EXPECT_EQ(t->TextPart()->GetKind(), kind) << id;
        for (int other = 700; other <= 704; ++other)
            EXPECT_EQ(state(other).GetChecked(), std::optional<bool>(other == id)) << other;
    }
    type(705, "b");
    std::string columns;
    ASSERT_TRUE(t->GetSourceColumnText(columns));
    EXPECT_EQ(columns, "B");
}

TEST_F(EditCommandsTest, FontSizeAndTypefaceRefuseWhatCannotBeAFont)
{
    CGraphTextExt* t = addText();
    type(251, "12");
    const int twelve = doc->GetFontSize(0);
    EXPECT_EQ(twelve, 12);
    const int before = undoCount();
    for (const char* bad : {"0", "-4", "123456", "1000"})
        type(251, bad);
    EXPECT_EQ(doc->GetFontSize(0), 12);
    EXPECT_EQ(undoCount(), before);
    type(251, "999");
    EXPECT_EQ(doc->GetFontSize(0), 999);

    type(250, QString(32, u'F'));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(undoCount(), before + 1);
    type(250, QString(31, u'F'));
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
    router.Route(780);
    ASSERT_TRUE(doc->GetCurrentTemplate().IsLocked());
    EXPECT_EQ(doc->GetLockPassword(), "s\xE9" "cret");
    EXPECT_EQ(state(780).GetChecked(), std::optional<bool>(true));
    answer(QStringLiteral("s\u00E9cret"));
    router.Route(780);
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
        {224, Sel::Rects, nullptr, false}, {225, Sel::Rects, nullptr, false}, {233, Sel::Rects, nullptr, true},
        {781, Sel::Rects, nullptr, false}, {782, Sel::Rects, nullptr, false}, {850, Sel::Rects, nullptr, false},
        {851, Sel::Rects, nullptr, false}, {252, Sel::Rects, nullptr, true},  {253, Sel::Rects, nullptr, true},
        {228, Sel::Rects, nullptr, true},  {229, Sel::Rects, nullptr, true},  {246, Sel::Rects, nullptr, false},
        {247, Sel::Rects, nullptr, false}, {248, Sel::Rects, nullptr, false}, {249, Sel::Rects, nullptr, false},
        {239, Sel::Rects, nullptr, true},  {240, Sel::Rects, nullptr, true},  {751, Sel::Rects, nullptr, false},
        {752, Sel::Rects, nullptr, false}, {839, Sel::Rects, nullptr, false}, {610, Sel::Rects, "3", true},
        {611, Sel::Rects, "3", true},      {612, Sel::Rects, "3", true},      {613, Sel::Rects, "3", true},
        {800, Sel::Rects, "2", true},
        {250, Sel::Text, "Liberation Serif", false}, {251, Sel::Text, "30", false},
        {230, Sel::Text, nullptr, false},  {231, Sel::Text, nullptr, false},  {232, Sel::Text, nullptr, false},
        {235, Sel::Text, nullptr, false},  {237, Sel::Text, nullptr, false},  {849, Sel::Text, nullptr, true},
        {877, Sel::Text, nullptr, true},   {723, Sel::Text, nullptr, false},  {722, Sel::Text, nullptr, false},
        {702, Sel::Text, nullptr, true},   {703, Sel::Text, nullptr, true},   {704, Sel::Text, nullptr, true},
        {790, Sel::Barcode, "Code 128", true}, {791, Sel::Barcode, "0.5", true}, {792, Sel::Barcode, "20", true},
        {793, Sel::Barcode, nullptr, true},   {794, Sel::Barcode, nullptr, true},
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
