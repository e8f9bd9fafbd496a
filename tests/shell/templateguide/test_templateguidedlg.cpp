// The template guide over a real document: the grid, the guide table it
// edits and the objects each rebuild lays down.
#include "content/images/graphimage.h"
#include "document/label/labelfile.h"
#include "support/templateedit_fixture.h"
#include "shell/templateguide/templateguidedlg.h"
#include "tables/grid/gridctrl.h"

#include <QCheckBox>
#include <QTest>

namespace {

class GuideTest : public edittest::EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        auto label = std::make_unique<CLabelFileNew>();
        label->SetWidth(0, 60000, false);
        label->SetHeight(0, 20000);
        tpl().SetLabel(std::move(label));
    }
    void open()
    {
        dialog = std::make_unique<CTemplateGuideDlg>(*doc, 0);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void TearDown() override
    {
        dialog.reset();
        EditTest::TearDown();
    }
    TemplateGuideTable& guide() { return *tpl().GetGuideTable(0); }
    std::string text(int row, int column)
    {
        std::string t;
        dialog->GetDispInfo(row, column, t);
        return t;
    }
    void clickCell(int row, int column)
    {
        RECT r;
        dialog->Grid()->GetCellRect(row, column, r);
        QTest::mouseClick(dialog->Grid()->viewport(), Qt::LeftButton, {},
                          QPoint(int(r.left + r.right) / 2, int(r.top + r.bottom) / 2));
    }
    // Objects lie inside [x0, x0 + w) x [0, h) and text rows run downwards.
    void expectInside(int64_t x0, int64_t w, int64_t h, const char* what)
    {
        int64_t lastTextTop = -1;
        for (size_t i = 0; i < area().GetCount(); ++i) {
            const CGraphObject& o = *area().GetAt(i);
            if (o.GetX() < x0 || o.GetX() + o.GetWidth() > x0 + w)
                continue; // another module's object
            EXPECT_GE(o.GetY(), 0) << what;
            EXPECT_LE(o.GetY() + o.GetHeight(), h) << what;
            EXPECT_GT(o.GetWidth(), 0) << what;
            if (o.IsText()) {
                EXPECT_GT(o.GetY(), lastTextTop) << what;
                lastTextTop = o.GetY();
            }
        }
    }

    std::unique_ptr<CTemplateGuideDlg> dialog;
};

int countTexts(const CGraphCollection& c)
{
    int n = 0;
    for (size_t i = 0; i < c.GetCount(); ++i)
        n += c.GetAt(i)->IsText() ? 1 : 0;
    return n;
}

} // namespace

TEST_F(GuideTest, GridTextsAndColumnToggling)
{
    open();
    EXPECT_EQ(text(0, 0), "Text row");
    EXPECT_EQ(text(0, 1), "Delimiter");
    EXPECT_EQ(text(0, 2), "A");
    EXPECT_EQ(text(0, 27), "Z");
    EXPECT_EQ(text(10, 0), "10");

    guide().columns[2] = {0, -1, -1};
    const TemplateGuideTable before = guide();
    dialog->BuildLayer();
    const std::string built = bytes();
    clickCell(3, 3); // column B of text row 3
    EXPECT_EQ(text(3, 3), "x");
    EXPECT_EQ(countTexts(area()), 1);
    clickCell(3, 3);
    EXPECT_TRUE(guide() == before);
    EXPECT_EQ(dialog->RebuildCount(), 3);
    EXPECT_EQ(bytes(), built); // same objects in the same places

    // A fourth column is refused.
    TemplateGuideTable full;
    full.columns[0] = {0, 1, 2};
    EXPECT_FALSE(CTemplateGuideDlg::ToggleColumn(full, 0, 3));
    EXPECT_TRUE(CTemplateGuideDlg::ToggleColumn(full, 0, 1));
    EXPECT_TRUE(CTemplateGuideDlg::ToggleColumn(full, 0, 3));
    EXPECT_EQ(full.columns[0], (std::array<int32_t, 3>{0, 3, 2}));
}

TEST_F(GuideTest, DelimiterEditsAndEmptyGuide)
{
    open();
    EXPECT_LT(dialog->BeginLabelEdit(1, 2), 0);
    EXPECT_EQ(dialog->BeginLabelEdit(1, 1), 0);
    dialog->EndLabelEdit(2, 1, "a very long delimiter");
    EXPECT_EQ(guide().delimiters[1], "a very lon");
    EXPECT_TRUE(area().IsEmpty()); // no row has columns

    dialog->FrameCheck()->setChecked(true);
    ASSERT_EQ(area().GetCount(), 1u);
    EXPECT_EQ(area().GetAt(0)->GetTypeKey(), CGraphRect().GetTypeKey());
    dialog->ImageCheck()->setChecked(true);
    ASSERT_EQ(area().GetCount(), 2u);
    EXPECT_NE(dynamic_cast<CGraphImage*>(area().GetAt(1)), nullptr);

    guide().columns[0] = {0, 2, -1};
    dialog->EndLabelEdit(1, 1, " / ");
    ASSERT_EQ(area().GetCount(), 3u);
    std::string letters, separator;
    ASSERT_TRUE(area().GetAt(2)->GetSourceColumnText(letters));
    ASSERT_TRUE(area().GetAt(2)->GetSeparatorName(separator));
    EXPECT_EQ(letters, "AC");
    EXPECT_EQ(separator, " / ");
}

TEST_F(GuideTest, ObjectsStayInsideAndRowsRunDownwards)
{
    open();
    for (int rows = 1; rows <= kGuideRows; ++rows) {
        for (int options = 0; options < 4; ++options) {
            guide().Clear();
            for (int r = 0; r < rows; ++r)
                guide().columns[size_t(r)] = {r, -1, -1};
            dialog->FrameCheck()->setChecked(options & 1);
            dialog->ImageCheck()->setChecked(options & 2);
            dialog->BuildLayer();
            EXPECT_EQ(countTexts(area()), rows);
            expectInside(0, 60000, 20000, "label");
        }
    }
    // A module-marking strip: the objects once per module, each inside it.
    doc->ToggleModuleMarking();
    doc->SetModulesToAdd(2);
    ASSERT_TRUE(doc->AppendMarker());
    const int modules = doc->GetCurrentRowModuleCount();
    ASSERT_EQ(modules, 3);
    guide().Clear();
    guide().columns[0] = {0, -1, -1};
    guide().columns[1] = {1, -1, -1};
    dialog->FrameCheck()->setChecked(true);
    dialog->ImageCheck()->setChecked(false);
    dialog->BuildLayer();
    EXPECT_EQ(countTexts(area()), 2 * modules);
    for (int m = 0; m < modules; ++m)
        expectInside(doc->GetMarkerPosition(m), doc->GetMarkerLength(m), doc->GetStripWidth(), "module");
}

TEST_F(GuideTest, OneUndoRestoresTheDesignBeforeTheGuide)
{
    add<CGraphRect>(1000, 1000, 5000, 5000);
    add<CGraphTextExt>(7000, 1000, 9000, 4000);
    const std::string design = bytes();
    open();
    clickCell(1, 2);
    clickCell(2, 3);
    dialog->FrameCheck()->setChecked(true);
    EXPECT_NE(bytes(), design);
    dialog->close();
    ASSERT_TRUE(doc->Undo(0));
    EXPECT_EQ(bytes(), design);
}
