// Groups combined in the editor deeper than a reader accepts are never
// written as if they could be read back.
#include "content/objects/collection.h"
#include "content/objects/group.h"
#include "content/objects/shapes.h"

#include <gtest/gtest.h>

namespace {

// A collection holding one rectangle combined `levels` times into a group
// of the one before, as repeated Combine commands make it.
std::unique_ptr<CGraphCollection> combined(int levels)
{
    auto c = std::make_unique<CGraphCollection>();
    auto rect = std::make_unique<CGraphRect>();
    rect->SetWidth(1000);
    rect->SetHeight(1000);
    c->AddTail(std::move(rect));
    for (int i = 0; i < levels; ++i) {
        c->SelectAll();
        auto group = std::make_unique<CGraphGroup>();
        c->MoveSelectedToGroup(*group);
        c->AddTail(std::move(group));
    }
    return c;
}

} // namespace

TEST(GroupNesting, NestingASaveCannotReadBackFailsTheWrite)
{
    for (int levels : {15, 16, 40}) {
        SCOPED_TRACE(levels);
        auto c = combined(levels);
        RecordWriter w;
        c->Save(w);
        CGraphCollection back;
        RecordReader r(w.data());
        const bool loaded = back.Load(r);
        // What is written as a success must load back.
        EXPECT_EQ(w.ok(), loaded);
        EXPECT_EQ(w.ok(), levels <= 15);
    }
    // A group saved on its own (its key written by the caller) follows the
    // same limit.
    auto c = combined(16);
    RecordWriter w;
    c->GetAt(0)->Save(w);
    CGraphGroup back;
    RecordReader r(w.data());
    EXPECT_EQ(w.ok(), back.Load(r));
}
