#pragma once
// Shared set-up of the view tests: a settings store of their own, a new
// project document, sheet label definitions and a view that counts its
// repaints.
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "support/sheet_label.h"

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

using testsupport::SheetLabel;

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
