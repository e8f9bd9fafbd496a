// Operations of a collection on its selected objects: alignment, spacing,
// stacking order, tracking, paste, duplication, rotation, band operations
// and the property getters and setters.
#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "content/textparts/text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CGraphRect* addRect(CGraphCollection& c, int x, int y, int w, int h, bool selected = true)
{
    auto o = std::make_unique<CGraphRect>();
    o->SetX(x);
    o->SetY(y);
    o->SetWidth(w);
    o->SetHeight(h);
    o->SetSelected(selected);
    CGraphRect* raw = o.get();
    c.AddTail(std::move(o));
    return raw;
}

CGraphTextExt* addColumnText(CGraphCollection& c, const char* column, int x, int y, bool selected = true)
{
    auto t = std::make_unique<CGraphTextExt>();
    t->SetTextPart(std::make_unique<CTextTable>());
    t->SetSourceColumnText(column);
    t->SetX(x);
    t->SetY(y);
    t->SetWidth(10000);
    t->SetHeight(5000);
    t->SetSelected(selected);
    CGraphTextExt* raw = t.get();
    c.AddTail(std::move(t));
    return raw;
}

std::string columnOf(const CGraphObject* o)
{
    std::string s;
    o->GetSourceColumnText(s);
    return s;
}

} // namespace

TEST(Selection, StackingOrderMovesOnlyTheFirstSelected)
{
    CGraphCollection c;
    CGraphRect* a = addRect(c, 0, 0, 1, 1, false);
    CGraphRect* b = addRect(c, 0, 0, 1, 1, false);
    CGraphRect* d = addRect(c, 0, 0, 1, 1, false);

    a->SetSelected(true);
    EXPECT_FALSE(c.SendBackward());
    EXPECT_FALSE(c.SendToBack());
    EXPECT_EQ(c.GetAt(0), a);
    a->SetSelected(false);
    d->SetSelected(true);
    EXPECT_FALSE(c.BringForward());
    EXPECT_FALSE(c.BringToFront());
    EXPECT_EQ(c.GetAt(2), d);

    // Two selected: only the earlier one goes to the top.
    b->SetSelected(true);
    EXPECT_TRUE(c.BringToFront());
    EXPECT_EQ(c.GetAt(0), a);
    EXPECT_EQ(c.GetAt(1), d);
    EXPECT_EQ(c.GetAt(2), b);

    EXPECT_TRUE(c.SendToBack()); // d is now the first selected
    EXPECT_EQ(c.GetAt(0), d);
    EXPECT_EQ(c.GetAt(1), a);
    EXPECT_TRUE(c.BringForward());
    EXPECT_EQ(c.GetAt(0), a);
    EXPECT_EQ(c.GetAt(1), d);
    EXPECT_TRUE(c.SendBackward());
    EXPECT_EQ(c.GetAt(0), d);

    CGraphCollection none;
    EXPECT_FALSE(none.BringToFront());
}

TEST(Selection, ExtremesAlignmentAndCentres)
{
    CGraphCollection c;
    EXPECT_EQ(c.GetSelectedMinLeft(), 134217727);
    EXPECT_EQ(c.GetSelectedMinTop(), 134217727);
    EXPECT_EQ(c.GetSelectedMaxRight(), 0);
    EXPECT_EQ(c.GetSelectedMeanCenter(1), 0); // nothing selected: no division by zero

    CGraphRect* a = addRect(c, -5000, 1000, 4000, 2000);
    CGraphRect* b = addRect(c, 3000, 4000, 6000, 2000);
    CGraphRect* unselected = addRect(c, -90000, -90000, 1000, 1000, false);
    EXPECT_EQ(c.GetSelectedMinLeft(), -5000);
    EXPECT_EQ(c.GetSelectedMaxRight(), 9000);
    EXPECT_EQ(c.GetSelectedMaxBottom(), 6000);
    EXPECT_EQ(c.GetSelectedMeanCenter(1), (-3000 + 6000) / 2);

    c.SetSelectedRight(c.GetSelectedMaxRight());
    EXPECT_EQ(a->GetRight(), 9000);
    EXPECT_EQ(b->GetRight(), 9000);
    EXPECT_EQ(unselected->GetLeft(), -90000);

    EXPECT_TRUE(c.SetSelectedCenter(20000, 2));
    EXPECT_EQ(a->GetCenter(2), 20000);
    EXPECT_FALSE(c.SetSelectedCenter(20000, 3));

    // Band centring: bounds included, the centre must lie in both ranges.
    CGraphCollection band;
    CGraphRect* in = addRect(band, 0, 0, 10000, 10000);    // centre 5000, 5000
    CGraphRect* out = addRect(band, 2000, 0, 10000, 10000); // centre 7000
    EXPECT_TRUE(band.CenterObjectsInBand(5000, 6000, 5000, 1, 30000));
    EXPECT_EQ(in->GetCenter(1), 30000);
    EXPECT_EQ(out->GetLeft(), 2000);
    EXPECT_FALSE(band.CenterObjectsInBand(0, 1000, 100000, 1, 0));
    EXPECT_TRUE(band.HasSelectedCenterInRange(7000, 5000));
    EXPECT_FALSE(band.HasSelectedCenterInRange(6999, 4999));
}

TEST(Selection, SpacingEvenly)
{
    {
        // Three 10 mm objects spanning 0..50 mm: the middle one lands at 20 mm.
        CGraphCollection c;
        CGraphRect* l = addRect(c, 0, 0, 10000, 1000);
        CGraphRect* m = addRect(c, 5000, 0, 10000, 1000);
        CGraphRect* r = addRect(c, 40000, 0, 10000, 1000);
        c.SpaceSelectedEvenlyHorizontal();
        EXPECT_EQ(l->GetLeft(), 0);
        EXPECT_EQ(m->GetLeft(), 20000);
        EXPECT_EQ(r->GetLeft(), 40000);
    }
    {
        // Inner objects are laid out in the order of their edges, not the list.
        CGraphCollection c;
        CGraphRect* b = addRect(c, 0, 30000, 1000, 2000);
        CGraphRect* top = addRect(c, 0, 0, 1000, 2000);
        CGraphRect* a = addRect(c, 0, 10000, 1000, 2000);
        CGraphRect* bottom = addRect(c, 0, 50000, 1000, 2000);
        c.SpaceSelectedEvenlyVertical();
        // free = 52000 - 0 - 2000 - 2000 - 4000 = 44000, gap 14666
        EXPECT_EQ(top->GetTop(), 0);
        EXPECT_EQ(a->GetTop(), 2000 + 14666);
        EXPECT_EQ(b->GetTop(), 2000 + 14666 + 2000 + 14666);
        EXPECT_EQ(bottom->GetTop(), 50000);
    }
    {
        // Two selected objects never move.
        CGraphCollection c;
        CGraphRect* a = addRect(c, 0, 0, 1000, 1000);
        CGraphRect* b = addRect(c, 7000, 0, 1000, 1000);
        c.SpaceSelectedEvenlyHorizontal();
        EXPECT_EQ(a->GetLeft(), 0);
        EXPECT_EQ(b->GetLeft(), 7000);
    }
    {
        // One object spans the whole selection: the others are spread inside
        // it.
        CGraphCollection c;
        CGraphRect* frame = addRect(c, 0, 0, 100000, 1000);
        CGraphRect* a = addRect(c, 60000, 0, 20000, 1000);
        CGraphRect* b = addRect(c, 10000, 0, 20000, 1000);
        c.SpaceSelectedEvenlyHorizontal();
        EXPECT_EQ(frame->GetLeft(), 0);
        EXPECT_EQ(b->GetLeft(), 20000);
        EXPECT_EQ(a->GetLeft(), 60000);
    }
    {
        // Objects wider than the room between the outer ones overlap evenly:
        // free = 30000 - 10000 - 10000 - 20000 = -10000, gap -5000.
        CGraphCollection c;
        addRect(c, 0, 0, 10000, 1000);
        CGraphRect* wide = addRect(c, 5000, 0, 20000, 1000);
        addRect(c, 20000, 0, 10000, 1000);
        c.SpaceSelectedEvenlyHorizontal();
        EXPECT_EQ(wide->GetLeft(), 5000);
    }
    {
        // Two of them: free = 40000 - 20000 - 30000 = -10000, gap -3333
        // (rounded towards zero) before, between and after them.
        CGraphCollection c;
        addRect(c, 0, 0, 1000, 10000);
        CGraphRect* a = addRect(c, 0, 1000, 1000, 15000);
        CGraphRect* b = addRect(c, 0, 2000, 1000, 15000);
        addRect(c, 0, 30000, 1000, 10000);
        c.SpaceSelectedEvenlyVertical();
        EXPECT_EQ(a->GetTop(), 10000 - 3333);
        EXPECT_EQ(b->GetTop(), 10000 - 3333 + 15000 - 3333);
    }
}

TEST(Selection, EndMoveKeepsTheSelectionInsideTheArea)
{
    QImage image = testsupport::whiteImage(200, 200);
    CDC dc(&image);
    CGraphCollection c;
    CGraphRect* a = addRect(c, 1000, 3000, 5000, 5000);
    CGraphRect* b = addRect(c, 20000, 3000, 5000, 5000);
    CGraphRect* still = addRect(c, 40000, 3000, 5000, 5000, false);
    CTracking gesture;
    c.BeginMoveSelected(gesture, dc, 100, 50, 50);
    EXPECT_EQ(gesture.GetCount(), 2u);
    c.TrackMoveSelected(gesture, dc, 42, 50);
    c.EndMoveSelected(gesture, dc, 42, 50); // 8 px to the left: past the area's left edge
    EXPECT_EQ(a->GetLeft(), 0);
    EXPECT_EQ(b->GetLeft() - a->GetLeft(), 19000);
    EXPECT_EQ(a->GetTop(), 3000);
    EXPECT_EQ(still->GetLeft(), 40000);
    EXPECT_TRUE(gesture.IsEmpty());

    // A gesture that never ended (its button release lost) leaves nothing
    // to the next one: only what is selected now is tracked.
    c.BeginMoveSelected(gesture, dc, 100, 50, 50);
    a->SetSelected(false);
    b->SetSelected(false);
    still->SetSelected(true);
    c.BeginResizeSelected(gesture, dc, 100, 50, 50);
    EXPECT_EQ(gesture.GetCount(), 1u);
    c.CancelTrackingSelected(gesture, dc);
    EXPECT_TRUE(gesture.IsEmpty());
}

TEST(Selection, PasteDeleteAndCopy)
{
    CGraphCollection source;
    addRect(source, 1000, 2000, 3000, 4000, false);
    addRect(source, 5000, 6000, 3000, 4000, false);

    CGraphCollection empty;
    empty.PasteFrom(source);
    ASSERT_EQ(empty.GetCount(), 2u);
    EXPECT_EQ(empty.GetAt(0)->GetLeft(), 1000);
    EXPECT_EQ(empty.GetAt(1)->GetTop(), 6000);
    EXPECT_EQ(empty.GetSelectedCount(), 2u);

    empty.DeselectAll();
    empty.PasteFrom(source);
    ASSERT_EQ(empty.GetCount(), 4u);
    EXPECT_EQ(empty.GetAt(2)->GetLeft(), 6000);
    EXPECT_EQ(empty.GetAt(2)->GetTop(), 7000);
    EXPECT_EQ(empty.GetSelectedCount(), 2u);

    empty.PasteFrom(empty); // into itself: only the objects that were there
    EXPECT_EQ(empty.GetCount(), 8u);

    CGraphCollection target;
    empty.CopySelectedTo(&target);
    EXPECT_EQ(target.GetCount(), 6u);
    empty.CopySelectedTo(nullptr);
    empty.DeleteSelected();
    EXPECT_EQ(empty.GetCount(), 2u);
    EXPECT_FALSE(empty.HasSelection());
}

TEST(Selection, FontAndTextProperties)
{
    CGraphCollection c;
    EXPECT_EQ(c.GetSelectedFontSize(), -1);
    int alignment = 7;
    c.GetSelectedTextAlignment(alignment);
    EXPECT_EQ(alignment, 7);

    CGraphRect* rect = addRect(c, 0, 0, 1000, 1000);
    rect->SetPenWidth(300);
    CGraphTextExt* text = addColumnText(c, "C", 0, 0);
    LOGFONTA font = text->Font();
    font.lfHeight = -13;
    std::strcpy(font.lfFaceName, "Arial");
    text->SetLogFont(font);

    EXPECT_EQ(c.GetSelectedFontSize(), 10);
    c.SetSelectedFontSize(12);
    EXPECT_EQ(text->Font().lfHeight, -16);
    std::string face = "unchanged";
    c.GetSelectedFaceName(face);
    EXPECT_EQ(face, "Arial");

    c.SetSelectedBold(true);
    EXPECT_TRUE(c.IsSelectedBold());
    c.SetSelectedTextAlignment(CGraphText::kAlignRight);
    c.GetSelectedTextAlignment(alignment);
    EXPECT_EQ(alignment, 2);

    // First selected object offering the property; the rectangle comes first.
    EXPECT_EQ(c.GetSelectedLineWidth(), 300);
    EXPECT_EQ(c.GetSelectedX(), 0);
    std::string column;
    EXPECT_TRUE(c.GetSelectedSourceColumnText(column));
    EXPECT_EQ(column, "C");
    EXPECT_TRUE(c.HasTableSource());
    EXPECT_EQ(c.GetSelectedCharSet(), text->GetCharSet());

    c.SetSelectedFillColor(RGB(1, 2, 3));
    EXPECT_EQ(c.GetSelectedFillColor(), RGB(1, 2, 3));
    EXPECT_FALSE(rect->GetTransparent());

    // Barcode questions on objects without barcodes answer their defaults.
    EXPECT_FALSE(c.HasSelectedBarcode());
    EXPECT_EQ(c.GetSelectedBarcodeModule(), -1);
    std::string ratio;
    EXPECT_FALSE(c.GetSelectedBarcodeRatioText(ratio));
    EXPECT_EQ(c.GetSelectedModuleChoiceKinds(), 0);

    c.DeselectAll();
    EXPECT_EQ(c.GetSelectedLineWidth(), 1000);
    EXPECT_EQ(c.GetSelectedX(), -1);
    EXPECT_FALSE(c.HasTableSource());
}

TEST(Selection, DuplicationBindsNextFreeColumns)
{
    CGraphCollection c;
    CGraphTextExt* first = addColumnText(c, "A", 0, 0);
    CGraphTextExt* second = addColumnText(c, "A", 0, 6000);
    c.DuplicateSelectionBelow();
    ASSERT_EQ(c.GetCount(), 4u);
    EXPECT_FALSE(first->IsSelected());
    EXPECT_FALSE(second->IsSelected());
    EXPECT_EQ(columnOf(c.GetAt(2)), "B");
    EXPECT_EQ(columnOf(c.GetAt(3)), "C");
    EXPECT_EQ(c.GetAt(2)->GetTop(), 11000);
    EXPECT_EQ(c.GetAt(3)->GetTop(), 17000);
    EXPECT_EQ(c.GetSelectedCount(), 2u);

    c.DuplicateSelectionRight();
    EXPECT_EQ(c.GetAt(4)->GetLeft(), 10000);
    EXPECT_EQ(columnOf(c.GetAt(4)), "D");

    // Past column Z a copy keeps its original's link.
    CGraphCollection full;
    for (int i = 0; i < 25; ++i)
        addColumnText(full, std::string(1, char('A' + i)).c_str(), 0, 0, false);
    addColumnText(full, "A", 0, 0);
    addColumnText(full, "B", 0, 0);
    full.DuplicateSelectionRight();
    EXPECT_EQ(columnOf(full.GetAt(27)), "Z");
    EXPECT_EQ(columnOf(full.GetAt(28)), "B");
}

TEST(Selection, DuplicationAboveOrLeftShiftsTheAreaBackIn)
{
    CGraphCollection c;
    CGraphRect* other = addRect(c, 5000, 30000, 1000, 1000, false);
    CGraphRect* top = addRect(c, 2000, 0, 4000, 3000);
    c.DuplicateSelectionAbove();
    ASSERT_EQ(c.GetCount(), 3u);
    EXPECT_EQ(c.GetAt(2)->GetTop(), 0);
    EXPECT_EQ(top->GetTop(), 3000);
    EXPECT_EQ(other->GetTop(), 33000);

    c.DuplicateSelectionLeft();
    EXPECT_EQ(c.GetMinLeft(), 0);
    EXPECT_EQ(c.GetAt(3)->GetLeft(), 0);
    EXPECT_EQ(c.GetAt(2)->GetLeft(), 4000);

    CGraphCollection nothing;
    addRect(nothing, -4000, -4000, 1000, 1000, false);
    nothing.DuplicateSelectionAbove();
    EXPECT_EQ(nothing.GetCount(), 1u);
    EXPECT_EQ(nothing.GetAt(0)->GetTop(), -4000);
}

TEST(Selection, RotationTurnsAboutTheMeanCentre)
{
    CGraphCollection c;
    CGraphRect* a = addRect(c, 0, 0, 4000, 2000);
    CGraphRect* b = addRect(c, 10000, 0, 4000, 2000);
    auto* line = new CGraphLine;
    line->SetEnds(0, 10000, 14000, 10000);
    line->SetSelected(true);
    c.AddTail(std::unique_ptr<CGraphObject>(line));
    // Centres (2000,1000), (12000,1000), (7000,10000): mean (7000, 4000).
    c.RotateSelected(-1);
    EXPECT_EQ(a->GetCenter(1), 7000 + (4000 - 1000));
    EXPECT_EQ(a->GetCenter(2), 4000 + (2000 - 7000));
    EXPECT_EQ(a->GetWidth(), 2000);
    c.RotateSelected(5); // not a quarter turn
    EXPECT_EQ(a->GetWidth(), 2000);
    for (int i = 0; i < 3; ++i)
        c.RotateSelected(-1);
    EXPECT_EQ(a->GetLeft(), 0);
    EXPECT_EQ(b->GetLeft(), 10000);
    EXPECT_EQ(line->Y1(), 10000);
}

TEST(Selection, BandOperations)
{
    CGraphCollection c;
    CGraphRect* in = addRect(c, 10000, 0, 5000, 1000, false);
    CGraphRect* across = addRect(c, 18000, 0, 5000, 1000, false);
    CGraphTextExt* text = addColumnText(c, "D", 11000, 0, false);
    text->SetWidth(4000);

    EXPECT_TRUE(c.IsColumnUsedByAny(3));
    EXPECT_FALSE(c.IsColumnUsedByAny(4));
    EXPECT_FALSE(c.HasTableSourceInBand(10000, 20000)); // only selected objects count
    text->SetSelected(true);
    EXPECT_TRUE(c.HasTableSourceInBand(10000, 20000));
    EXPECT_FALSE(c.HasTableSourceInBand(12000, 20000));

    c.OffsetObjectsInBand(10000, 20000, 3000);
    EXPECT_EQ(in->GetLeft(), 13000);
    EXPECT_EQ(across->GetLeft(), 18000);
    c.DeleteObjectsInBand(13000, 18000);
    ASSERT_EQ(c.GetCount(), 1u);
    EXPECT_EQ(c.GetAt(0), across);
}

TEST(Selection, SelectInRectAndCounts)
{
    QImage image = testsupport::whiteImage(200, 200);
    CDC dc(&image);
    CGraphCollection c;
    CGraphRect* inside = addRect(c, 2540, 2540, 2540, 2540, false); // 10..20 px
    CGraphRect* outside = addRect(c, 2540, 2540, 25400, 2540, false);
    EXPECT_TRUE(c.SelectInRect(dc, 100, RECT{10, 10, 20, 20}));
    EXPECT_TRUE(inside->IsSelected());
    EXPECT_FALSE(outside->IsSelected());
    EXPECT_FALSE(c.SelectInRect(dc, 100, RECT{50, 50, 60, 60}));
    EXPECT_EQ(c.GetSelectedCount(), 1u);
    EXPECT_EQ(c.GetFirstSelected(), inside);
    c.SelectAll();
    EXPECT_EQ(c.GetSelectedCount(), 2u);
}
