// A print run of labels whose pictures are troublesome files: each file is
// worked on once for the whole run, whether it is the object's own file or
// named by every table row, and what cannot be read prints as a missing
// picture.
#include "document/project/projectdoc.h"

#include "content/images/graphimage.h"
#include "document/label/labelfile.h"
#include "platform/dib.h"
#include "support/picture_inputs.h"
#include "support/test_support.h"

#include "project_test_support.h"

using projtest::ProjectTest;

namespace {

class FakePrinter : public CPrinterSetupAccess {
public:
    std::string DeviceName() const override { return "Office"; }
    bool HasSettings() const override { return true; }
    void ApplySetup(const LinuxPrinterSetup&) override {}
    bool SupportsPaper(int, int32_t, int32_t) const override { return true; }
    void SetOrientation(int) override {}
};

class PrintPicturesTest : public ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetWidth(0, 50000, true);
        label->SetHeight(0, 20000);
        label->SetColumnPitch(60000);
        label->SetRowPitch(25000);
        label->SetColumns(3);
        label->SetRows(4);
        label->SetLeft(0, 10000);
        label->SetTop(0, 5000);
        doc.GetCurrentTemplate().SetLabel(std::move(label));
    }
    CGraphImageExtExt* addImage(int32_t x, int mode)
    {
        auto o = std::make_unique<CGraphImageExtExt>();
        o->SetX(x);
        o->SetY(1000);
        o->SetWidth(15000);
        o->SetHeight(15000);
        o->SetImageSourceMode(mode);
        CGraphImageExtExt* raw = o.get();
        doc.GetCurrentTemplate().GetArea(0)->AddTail(std::move(o));
        return raw;
    }
    // Prints every page onto `page` at 300 dpi.
    bool print(QImage& page)
    {
        if (!doc.CheckBeforePrint())
            return false;
        CPrintInfo info;
        FakePrinter printer;
        doc.PreparePrinting(info, &printer);
        CDC dc(&page, 300, 300);
        if (!doc.BeginPrinting(dc, info, nullptr, POINT{}))
            return false;
        for (int n = 1; n < 20; ++n) {
            doc.PrintPage(dc, info);
            if (!info.continuePrinting || info.maxPage == CPrintInfo::kEndAfterPage)
                break;
        }
        return true;
    }

    CVorteplanSoftLabelDoc doc;
};

} // namespace

TEST_F(PrintPicturesTest, EachTroublesomeFileIsWorkedOnOncePerRun)
{
    dib::ForgetPictureFiles();
    // The page as a label with a missing picture prints it.
    const std::string absent = path("absent.png").toStdString();
    ASSERT_TRUE(addImage(2000, CGraphImageExt::kSourceFile)->SetImageFile(absent));
    QImage missing = testsupport::whiteImage(800, 800);
    ASSERT_TRUE(print(missing));
    doc.GetCurrentTemplate().GetArea(0)->RemoveAll();

    for (const testsupport::PictureInput& input : testsupport::pictureInputs()) {
        SCOPED_TRACE(input.name);
        const QString file = path(input.name);
        ASSERT_TRUE(testsupport::makePictureInput(input.name, file));
        const bool huge = std::string(input.name) == "topdown8000.bmp";
        CGraphCollection* area = doc.GetCurrentTemplate().GetArea(0);
        area->RemoveAll();
        // The 192 MB picture only per row, where it is decoded reduced.
        if (!huge) {
            ASSERT_TRUE(addImage(2000, CGraphImageExt::kSourceFile)->SetImageFile(file.toStdString()));
        }
        addImage(30000, CGraphImageExt::kSourceTable);
        CDataTableBase* table = doc.GetTable(0);
        table->SetColumnFlag(0, 1);
        for (int row = 0; row < 24; ++row)
            table->SetCellText(row, 0, file.toStdString());
        ASSERT_TRUE(doc.UsesTableData());

        const dib::PictureFileCounts before = dib::CountPictureFileWork();
        QImage page = testsupport::whiteImage(800, 800);
        ASSERT_TRUE(print(page));
        const dib::PictureFileCounts after = dib::CountPictureFileWork();
        // Two objects name the file: a good file is read by each, a failed
        // one once for both.
        const uint64_t readers = huge ? 1 : 2;
        EXPECT_LE(after.opened - before.opened, input.drawn ? readers : 1u);
        EXPECT_LE(after.decoded - before.decoded, input.drawn ? readers : 1u);
        if (!input.drawn)
            EXPECT_EQ(testsupport::countDifferentPixels(page, missing), 0);
        else
            EXPECT_GT(testsupport::countDifferentPixels(page, missing), 0);
        area->RemoveAll();
        QFile::remove(file);
    }
}
