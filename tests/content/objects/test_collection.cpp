// The object collection: records, ownership, bounds, drawing order and
// point queries.
#include "content/objects/collection.h"
#include "content/objects/line.h"
#include "content/objects/objectfactory.h"
#include "content/objects/shapes.h"
#include "support/test_support.h"
#include "test_collection_bytes.h"

#include "object_helpers.h"

#include <gtest/gtest.h>

#include <typeinfo>

using recbytes::Bytes;

using objtest::addBox;

namespace {

// A rectangle that records what the collection asks of it.
class SpyRect : public CGraphRect {
public:
    SpyRect(int id, std::vector<int>* log) : m_id(id), m_log(log) {}
    bool Draw(const DrawArgs&) const override
    {
        if (m_log)
            m_log->push_back(m_id);
        return answer;
    }
    bool GetSourceColumnText(std::string& out) const override
    {
        if (column)
            out = "B";
        return column;
    }
    bool IsCounter() const override { return counter; }
    void AdvanceCounter(int n) override { advanced += n; }
    std::unique_ptr<CGraphObject> Clone() const override { return std::make_unique<SpyRect>(*this); }

    bool answer = true;
    bool column = false;
    bool counter = false;
    int advanced = 0;

private:
    int m_id;
    std::vector<int>* m_log;
};

SpyRect* addSpy(CGraphCollection& c, int id, std::vector<int>* log, int left, int right)
{
    auto o = std::make_unique<SpyRect>(id, log);
    o->SetX(left);
    o->SetWidth(right - left);
    SpyRect* raw = o.get();
    c.AddTail(std::move(o));
    return raw;
}

// One object of every shape key, in a fixed order, and its record.
struct Sample {
    CGraphCollection collection;
    Bytes bytes;
    std::vector<size_t> objectEnds; // offset just after each object
};

Sample makeSample()
{
    Sample s;
    auto* rect = addBox<CGraphRect>(s.collection, 100, 200, 3000, 4000);
    rect->SetFillColor(RGB(10, 20, 30));
    rect->SetSelected(true);
    auto line = std::make_unique<CGraphLine>();
    line->SetEnds(-5, 6, 7000, 8000);
    line->SetPenWidth(300);
    line->SetBorderColor(RGB(1, 1, 1));
    s.collection.AddTail(std::move(line));
    auto* sign = addBox<CGraphTriangleExt>(s.collection, 1, 2, 3, 4);
    sign->SetRotation(1800);
    auto* rounded = addBox<CGraphRectRounded>(s.collection, 11, 12, 13, 14);
    rounded->SetCornerRadius(999);
    rounded->SetSelected(true);
    auto* triangle = addBox<CGraphTriangle>(s.collection, 21, 22, 23, 24);
    triangle->SetRotation(900);
    triangle->SetBorderColor(0x123456);
    addBox<CGraphEllipse>(s.collection, -31, -32, 33, 34);

    Bytes& b = s.bytes;
    b = recbytes::collectionHeader(6);
    auto end = [&] { s.objectEnds.push_back(b.s.size()); };
    b.i16(151).add(recbytes::rectFields(100, 200, 3000, 4000, 1000, 0, 0x1E140A, 0));
    end();
    b.i16(153).add(recbytes::lineFields(-5, 6, 7000, 8000, 300, 0x010101));
    end();
    b.i16(156).add(recbytes::rectFields(1, 2, 3, 4, 1000, 0, 0x00FFFF, 0)).i16(1800).i32(2500).u8(1);
    end();
    b.i16(132).add(recbytes::rectFields(11, 12, 13, 14, 1000, 0, 0, 1)).i32(999);
    end();
    b.i16(155).add(recbytes::rectFields(21, 22, 23, 24, 1000, 0x123456, 0, 1)).i16(900);
    end();
    b.i16(131).add(recbytes::rectFields(-31, -32, 33, 34, 1000, 0, 0, 1));
    end();
    return s;
}

std::string saved(const CGraphCollection& c)
{
    RecordWriter w;
    c.Save(w);
    EXPECT_TRUE(w.ok());
    return w.take();
}

} // namespace

TEST(CollectionRecord, WritesEveryShapeInStackingOrderByteExact)
{
    Sample s = makeSample();
    EXPECT_EQ(saved(s.collection), s.bytes.s);
    EXPECT_EQ(s.collection.GetTypeKey(), 175);
    EXPECT_EQ(s.collection.ReservedA(), 10);
    EXPECT_EQ(s.collection.ReservedB(), 5);
}

TEST(CollectionRecord, RoundTripKeepsOrderAndClearsSelection)
{
    Sample s = makeSample();
    CGraphCollection loaded;
    RecordReader r(s.bytes.s);
    ASSERT_TRUE(loaded.Load(r));
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
    ASSERT_EQ(loaded.GetCount(), s.collection.GetCount());
    for (size_t i = 0; i < loaded.GetCount(); ++i) {
        EXPECT_EQ(typeid(*loaded.GetAt(i)), typeid(*s.collection.GetAt(i))) << i;
        EXPECT_FALSE(loaded.GetAt(i)->IsSelected()) << i;
        EXPECT_EQ(loaded.GetAt(i)->GetLeft(), s.collection.GetAt(i)->GetLeft()) << i;
    }
    EXPECT_EQ(saved(loaded), s.bytes.s);

    // Loading appends to what the collection already holds.
    RecordReader again(s.bytes.s);
    ASSERT_TRUE(loaded.Load(again));
    EXPECT_EQ(loaded.GetCount(), 12u);
}

TEST(CollectionRecord, EmptyRecordKeepsTheReservedValuesRead)
{
    const Bytes b = recbytes::collectionHeader(0, 7, -3);
    CGraphCollection c;
    RecordReader r(b.s);
    ASSERT_TRUE(c.Load(r));
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_EQ(c.ReservedA(), 7);
    EXPECT_EQ(c.ReservedB(), -3);
    EXPECT_EQ(saved(c), b.s);
}

TEST(CollectionRecord, TruncationAtEveryOffsetIsReportedAndKeepsWholeObjects)
{
    const Sample s = makeSample();
    const std::string& full = s.bytes.s;
    for (size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        CGraphCollection c;
        RecordReader r(std::string_view(full).substr(0, n));
        EXPECT_FALSE(c.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Truncated);
        size_t whole = 0;
        while (whole < s.objectEnds.size() && s.objectEnds[whole] <= n)
            ++whole;
        ASSERT_EQ(c.GetCount(), whole);
        if (n < 6) {
            EXPECT_EQ(c.ReservedA(), 10); // a header cut short changes nothing
        }
        // What was kept saves as the same objects.
        RecordWriter w;
        c.Save(w);
        EXPECT_EQ(w.data().substr(6), full.substr(6, whole ? s.objectEnds[whole - 1] - 6 : 0));
    }
}

TEST(CollectionRecord, UnknownKeyStopsReadingAndReportsDamage)
{
    const Sample s = makeSample();
    for (int key : {161, 175, 0, -1, 12345}) {
        SCOPED_TRACE(key);
        // Third object replaced by the unknown key, followed by more data.
        Bytes b = recbytes::collectionHeader(4);
        b.s += s.bytes.s.substr(6, s.objectEnds[1] - 6);
        b.i16(key);
        b.s += s.bytes.s.substr(s.objectEnds[2] + 2);
        CGraphCollection c;
        RecordReader r(b.s);
        EXPECT_FALSE(c.Load(r));
        EXPECT_EQ(r.status(), ReadStatus::Damaged);
        EXPECT_EQ(r.position(), s.objectEnds[1] + 2);
        ASSERT_EQ(c.GetCount(), 2u);
        EXPECT_EQ(c.GetAt(0)->GetTypeKey(), 151);
        EXPECT_EQ(c.GetAt(1)->GetTypeKey(), 153);
    }
    // The table names exactly the readable classes, each answering its key.
    int known = 0;
    for (int key = -32768; key <= 32767; ++key) {
        auto o = CreateGraphObjectForKey(int16_t(key));
        if (o) {
            ++known;
            EXPECT_EQ(o->GetTypeKey(), key);
        }
    }
    EXPECT_EQ(known, 13); // shapes and line, two text forms, barcode, two image forms, group, OLE 1
}

TEST(CollectionRecord, CountIsUnsignedAndTooManyObjectsAreRefusedOnSave)
{
    // 40000 objects: negative when read as a signed 16-bit count.
    constexpr int kMany = 40000;
    Bytes b = recbytes::collectionHeader(kMany);
    const Bytes one = Bytes().i16(153).add(recbytes::lineFields(1, 2, 3, 4, 5, 6));
    b.s.reserve(6 + kMany * one.s.size());
    for (int i = 0; i < kMany; ++i)
        b.s += one.s;
    CGraphCollection c;
    RecordReader r(b.s);
    ASSERT_TRUE(c.Load(r));
    EXPECT_EQ(c.GetCount(), size_t(kMany));
    EXPECT_EQ(saved(c), b.s);

    // 65535 objects fit the record; one more is refused, writing nothing.
    while (c.GetCount() < CGraphCollection::kMaxObjects)
        c.AddTail(std::make_unique<CGraphLine>());
    RecordWriter fits;
    c.Save(fits);
    EXPECT_TRUE(fits.ok());
    EXPECT_EQ(uint8_t(fits.data()[0]), 0xFF);
    EXPECT_EQ(uint8_t(fits.data()[1]), 0xFF);
    c.AddTail(std::make_unique<CGraphLine>());
    RecordWriter refused;
    refused.i16(175);
    c.Save(refused);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.size(), 2u);

    // A count larger than the data is a truncation, found without
    // allocating for it.
    const Bytes lying = recbytes::collectionHeader(65535).add(one);
    CGraphCollection d;
    RecordReader lr(lying.s);
    EXPECT_FALSE(d.Load(lr));
    EXPECT_EQ(lr.status(), ReadStatus::Truncated);
    EXPECT_EQ(d.GetCount(), 1u);
}

TEST(CollectionRecord, NestingDepthIsLimited)
{
    const Bytes b = recbytes::collectionHeader(0);
    RecordReader r(b.s);
    for (int i = 0; i < RecordReader::kMaxDepth - 1; ++i)
        ASSERT_TRUE(r.enter());
    CGraphCollection ok;
    EXPECT_TRUE(ok.Load(r)); // the last level allowed
    RecordReader deep(b.s);
    for (int i = 0; i < RecordReader::kMaxDepth; ++i)
        ASSERT_TRUE(deep.enter());
    CGraphCollection tooDeep;
    EXPECT_FALSE(tooDeep.Load(deep));
    EXPECT_EQ(deep.status(), ReadStatus::Damaged);
    EXPECT_EQ(deep.depth(), RecordReader::kMaxDepth);
}

TEST(Collection, BoundsOfEmptyNegativeAndMixedContents)
{
    CGraphCollection c;
    EXPECT_EQ(c.GetMinLeft(), 2147483647);
    EXPECT_EQ(c.GetMinTop(), 2147483647);
    EXPECT_EQ(c.GetMaxRight(), 0);
    EXPECT_EQ(c.GetMaxBottom(), 0);
    c.SetX(500);
    c.SetWidth(70);
    c.RecalcBox(); // an empty collection never takes the sentinel as its box
    EXPECT_EQ(c.GetX(), 0);
    EXPECT_EQ(c.GetY(), 0);
    EXPECT_EQ(c.GetWidth(), 0);
    QImage img = testsupport::whiteImage(10, 10);
    CDC dc(&img);
    EXPECT_EQ(c.CalcDeviceRect(dc, 100, 0, 0), (RECT{0, 0, 0, 0}));

    addBox<CGraphRect>(c, -5000, -4000, 1000, 1000);
    EXPECT_EQ(c.GetMaxRight(), 0); // every object at negative x
    EXPECT_EQ(c.GetMaxBottom(), 0);
    auto line = std::make_unique<CGraphLine>();
    line->SetEnds(9000, 2000, 3000, 7000);
    c.AddTail(std::move(line));
    EXPECT_EQ(c.GetMinLeft(), -5000);
    EXPECT_EQ(c.GetMinTop(), -4000);
    EXPECT_EQ(c.GetMaxRight(), 9000);
    EXPECT_EQ(c.GetRight(), 9000);
    EXPECT_EQ(c.GetMaxBottom(), 7000);
    EXPECT_EQ(c.GetBottom(), 7000);
    c.RecalcBox();
    EXPECT_EQ(c.GetX(), -5000);
    EXPECT_EQ(c.GetY(), -4000);
    EXPECT_EQ(c.GetWidth(), 14000);
    EXPECT_EQ(c.GetHeight(), 11000);
}

TEST(Collection, DrawsInListOrderAndStopsAtAFalseAnswer)
{
    std::vector<int> log;
    CGraphCollection c;
    addSpy(c, 1, &log, 0, 1000);
    SpyRect* second = addSpy(c, 2, &log, 0, 1000);
    addSpy(c, 3, &log, 0, 1000);
    DrawArgs args;
    EXPECT_TRUE(c.Draw(args));
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    second->answer = false;
    log.clear();
    EXPECT_FALSE(c.Draw(args));
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST(Collection, DrawBandTakesObjectsByTheirHorizontalCentre)
{
    std::vector<int> log;
    CGraphCollection c;
    addSpy(c, 1, &log, 0, 2000);     // centre 1000 = from: drawn
    addSpy(c, 2, &log, 4000, 6000);  // centre 5000 = to: not drawn
    addSpy(c, 3, &log, 1000, 8998);  // centre 4999: drawn
    addSpy(c, 4, &log, -1000, 2999); // centre 999: not drawn
    SpyRect* last = addSpy(c, 5, &log, 2000, 2000);
    DrawArgs args;
    EXPECT_TRUE(c.DrawBand(1000, 5000, args));
    EXPECT_EQ(log, (std::vector<int>{1, 3, 5}));
    log.clear();
    last->answer = false;
    addSpy(c, 6, &log, 2000, 2000);
    EXPECT_FALSE(c.DrawBand(1000, 5000, args));
    EXPECT_EQ(log, (std::vector<int>{1, 3, 5}));
}

TEST(Collection, PointQueriesFindTheTopmostObject)
{
    QImage img = testsupport::whiteImage(100, 100);
    CDC dc(&img);
    CGraphCollection c;
    auto* bottom = addBox<CGraphRect>(c, 0, 0, 10000, 10000);  // pixels 0..38
    auto* top = addBox<CGraphRect>(c, 5000, 5000, 10000, 10000); // pixels 19..57
    EXPECT_EQ(c.ObjectAt(dc, 100, 25, 25), top);
    EXPECT_EQ(c.ObjectAt(dc, 100, 10, 10), bottom);
    EXPECT_EQ(c.ObjectAt(dc, 100, 80, 80), nullptr);
    EXPECT_EQ(c.SelectedObjectAt(dc, 100, 25, 25), nullptr);
    bottom->SetSelected(true);
    EXPECT_EQ(c.SelectedObjectAt(dc, 100, 25, 25), bottom);

    // Handles: only selected objects answer; the topmost one wins.
    EXPECT_EQ(c.HitTestHandle(dc, 100, 38, 38), kHandleBottomRight);
    EXPECT_EQ(c.ObjectWithHandleAt(dc, 100, 38, 38), bottom);
    EXPECT_EQ(c.HitTestHandle(dc, 100, 57, 57), kHandleNone);
    EXPECT_EQ(c.ObjectWithHandleAt(dc, 100, 57, 57), nullptr);
    top->SetSelected(true);
    EXPECT_EQ(c.HitTestHandle(dc, 100, 20, 20), kHandleTopLeft);
    EXPECT_EQ(c.ObjectWithHandleAt(dc, 100, 20, 20), top);
    EXPECT_EQ(c.HitTestHandle(dc, 100, 57, 38), kHandleRight);
}

TEST(Collection, TableDataAndCountersLookAtEveryObject)
{
    CGraphCollection c;
    SpyRect* a = addSpy(c, 1, nullptr, 0, 10);
    SpyRect* b = addSpy(c, 2, nullptr, 0, 10);
    addBox<CGraphEllipse>(c, 0, 0, 1, 1);
    EXPECT_FALSE(c.UsesTableData());
    EXPECT_FALSE(c.IsCounter());
    b->column = true; // not selected: still counts
    EXPECT_TRUE(c.UsesTableData());
    a->counter = true;
    EXPECT_TRUE(c.IsCounter());
    c.AdvanceCounter(3);
    EXPECT_EQ(a->advanced, 3);
    EXPECT_EQ(b->advanced, 3);
}

TEST(Collection, CloneIsDeepAndRemoveObjectHandsOwnershipBack)
{
    Sample s = makeSample();
    std::unique_ptr<CGraphObject> copy = s.collection.Clone();
    auto* clone = dynamic_cast<CGraphCollection*>(copy.get());
    ASSERT_NE(clone, nullptr);
    ASSERT_EQ(clone->GetCount(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NE(clone->GetAt(i), s.collection.GetAt(i));
        EXPECT_EQ(clone->GetAt(i)->IsSelected(), s.collection.GetAt(i)->IsSelected());
    }
    EXPECT_TRUE(clone->GetAt(0)->IsSelected());
    EXPECT_FALSE(clone->GetAt(1)->IsSelected());
    RecordWriter w;
    clone->Save(w);
    EXPECT_EQ(w.data(), s.bytes.s);

    // Changing the copy leaves the original alone.
    clone->GetAt(0)->SetX(-1);
    EXPECT_EQ(s.collection.GetAt(0)->GetX(), 100);

    CGraphObject* third = s.collection.GetAt(2);
    std::unique_ptr<CGraphObject> taken = s.collection.RemoveObject(third);
    EXPECT_EQ(taken.get(), third);
    EXPECT_EQ(s.collection.GetCount(), 5u);
    EXPECT_EQ(s.collection.GetAt(2)->GetTypeKey(), 132);
    EXPECT_EQ(s.collection.RemoveObject(third), nullptr);
    EXPECT_EQ(s.collection.RemoveObject(nullptr), nullptr);
    s.collection.AddTail(nullptr);
    EXPECT_EQ(s.collection.GetCount(), 5u);
    s.collection.RemoveAll();
    EXPECT_TRUE(s.collection.IsEmpty());
}
