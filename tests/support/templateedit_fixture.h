#pragma once
// Shared set-up of the template edit tests: a document with a design, a
// preview and a table view that count their repaints, object builders, and
// the stored record of an area for byte comparisons.
#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "document/project/projectdoc.h"
#include "platform/record.h"

#include "support/project_fixture.h"

#include <memory>
#include <string>

namespace edittest {

struct CountingView : CDocView {
    explicit CountingView(ViewKind k) : kind(k) {}
    ViewKind GetViewKind() const override { return kind; }
    void Invalidate() override { ++invalidated; }
    ViewKind kind;
    int invalidated = 0;
};

class EditTest : public projtest::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        doc = std::make_unique<CVorteplanSoftLabelDoc>();
        doc->AddView(&design);
        doc->AddView(&preview);
        doc->AddView(&table);
    }
    void TearDown() override
    {
        doc.reset();
        ProjectTest::TearDown();
    }

    CTemplate& tpl() { return doc->GetCurrentTemplate(); }
    CGraphCollection& area(int a = 0) { return *tpl().GetArea(a); }

    // The collection record of an area as it would be stored.
    std::string bytes(int a = 0)
    {
        RecordWriter w;
        area(a).Save(w);
        return w.take();
    }
    int undoCount(int a = 0) { return int(tpl().GetUndoHistory(a)->LeadingCount()); }
    int redoCount(int a = 0) { return int(tpl().GetRedoHistory(a)->LeadingCount()); }

    template <class T>
    T* add(int x, int y, int w, int h, bool selected = true, int a = 0)
    {
        auto o = std::make_unique<T>();
        o->SetX(x);
        o->SetY(y);
        o->SetWidth(w);
        o->SetHeight(h);
        o->SetSelected(selected);
        T* raw = o.get();
        area(a).AddTail(std::move(o));
        return raw;
    }

    // Views repainted since the last call, as "design preview table" counts.
    std::string repaints()
    {
        std::string r = std::to_string(design.invalidated) + " " + std::to_string(preview.invalidated) + " " +
                        std::to_string(table.invalidated);
        design.invalidated = preview.invalidated = table.invalidated = 0;
        return r;
    }

    // An edit that must change nothing: no snapshot, no flag, no repaint.
    template <class Edit>
    void expectNoEdit(Edit edit, int a = 0)
    {
        const std::string before = bytes(a);
        const int undo = undoCount(a);
        const bool modified = doc->IsModified();
        repaints();
        edit();
        EXPECT_EQ(bytes(a), before);
        EXPECT_EQ(undoCount(a), undo);
        EXPECT_EQ(doc->IsModified(), modified);
        EXPECT_EQ(repaints(), "0 0 0");
    }

    // An edit that must change the area with one snapshot; one undo gives
    // the old record back byte for byte and redo the new one.
    template <class Edit>
    void expectUndoableEdit(Edit edit, int a = 0, const std::string& views = "1 1 0")
    {
        const std::string before = bytes(a);
        const int undo = undoCount(a);
        doc->SetModifiedFlag(false);
        repaints();
        edit();
        const std::string after = bytes(a);
        EXPECT_NE(after, before);
        EXPECT_EQ(undoCount(a), undo + 1);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(repaints(), views);
        ASSERT_TRUE(doc->Undo(a));
        EXPECT_EQ(bytes(a), before);
        ASSERT_TRUE(doc->Redo(a));
        EXPECT_EQ(bytes(a), after);
    }

    std::unique_ptr<CVorteplanSoftLabelDoc> doc;
    CountingView design{ViewKind::Design}, preview{ViewKind::Preview}, table{ViewKind::Table};
};

} // namespace edittest
