// Windows file-dialog filters on a case-sensitive file system, and the
// extension rules after the dialog.
#include "shell/filedialogfilter.h"
#include "shell/filedialogfolders.h"

#include "platform/settings.h"
#include "platform/uiservices.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileDialogFilter, PatternsListFilesWhateverTheirCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"X.LABEL", "y.label", "Z.Label", "w.labelx", "Y.TBL", "notes.txt"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const std::vector<CFileDialogFilter::Entry> entries =
        CFileDialogFilter::Parse("Label files|*.label||");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].description, "Label files");
    const QStringList found = QDir(dir.path()).entryList(entries[0].patterns, QDir::Files | QDir::CaseSensitive, QDir::Name);
    EXPECT_EQ(found, (QStringList{"X.LABEL", "Z.Label", "y.label"}));

    const std::vector<CFileDialogFilter::Entry> tables =
        CFileDialogFilter::Parse("Tables (*.tbf;*.tbl)|*.tbf; *.tbl|All files|*.*||ignored|*.x");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(tables[0].patterns, QDir::Files | QDir::CaseSensitive), QStringList{"Y.TBL"});
    EXPECT_EQ(CFileDialogFilter::NameFilters("Tables (*.tbf;*.tbl)|*.tbf; *.tbl|All files|*.*||"),
              (QStringList{"Tables (*.tbf;*.tbl) (*.[tT][bB][fF] *.[tT][bB][lL])", "All files (*.*)"}));
    EXPECT_TRUE(CFileDialogFilter::NameFilters("").isEmpty());
}

TEST(FileDialogFilter, DefaultExtensionAndCaselessExtensionChecks)
{
    EXPECT_EQ(CFileDialogFilter::WithDefaultExtension("/d/plan", "proj"), "/d/plan.proj");
    EXPECT_EQ(CFileDialogFilter::WithDefaultExtension("/d/plan", ".proj"), "/d/plan.proj");
    EXPECT_EQ(CFileDialogFilter::WithDefaultExtension("/d/plan.TBF", "proj"), "/d/plan.TBF");
    EXPECT_EQ(CFileDialogFilter::WithDefaultExtension("/d.x/plan", "proj"), "/d.x/plan.proj");
    EXPECT_EQ(CFileDialogFilter::WithDefaultExtension("/d/plan", ""), "/d/plan");
    EXPECT_TRUE(CFileDialogFilter::HasExtension("/d/X.LABEL", "label"));
    EXPECT_TRUE(CFileDialogFilter::HasExtension("/d/x.label", ".Label"));
    EXPECT_FALSE(CFileDialogFilter::HasExtension("/d/xlabel", "label"));
    EXPECT_FALSE(CFileDialogFilter::HasExtension("/d.label/x", "label"));
}

TEST(FileDialogFolders, DialogsStartInTheLastFolderOfTheirKindElseTheDocuments)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    settings::SetStoreFolder(dir.filePath("config"));
    FileDialogRequest project;
    project.filter = "Projects (*.proj)|*.proj||";
    project.defaultExtension = "proj";
    FileDialogRequest table;
    table.filter = "Tables|*.tbl;*.tbf|All|*.*||";
    EXPECT_EQ(CFileDialogFolders::Kind(project), "proj");
    EXPECT_EQ(CFileDialogFolders::Kind(table), "*.tbl;*.tbf");

    // Nothing remembered: the documents folder (or home), never the working folder.
    const QString first = CFileDialogFolders::StartFolder(project);
    EXPECT_TRUE(first == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) ||
                first == QDir::homePath())
        << first.toStdString();

    ASSERT_TRUE(QDir().mkpath(dir.filePath("jobs")));
    CFileDialogFolders::Remember(project, dir.filePath("jobs/a.proj"));
    EXPECT_EQ(CFileDialogFolders::StartFolder(project), dir.filePath("jobs"));
    EXPECT_EQ(CFileDialogFolders::StartFolder(table), first); // another kind
    // A folder the request names wins; a remembered folder that is gone does not.
    project.folder = dir.path();
    EXPECT_EQ(CFileDialogFolders::StartFolder(project), dir.path());
    project.folder.clear();
    ASSERT_TRUE(QDir(dir.filePath("jobs")).removeRecursively());
    EXPECT_EQ(CFileDialogFolders::StartFolder(project), first);
    settings::SetStoreFolder({});
}
