// Groups: records (nested, damaged, too deep), geometry taken from the
// children, setters and tracking that move the children, rotation, combine
// and split.
#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "content/objects/group.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "content/textparts/text.h"
#include "support/test_support.h"
#include "test_collection_bytes.h"

#include "object_helpers.h"

#include <gtest/gtest.h>

using recbytes::Bytes;

using objtest::addBox;

namespace {

std::string saved(const CGraphCollection& c)
{
    RecordWriter w;
    c.Save(w);
    EXPECT_TRUE(w.ok());
    return w.take();
}

// A group record holding `inner` (a whole object record with its key) as
// its only child, `depth` groups deep.
Bytes nestedGroups(int depth, const Bytes& inner)
{
    Bytes b = inner;
    for (int i = 0; i < depth; ++i) {
        Bytes g;
        g.i16(185).i32(0).i32(0).i16(175).add(recbytes::collectionHeader(1)).add(b);
        b = g;
    }
    return b;
}

} // namespace

TEST(Group, RecordsRoundTripNestedGroups)
{
    // Rectangle and an inner group (line) inside an outer group.
    const Bytes rect = Bytes().i16(151).add(recbytes::rectFields(1000, 2000, 3000, 4000, 500, 0x112233, 0x445566, 0));
    const Bytes line = Bytes().i16(153).add(recbytes::lineFields(5000, 6000, 9000, 6000, 700, 0x0000FF));
    Bytes inner;
    inner.i16(185).i32(77).i32(88).i16(175).add(recbytes::collectionHeader(1, 3, 4)).add(line);
    Bytes record = recbytes::collectionHeader(1);
    record.i16(185).i32(-5).i32(9).i16(175).add(recbytes::collectionHeader(2)).add(rect).add(inner);

    CGraphCollection c;
    RecordReader r(record.s);
    ASSERT_TRUE(c.Load(r));
    EXPECT_TRUE(r.atEnd());
    ASSERT_EQ(c.GetCount(), 1u);
    auto* outer = dynamic_cast<CGraphGroup*>(c.GetAt(0));
    ASSERT_NE(outer, nullptr);
    EXPECT_TRUE(outer->IsGroup());
    ASSERT_EQ(outer->GetCount(), 2u);
    auto* nested = dynamic_cast<CGraphGroup*>(outer->GetAt(1));
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->ReservedA(), 3);
    EXPECT_EQ(nested->GetAt(0)->GetTypeKey(), 153);
    EXPECT_EQ(saved(c), record.s);

    // A clone is deep: changing it leaves the original alone.
    auto copy = outer->Clone();
    copy->Offset(1000, 0);
    EXPECT_EQ(outer->GetLeft(), 1000);
    EXPECT_EQ(copy->GetLeft(), 2000);
    EXPECT_EQ(copy->GetTypeKey(), 185);
}

TEST(Group, DamagedAndDeepRecords)
{
    // Not followed by the collection key: an empty group, and reading goes on.
    Bytes b = recbytes::collectionHeader(2);
    b.i16(185).i32(10).i32(20).i16(99);
    b.i16(151).add(recbytes::rectFields(0, 0, 1, 1, 0, 0, 0, 1));
    CGraphCollection c;
    RecordReader r(b.s);
    ASSERT_TRUE(c.Load(r));
    ASSERT_EQ(c.GetCount(), 2u);
    auto* empty = dynamic_cast<CGraphGroup*>(c.GetAt(0));
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_EQ(empty->GetLeft(), 10);

    const Bytes leaf = Bytes().i16(151).add(recbytes::rectFields(0, 0, 1, 1, 0, 0, 0, 1));
    {
        // As deep as a reader accepts; geometry of deep groups stays cheap.
        const Bytes ok = recbytes::collectionHeader(1).add(nestedGroups(15, leaf));
        CGraphCollection deep;
        RecordReader rr(ok.s);
        ASSERT_TRUE(deep.Load(rr));
        EXPECT_EQ(saved(deep), ok.s);
        deep.SelectAll();
        deep.SetSelectedLeft(3000);
        EXPECT_EQ(deep.GetAt(0)->GetRight(), 3001);
        deep.RotateSelected(1);
        deep.SpaceSelectedEvenlyVertical();
        QImage image = testsupport::whiteImage(20, 20);
        CDC dc(&image);
        DrawArgs args;
        args.dc = &dc;
        EXPECT_TRUE(deep.Draw(args));
    }
    {
        const Bytes tooDeep = recbytes::collectionHeader(1).add(nestedGroups(100, leaf));
        CGraphCollection deep;
        RecordReader rr(tooDeep.s);
        EXPECT_FALSE(deep.Load(rr));
        EXPECT_EQ(rr.status(), ReadStatus::Damaged);
        EXPECT_TRUE(deep.IsEmpty());
    }
    {
        // A group without its collection key at the deepest level a reader
        // accepts would be saved one level deeper than can be read back.
        Bytes bare;
        bare.i16(185).i32(0).i32(0).i16(0);
        for (int depth : {14, 15}) {
            const Bytes rec = recbytes::collectionHeader(1).add(nestedGroups(depth, bare));
            CGraphCollection deep;
            RecordReader rr(rec.s);
            const bool loaded = deep.Load(rr);
            EXPECT_EQ(loaded, depth == 14);
            if (loaded) {
                const std::string again = saved(deep);
                CGraphCollection reread;
                RecordReader r2(again);
                EXPECT_TRUE(reread.Load(r2));
            } else {
                EXPECT_EQ(rr.status(), ReadStatus::Damaged);
            }
        }
    }
    {
        // Cut short inside a child: reported, nothing half-read kept.
        Bytes cut = recbytes::collectionHeader(1).add(nestedGroups(3, leaf));
        cut.s.resize(cut.s.size() - 5);
        CGraphCollection deep;
        RecordReader rr(cut.s);
        EXPECT_FALSE(deep.Load(rr));
        EXPECT_EQ(rr.status(), ReadStatus::Truncated);
        EXPECT_TRUE(deep.IsEmpty());
    }
}

TEST(Group, DrawsWithTheBoxOfItsChildren)
{
    QImage image = testsupport::whiteImage(200, 200);
    CDC dc(&image);
    CGraphGroup g;
    g.SetX(50000);
    g.SetY(50000);
    addBox<CGraphRect>(g, 0, 0, 10000, 5000);
    addBox<CGraphRect>(g, 20000, 2000, 10000, 5000);
    DrawArgs args;
    args.dc = &dc;
    EXPECT_TRUE(g.Draw(args));
    EXPECT_EQ(g.GetX(), 0);
    EXPECT_EQ(g.GetWidth(), 30000);
    EXPECT_EQ(g.GetHeight(), 7000);
    EXPECT_EQ(g.CalcDeviceRect(dc, 100, 0, 0).right, (30000 * 96 + 12700) / 25400);
    EXPECT_GT(testsupport::countPixels(image, 0x000000), 0);

    // An empty group keeps its own box and draws nothing.
    CGraphGroup none;
    none.SetX(1000);
    QImage blank = testsupport::whiteImage(20, 20);
    CDC blankDc(&blank);
    args.dc = &blankDc;
    EXPECT_TRUE(none.Draw(args));
    EXPECT_EQ(none.CalcDeviceRect(blankDc, 100, 0, 0).left, 4);
    EXPECT_EQ(none.GetLeft(), 1000);
    EXPECT_EQ(testsupport::countPixels(blank, 0xFFFFFF), 400);
}

TEST(Group, GeometrySettersMoveTheChildren)
{
    CGraphGroup g;
    CGraphRect* a = addBox<CGraphRect>(g, -4000, 1000, 3000, 2000);
    auto* line = new CGraphLine;
    line->SetEnds(6000, 9000, 2000, 5000);
    g.AddTail(std::unique_ptr<CGraphObject>(line));

    EXPECT_EQ(g.GetLeft(), -4000);
    EXPECT_EQ(g.GetRight(), 6000); // no floor at 0 for negative children
    EXPECT_EQ(g.GetExtentX(), 10000);
    EXPECT_EQ(g.GetExtentY(), 8000);
    EXPECT_EQ(g.GetCenter(1), 1000);
    EXPECT_EQ(g.GetCenter(2), 5000);

    g.SetLeft(0);
    EXPECT_EQ(a->GetLeft(), 0);
    EXPECT_EQ(line->X1(), 10000);
    g.SetBottom(20000);
    EXPECT_EQ(a->GetTop(), 12000);
    EXPECT_EQ(g.GetTop(), 12000);
    EXPECT_TRUE(g.SetCenter(1, 0));
    EXPECT_EQ(g.GetLeft(), -5000);
    EXPECT_FALSE(g.SetCenter(3, 0));
    g.SetX(100);
    g.SetY(200);
    EXPECT_EQ(g.GetX(), 100);
    EXPECT_EQ(a->GetTop(), 200);
    g.SetRight(50000);
    EXPECT_EQ(line->GetRight(), 50000);

    // Alignment and spacing of a selection move groups like any object.
    CGraphCollection area;
    CGraphRect* left = addBox<CGraphRect>(area, 0, 0, 10000, 1000);
    auto group = std::make_unique<CGraphGroup>();
    addBox<CGraphRect>(*group, 2000, 0, 4000, 1000);
    addBox<CGraphRect>(*group, 8000, 0, 4000, 1000); // group 2000..12000
    CGraphGroup* grp = group.get();
    area.AddTail(std::move(group));
    CGraphRect* right = addBox<CGraphRect>(area, 40000, 0, 10000, 1000);
    area.SelectAll();
    area.SpaceSelectedEvenlyHorizontal();
    // free = 50000 - 20000 - 10000 = 20000, gap 10000
    EXPECT_EQ(grp->GetLeft(), 20000);
    EXPECT_EQ(grp->GetAt(1)->GetLeft(), 26000);
    area.SetSelectedTop(5000);
    EXPECT_EQ(grp->GetAt(0)->GetTop(), 5000);
    EXPECT_EQ(left->GetTop(), 5000);
    EXPECT_EQ(right->GetLeft(), 40000);
}

TEST(Group, RotationTurnsEveryChildAboutOnePoint)
{
    CGraphGroup g;
    addBox<CGraphRect>(g, 1000, 3000, 5001, 2003);
    auto text = std::make_unique<CGraphTextExt>();
    text->SetX(9000);
    text->SetY(500);
    text->SetWidth(4000);
    text->SetHeight(1500);
    CGraphTextExt* t = text.get();
    g.AddTail(std::move(text));
    g.RefreshBox();
    const std::string before = [&] {
        RecordWriter w;
        g.Save(w);
        return w.take();
    }();

    int32_t cx, cy;
    g.GetCenterPoint(cx, cy);
    g.Rotate90(cx, cy, 1);
    EXPECT_EQ(t->GetRotation(), 900);
    EXPECT_EQ(t->GetWidth(), 1500);
    EXPECT_EQ(g.GetWidth(), g.GetExtentX());
    for (int i = 0; i < 3; ++i)
        g.Rotate90(cx, cy, 1);
    EXPECT_EQ(t->GetRotation(), 0);
    RecordWriter after;
    g.Save(after);
    EXPECT_EQ(after.data(), before);

    // Through the selection, about the group's own centre each time.
    CGraphCollection area;
    auto even = std::make_unique<CGraphGroup>();
    CGraphRect* r = addBox<CGraphRect>(*even, 2000, 4000, 6000, 2000);
    addBox<CGraphRect>(*even, 10000, 0, 2000, 8000);
    even->SetSelected(true);
    area.AddTail(std::move(even));
    for (int i = 0; i < 4; ++i)
        area.RotateSelected(-1);
    EXPECT_EQ(r->GetLeft(), 2000);
    EXPECT_EQ(r->GetTop(), 4000);
    EXPECT_EQ(r->GetWidth(), 6000);
}

TEST(Group, CombineAndSplit)
{
    CGraphCollection area;
    CGraphRect* a = addBox<CGraphRect>(area, 0, 0, 1000, 1000);
    CGraphRect* b = addBox<CGraphRect>(area, 5000, 0, 1000, 1000);
    CGraphRect* c = addBox<CGraphRect>(area, 9000, 0, 1000, 1000);
    a->SetSelected(true);
    c->SetSelected(true);

    auto group = std::make_unique<CGraphGroup>();
    area.MoveSelectedToGroup(*group);
    ASSERT_EQ(group->GetCount(), 2u);
    EXPECT_EQ(group->GetAt(0), a);
    EXPECT_EQ(group->GetAt(1), c);
    EXPECT_FALSE(a->IsSelected());
    ASSERT_EQ(area.GetCount(), 1u);
    EXPECT_EQ(area.GetAt(0), b);
    group->SetSelected(true);
    area.AddTail(std::move(group));
    EXPECT_TRUE(area.HasGroupSelected());

    area.UngroupSelected();
    ASSERT_EQ(area.GetCount(), 3u);
    EXPECT_EQ(area.GetAt(0), b);
    EXPECT_FALSE(area.GetAt(1)->IsGroup());
    EXPECT_EQ(area.GetAt(1)->GetLeft(), 0);
    EXPECT_EQ(area.GetAt(2)->GetLeft(), 9000);
    EXPECT_TRUE(area.GetAt(1)->IsSelected());
    EXPECT_TRUE(area.GetAt(2)->IsSelected());
    EXPECT_FALSE(area.HasGroupSelected());
}

TEST(Group, MovingAndTableLinks)
{
    QImage image = testsupport::whiteImage(200, 200);
    CDC dc(&image);
    CGraphCollection area;
    auto group = std::make_unique<CGraphGroup>();
    CGraphRect* child = addBox<CGraphRect>(*group, 2540, 2540, 2540, 2540);
    auto text = std::make_unique<CGraphTextExt>();
    text->SetTextPart(std::make_unique<CTextTable>());
    text->SetSourceColumnText("E");
    text->SetX(10000);
    text->SetWidth(5000);
    text->SetHeight(5000);
    group->AddTail(std::move(text));
    group->SetSelected(true);
    CGraphGroup* g = group.get();
    area.AddTail(std::move(group));

    CTracking gesture;
    area.BeginMoveSelected(gesture, dc, 100, 20, 20);
    area.EndMoveSelected(gesture, dc, 30, 25); // 10 px right, 5 px down at 96 dpi
    EXPECT_EQ(child->GetLeft(), 2540 + 2646);
    EXPECT_EQ(child->GetTop(), 2540 + 1323);
    EXPECT_EQ(g->GetLeft(), child->GetLeft());

    // Handles and table links are the group's own.
    const RECT box = g->CalcDeviceRect(dc, 100, 0, 0);
    EXPECT_EQ(area.HitTestHandle(dc, 100, box.left, box.top), kHandleTopLeft);
    EXPECT_EQ(area.ObjectWithHandleAt(dc, 100, box.right, box.bottom), g);
    EXPECT_TRUE(area.HasTableSourceInBand(0, 20000));
    EXPECT_TRUE(area.UsesTableData());
    EXPECT_TRUE(area.IsColumnUsedByAny(4));
    std::string column;
    EXPECT_TRUE(area.GetSelectedSourceColumnText(column));
    EXPECT_EQ(column, "E");
}
