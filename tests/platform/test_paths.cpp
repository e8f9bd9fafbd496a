// Stored Windows file names resolved to local files.
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(Paths, WindowsNamesFindFilesIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("Label Images/Logo.PNG");
    touch(file);
    paths::SetDriveRoot('x', dir.path());
    EXPECT_EQ(paths::ResolveStoredPath("X:\\label images\\LOGO.png"), file);
    EXPECT_EQ(paths::ResolveStoredPath("x:/Label Images/Logo.PNG"), file);
    // Relative names are taken from the base folder.
    EXPECT_EQ(paths::ResolveStoredPath("LABEL IMAGES\\logo.png", dir.path()), file);
    EXPECT_EQ(paths::ResolveStoredPath(".\\label images\\..\\Label Images\\logo.png", dir.path()), file);
    // A local absolute name works as it stands.
    EXPECT_EQ(paths::ResolveStoredPath(file.toStdString()), file);
    paths::SetDriveRoot('X', QString());
    EXPECT_EQ(paths::DriveRoot('x'), "/");
}

TEST(Paths, UnresolvedNamesKeepTheirShape)
{
    EXPECT_TRUE(paths::ResolveStoredPath("").isEmpty());
    EXPECT_EQ(paths::ResolveStoredPath("C:\\no\\such\\file.png"), "/no/such/file.png");
    EXPECT_EQ(paths::ResolveStoredPath("\\\\server\\share\\pics\\a.png"), "/pics/a.png");
    // cp1252 bytes become Unicode.
    EXPECT_EQ(paths::ResolveStoredPath("C:\\bild\xe4.png"), QString::fromUtf8("/bild\xc3\xa4.png"));
    EXPECT_TRUE(paths::GetClipartFolder().endsWith("/Clipart"));
}
