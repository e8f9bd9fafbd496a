// Importing a ".tpe" file into the current template (852): all or nothing,
// whatever byte the file is cut at; the areas a file leaves out stay.
#include "document/project/projectdoc.h"

#include "content/objects/shapes.h"
#include "document/template/template_bytes.h"
#include "project_test_support.h"

#include <QFile>

using projtest::ProjectTest;

namespace {

// A template whose every stored setting differs from a new template's and
// from the document's (below).
void fillSource(CTemplate& t)
{
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, 42000, true);
    label->SetHeight(0, 21000);
    t.SetLabel(std::move(label));
    for (int area = 0; area < kTemplateAreas; ++area) {
        auto rect = std::make_unique<CGraphRect>();
        rect->SetX(1000 * (area + 1));
        rect->SetWidth(3000);
        rect->SetHeight(2000);
        t.GetArea(area)->AddTail(std::move(rect));
    }
    t.SetPrinterNames("source device", "source driver", "source port");
    t.SetPassword("source");
    t.SetSortVertical(true);
    t.SetRepeat(3);
    t.SetPageBreakOnNewSet(false);
    t.SetFieldContours(false);
    t.GetGuideTable(0)->columns[0] = {1, 2, -1};
    t.GetGuideTable(0)->delimiters[0].assign(1, '-');
    t.GetHelpLines().SetHorizontalOn(true);
    t.GetHelpLines().SetHorizontalCount(4);
    t.SetZoom(0, 150);
    t.GetJob().GetCurrentRow().AddModules(false);
}

// What the document's template holds before any import.
void fillCurrent(CTemplate& t)
{
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, 10000, true);
    label->SetHeight(0, 5000);
    t.SetLabel(std::move(label));
    auto rect = std::make_unique<CGraphRect>();
    rect->SetWidth(500);
    rect->SetHeight(500);
    t.GetArea(1)->AddTail(std::move(rect));
    t.SaveUndoState(1, true);
    t.SetPrinterNames("old device", "old driver", "old port");
    t.SetPassword("old");
    t.SetRepeat(2);
    t.SetSets(5);
    t.SetPrintLabelBorders(true);
    t.SetBorderColor(0x0000FF);
    t.SetBorderWidth(300);
    t.SetCompensation(7, 8);
    t.GetGuideTable(2)->delimiters[9].assign(1, '/');
    t.SetZoom(2, 300);
}

// Everything of a template: its record in the project form (which holds
// sets and borders too), the compensation the record never writes, and the
// depth of the undo history of the header.
std::string stateOf(CTemplate& t)
{
    RecordWriter w;
    EXPECT_TRUE(t.Write(w, true));
    return w.take() + "|" + std::to_string(t.GetLeftCompensation()) + "," +
           std::to_string(t.GetTopCompensation()) + "|" + std::to_string(t.GetUndoHistory(1)->LeadingCount());
}

} // namespace

TEST_F(ProjectTest, ATemplateFileCutAnywhereLeavesTheCurrentTemplateAsItWas)
{
    CTemplate source;
    fillSource(source);
    const std::string whole = path("source.tpe").toStdString();
    ASSERT_TRUE(source.SaveFile(whole));
    const std::string bytes = readFile(path("source.tpe"));
    ASSERT_GT(bytes.size(), 100u);

    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    fillCurrent(doc.GetCurrentTemplate());
    const std::string before = stateOf(doc.GetCurrentTemplate());
    const CGraphCollection* header = doc.GetCurrentTemplate().GetArea(1);
    doc.SetModifiedFlag(false);

    for (size_t n = 0; n < bytes.size(); ++n) {
        // A new file each time: rewriting one file would wait on the disk.
        const QString cut = path(QStringLiteral("cut%1.tpe").arg(n));
        writeFile(cut, bytes.substr(0, n));
        m_ui.messages.clear();
        ASSERT_FALSE(doc.ImportTemplateFile(QFile::encodeName(cut).toStdString())) << n;
        ASSERT_EQ(m_ui.messages.size(), 1u) << n;
        EXPECT_EQ(m_ui.messages[0].text, "Corrupt template file") << n;
        ASSERT_EQ(stateOf(doc.GetCurrentTemplate()), before) << "cut at " << n;
        ASSERT_EQ(doc.GetCurrentTemplate().GetArea(1), header) << n;
        ASSERT_FALSE(doc.IsModified()) << n;
        QFile::remove(cut);
    }

    // Whole, it is taken over: the template file's settings, sets back to 1
    // as for every record without them; the compensation, which a record
    // never holds, stays.
    m_ui.messages.clear();
    ASSERT_TRUE(doc.ImportTemplateFile(whole));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_TRUE(doc.IsModified());
    CTemplate& t = doc.GetCurrentTemplate();
    RecordWriter imported, original;
    ASSERT_TRUE(t.Write(imported, false));
    ASSERT_TRUE(source.Write(original, false));
    EXPECT_EQ(imported.data(), original.data());
    EXPECT_EQ(t.GetSets(), 1);
    EXPECT_EQ(t.GetLeftCompensation(), 7);
    EXPECT_EQ(t.GetTopCompensation(), 8);
}

TEST_F(ProjectTest, ATemplateFileWithoutHeaderAndFooterKeepsTheCurrentOnes)
{
    // A template file whose flags lack the header and footer block (0x40):
    // an empty label area, nothing for areas 1 and 2.
    tplbytes::Record record;
    record.flags = 0x715F & ~0x40u;
    CLabelFileNewArticleNo label;
    RecordWriter w;
    label.WriteTagged(w);
    record.label = w.take();
    const QString file = path("no_header_footer.tpe");
    writeFile(file, tplbytes::encode(record));

    CVorteplanSoftLabelDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CTemplate& t = doc.GetCurrentTemplate();
    fillCurrent(t);
    auto footer = std::make_unique<CGraphRect>();
    footer->SetWidth(700);
    footer->SetHeight(700);
    t.GetArea(2)->AddTail(std::move(footer));
    t.GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    const CGraphCollection* header = t.GetArea(1);

    ASSERT_TRUE(doc.ImportTemplateFile(QFile::encodeName(file).toStdString()));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(t.GetArea(0)->GetCount(), 0u);
    EXPECT_EQ(t.GetArea(1), header);
    EXPECT_EQ(t.GetArea(1)->GetCount(), 1u);
    EXPECT_EQ(t.GetArea(2)->GetCount(), 1u);
}
