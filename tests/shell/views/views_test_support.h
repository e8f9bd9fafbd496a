#pragma once
// Shared set-up of the view tests: a settings store of their own, a new
// project document, sheet label definitions and a view that counts its
// repaints.
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace viewtest {

struct CountingView : CDocView {
    explicit CountingView(ViewKind k) : kind(k) {}
    ViewKind GetViewKind() const override { return kind; }
    void Invalidate() override { ++invalidated; }
    ViewKind kind;
    int invalidated = 0;
};

// A4 sheet of `rows` x `columns` labels of 60 x 30 mm at pitches 70 x 35 mm,
// margins 20 mm.
inline std::unique_ptr<CLabelFileNew> SheetLabel(int rows, int columns)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 60000, false);
    label->SetHeight(0, 30000);
    label->SetRows(rows);
    label->SetColumns(columns);
    label->SetColumnPitch(70000);
    label->SetRowPitch(35000);
    label->SetLeft(0, 20000);
    label->SetTop(0, 20000);
    label->SetBlockCount(1);
    return label;
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        settings::SetStoreFolder(m_dir.filePath("config"));
        doc = std::make_unique<CVorteplanSoftLabelDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
    }
    void TearDown() override
    {
        doc.reset();
        settings::SetStoreFolder({});
    }

    std::unique_ptr<CVorteplanSoftLabelDoc> doc;

private:
    QTemporaryDir m_dir;
};

} // namespace viewtest
