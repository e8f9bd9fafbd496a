// Template behaviour: undo snapshots, copying, guide lines, the label
// definition switches, and the ".tpe" and ".label" files.
#include "document/template/template.h"

#include "content/objects/group.h"
#include "content/objects/shapes.h"
#include "support/fifo_guard.h"
#include "support/test_support.h"
#include "platform/recordingui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The texts shown to the user while `action` runs.
std::vector<std::string> messagesDuring(const std::function<void()>& action)
{
    CRecordingUi ui;
    UiScope scope(ui);
    action();
    std::vector<std::string> seen;
    for (const UserMessage& m : ui.messages)
        seen.push_back(m.text);
    return seen;
}

std::string path(const QTemporaryDir& dir, const char* name)
{
    return QFile::encodeName(dir.filePath(QString::fromLatin1(name))).toStdString();
}

std::string readFile(const std::string& name)
{
    QFile f(QFile::decodeName(name.c_str()));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void writeFile(const std::string& name, const std::string& bytes)
{
    QFile f(QFile::decodeName(name.c_str()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

} // namespace

TEST(TemplateUndo, SnapshotsOfAreaAndJobGoTogether)
{
    CTemplate t;
    EXPECT_EQ(t.GetUndoDepth(0), 32);
    EXPECT_EQ(t.GetUndoDepth(3), 0);
    for (int i = 0; i < 33; ++i) {
        t.GetArea(1)->AddTail(std::make_unique<CGraphRect>());
        t.SaveUndoState(1, true);
    }
    EXPECT_EQ(t.GetUndoHistory(1)->LeadingCount(), 32u);
    EXPECT_EQ(t.GetUndoHistory(1)->Newest()->GetCount(), 33u);
    EXPECT_EQ(t.GetUndoHistory(1)->At(31)->GetCount(), 2u); // the first one dropped
    EXPECT_EQ(t.GetMarkerUndo().LeadingCount(), 32u);

    t.FreeHistory();
    t.GetRedoHistory(0)->Push(t.GetArea(0)->CloneCollection());
    t.GetMarkerRedo().Push(t.GetJob().Clone());
    t.SaveUndoState(0, false);
    EXPECT_FALSE(t.GetRedoHistory(0)->IsEmpty());
    t.SaveUndoStateWithJob(0);
    EXPECT_TRUE(t.GetRedoHistory(0)->IsEmpty());
    EXPECT_TRUE(t.GetMarkerRedo().IsEmpty());
    EXPECT_EQ(t.GetUndoHistory(0)->LeadingCount(), 2u);
    EXPECT_EQ(t.GetMarkerUndo().LeadingCount(), 2u); // one job snapshot per edit

    t.SetLocked(true);
    t.SaveUndoState(0, true);
    t.SaveUndoState(3, true);
    EXPECT_EQ(t.GetUndoHistory(0)->LeadingCount(), 2u);
    EXPECT_EQ(t.GetMarkerUndo().LeadingCount(), 2u);
}

TEST(TemplateCopy, CopiesDesignAndUndoButNoRedo)
{
    CTemplate source;
    source.GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    source.SaveUndoState(0, true);
    source.GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    source.GetRedoHistory(0)->Push(source.GetArea(0)->CloneCollection());
    source.SetPassword("pw");
    source.SetRepeat(3);
    source.GetGuideTable(2)->columns[1][1] = 5;
    source.ToggleModuleMarking();

    CTemplate copy;
    copy.GetRedoHistory(1)->Push(copy.GetArea(1)->CloneCollection());
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetArea(0)->GetCount(), 2u);
    ASSERT_NE(copy.GetUndoHistory(0)->Newest(), nullptr);
    EXPECT_EQ(copy.GetUndoHistory(0)->Newest()->GetCount(), 1u);
    for (int a = 0; a < 3; ++a)
        EXPECT_TRUE(copy.GetRedoHistory(a)->IsEmpty()) << a;
    ASSERT_NE(copy.GetLabel(), nullptr);
    EXPECT_TRUE(copy.GetLabel()->IsModuleMarking());
    EXPECT_EQ(copy.GetPassword(), "pw");
    EXPECT_EQ(copy.GetRepeat(), 3);
    EXPECT_EQ(copy.GetGuideTable(2)->columns[1][1], 5);
}

TEST(TemplateLabel, ModuleMarkingSwitchAndPreparation)
{
    CTemplate t;
    EXPECT_FALSE(t.ApplyJobRowToLabel());
    EXPECT_TRUE(t.ToggleModuleMarking());
    CLabel* label = t.GetLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetTypeKey(), kKeyLabelFileNewArticleNo);
    EXPECT_EQ(label->GetPaperCode(), kPaperUser);
    EXPECT_EQ(label->GetOrientation(), kLandscape);
    EXPECT_EQ(label->GetRows(), 1);
    EXPECT_TRUE(label->IsModified());
    EXPECT_TRUE(label->IsModuleMarking());
    EXPECT_EQ(label->GetStripWidth(), 13800);
    EXPECT_TRUE(t.ApplyJobRowToLabel());
    EXPECT_EQ(t.GetCurrentModuleLength(), 17500);
    EXPECT_TRUE(t.ToggleModuleMarking());
    EXPECT_FALSE(t.GetLabel()->IsModuleMarking());

    t.PrepareLabelFile();
    EXPECT_EQ(t.GetLabel()->GetPaperLength(), 2970);
    EXPECT_EQ(t.GetLabel()->GetStripWidth(), 0);
    t.SetLabel(std::make_unique<CLabelExt>());
    t.PrepareLabelFile();
    EXPECT_EQ(t.GetLabel()->GetTypeKey(), kKeyLabelFileNewArticleNo);
}

TEST(TemplateHelpLines, CountsDivideThePartIntoBands)
{
    CHelpLines lines;
    RecordWriter w;
    for (int v : {1, 1})
        w.u8(uint8_t(v));
    w.i16(3); // two horizontal lines
    w.i16(1); // no vertical line
    RecordReader r(w.data());
    ASSERT_TRUE(lines.Load(r));
    CLabelFileNew label;
    label.SetWidth(0, 50800, false); // 192 x 96 px at 96 dpi
    label.SetHeight(0, 25400);
    QImage image = testsupport::whiteImage(240, 140);
    const QImage white = image.copy();
    CDC dc(&image);
    lines.Draw(dc, 0, 100, nullptr);
    EXPECT_EQ(testsupport::countDifferentPixels(image, white), 0);
    lines.Draw(dc, 0, 100, &label);
    const RECT ink = testsupport::inkBox(image);
    EXPECT_EQ(ink.top, 32);
    EXPECT_EQ(ink.bottom, 65); // rows 32 and 64 only
    EXPECT_LE(ink.right, 192);
    EXPECT_EQ(testsupport::countDifferentPixels(image.copy(0, 33, 240, 31), white.copy(0, 33, 240, 31)), 0);
    EXPECT_EQ(dc.GetPen().style, PS_SOLID); // the state is restored
}

TEST(TemplateFile, SaveLoadAndFailures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string tpe = path(dir, "one.tpe");
    CTemplate t;
    t.GetArea(0)->AddTail(std::make_unique<CGraphRect>());
    t.SetPassword("abc");
    ASSERT_TRUE(t.SaveFile(tpe));
    const std::string saved = readFile(tpe);
    EXPECT_EQ(saved.substr(4, 4), std::string("\x5F\x71\x00\x00", 4));

    CTemplate back;
    EXPECT_TRUE(messagesDuring([&] { EXPECT_TRUE(back.LoadFile(tpe)); }).empty());
    EXPECT_EQ(back.GetArea(0)->GetCount(), 1u);
    EXPECT_EQ(back.GetPassword(), "abc");

    // Nesting deeper than a reader accepts cannot be stored: the old file
    // stays and the failure is shown.
    std::unique_ptr<CGraphObject> deep = std::make_unique<CGraphRect>();
    for (int i = 0; i < 40; ++i) {
        auto group = std::make_unique<CGraphGroup>();
        group->AddTail(std::move(deep));
        deep = std::move(group);
    }
    t.GetArea(0)->AddTail(std::move(deep));
    t.GetLabel()->SetModified(true);
    std::vector<std::string> seen = messagesDuring([&] { EXPECT_FALSE(t.SaveFile(tpe)); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].rfind("Can not save file " + tpe, 0), 0u);
    EXPECT_EQ(readFile(tpe), saved);
    EXPECT_TRUE(t.GetLabel()->IsModified());

    // A folder that does not exist.
    const std::string nowhere = path(dir, "one.tpe/sub/two.tpe");
    seen = messagesDuring([&] { EXPECT_FALSE(back.SaveFile(nowhere)); });
    EXPECT_EQ(seen.size(), 1u);

    const std::string missing = path(dir, "missing.tpe");
    seen = messagesDuring([&] { EXPECT_FALSE(back.LoadFile(missing)); });
    EXPECT_EQ(seen, std::vector<std::string>{"Can not open " + missing});
    writeFile(missing, saved.substr(0, saved.size() / 2));
    seen = messagesDuring([&] { EXPECT_FALSE(back.LoadFile(missing)); });
    EXPECT_EQ(seen, std::vector<std::string>{"Corrupt template file"});
}

TEST(TemplateFile, LoadLabelFile)
{
    QTemporaryDir dir;
    CLabelFileNew plain;
    plain.SetFamilyName("Sheet");
    ASSERT_TRUE(plain.SetPrinterNames("dev", "drv", "port"));
    const std::string lblf = path(dir, "a.label");
    ASSERT_TRUE(plain.SaveToFile(lblf));

    CTemplate t;
    ASSERT_TRUE(t.LoadLabelFile(lblf));
    auto* label = dynamic_cast<CLabelFileNew*>(t.GetLabel());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetTypeKey(), kKeyLabelFileNewArticleNo);
    EXPECT_EQ(label->GetArticleNumberCount(), 0);
    EXPECT_EQ(label->GetFilePath(), lblf);
    EXPECT_TRUE(label->IsLoaded());
    EXPECT_EQ(label->GetFamilyName(), "Sheet");
    EXPECT_EQ(t.GetPrinterDevice(), "dev");
    EXPECT_EQ(t.GetPrinterPort(), "port");

    // Not label definition files: the template keeps its definition.
    std::string article = CLabelFileNewArticleNo().FileImage();
    article[4] = char(111); // version 111 is not ours
    const std::string newer = path(dir, "b.label");
    writeFile(newer, article);
    const std::string other = path(dir, "c.label");
    writeFile(other, "XXXX and more");
    for (const std::string& name : {newer, other, path(dir, "none.label")}) {
        EXPECT_TRUE(messagesDuring([&] { EXPECT_FALSE(t.LoadLabelFile(name)); }).empty()) << name;
        EXPECT_EQ(t.GetLabel(), label);
    }
    // One that reads badly is refused and reported.
    const std::string cut = path(dir, "d.label");
    writeFile(cut, plain.FileImage().substr(0, 300));
    EXPECT_EQ(messagesDuring([&] { EXPECT_FALSE(t.LoadLabelFile(cut)); }).size(), 1u);
    EXPECT_EQ(t.GetLabel(), label);
}

TEST(TemplateFile, FifosAndDevicesAreRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string tpe = path(dir, "pipe.tpe");
    const std::string label = path(dir, "pipe.label");
    ASSERT_EQ(::mkfifo(tpe.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(label.c_str(), 0600), 0);
    testsupport::FifoGuard guard({QString::fromStdString(tpe), QString::fromStdString(label)});
    CTemplate t;
    CLabel* const before = t.GetLabel();
    EXPECT_EQ(messagesDuring([&] { EXPECT_FALSE(t.LoadFile(tpe)); }), std::vector<std::string>{"Can not open " + tpe});
    EXPECT_TRUE(messagesDuring([&] { EXPECT_FALSE(t.LoadLabelFile(label)); }).empty());
    EXPECT_TRUE(messagesDuring([&] { EXPECT_FALSE(t.LoadLabelFile("/dev/zero")); }).empty());
    EXPECT_EQ(t.GetLabel(), before);
    EXPECT_FALSE(guard.ReaderSeen());
}

TEST(TemplateFile, MessagesNameFilesInTheWindowsCodePage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string shown = QFile::encodeName(dir.path()).toStdString() + "/M\xFCll";
    const std::string tpe = QFile::encodeName(dir.filePath(QStringLiteral(u"M\u00FCll.tpe"))).toStdString();
    CTemplate t;
    EXPECT_EQ(messagesDuring([&] { EXPECT_FALSE(t.LoadFile(tpe)); }),
              std::vector<std::string>{"Can not open " + shown + ".tpe"});
    const std::string nowhere = QFile::encodeName(dir.filePath(QStringLiteral(u"M\u00FCll/x.tpe"))).toStdString();
    const std::vector<std::string> seen = messagesDuring([&] { EXPECT_FALSE(t.SaveFile(nowhere)); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].rfind("Can not save file " + shown + "/x.tpe: ", 0), 0u) << seen[0];
    const std::string label = QFile::encodeName(dir.filePath(QStringLiteral(u"M\u00FCll.label"))).toStdString();
    writeFile(label, CLabelFileNew().FileImage().substr(0, 300));
    const std::vector<std::string> bad = messagesDuring([&] { EXPECT_FALSE(t.LoadLabelFile(label)); });
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_NE(bad[0].find(shown + ".label"), std::string::npos) << bad[0];
}
