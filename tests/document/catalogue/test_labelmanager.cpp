// The label catalogue over a temporary labels folder.
#include "document/catalogue/labelmanager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QDir& dir, const QString& name, const std::string& bytes)
{
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

template <class T>
std::string labelFile(const std::string& family)
{
    T label;
    label.SetFamilyName(family);
    return label.FileImage();
}

std::set<std::string> displayNames(const CLabelManager& m)
{
    std::set<std::string> names;
    for (int i = 0; i < m.GetCount(); ++i)
        names.insert(m.GetAt(i)->GetDisplayName());
    return names;
}

} // namespace

TEST(LabelCatalogue, ScanOfAFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QDir dir(tmp.path());
    writeFile(dir, "Sheet40.label", labelFile<CLabelFileNew>("Wire"));
    writeFile(dir, "b.label", labelFile<CLabelFileNewArticleNo>("WIRE"));
    writeFile(dir, "X.LABEL", labelFile<CLabelFileNew>("Cable"));
    writeFile(dir, ".label", labelFile<CLabelFileNew>("Dot"));
    writeFile(dir, "two.dots.label", labelFile<CLabelFileNew>("Dots"));
    // Kept although it ends early: it carries the magic.
    writeFile(dir, "short.label", labelFile<CLabelFileNew>("Short").substr(0, 40));
    writeFile(dir, "other.label", "PK\x03\x04 not a label");
    writeFile(dir, "tiny.label", "LB");
    writeFile(dir, "notes.txt", labelFile<CLabelFileNew>("Txt"));
    // Cannot be opened: skipped, the scan goes on.
    ASSERT_TRUE(QFile::link(dir.filePath("gone.bin"), dir.filePath("broken.label")));
    // Not regular files: skipped without opening (a FIFO would block the
    // scan, /dev/zero would never end).
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo.label")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.label")));
    ASSERT_TRUE(dir.mkdir("folder.label"));

    CLabelManager m;
    m.SetFolder(dir.path());
    EXPECT_EQ(m.LoadFolder(), 6);
    EXPECT_EQ(displayNames(m),
              (std::set<std::string>{"Sheet40", "b", "X", ".label", "two.dots", "short"}));
    for (int i = 0; i < m.GetCount(); ++i) {
        const CLabelFileNew* label = m.GetAt(i);
        if (label->GetDisplayName() == "b") {
            EXPECT_EQ(label->GetTypeKey(), kKeyLabelFileNewArticleNo);
        } else if (label->GetDisplayName() == "Sheet40") {
            EXPECT_EQ(label->GetTypeKey(), kKeyLabelFileNew);
        }
    }
    EXPECT_EQ(m.GetAt(6), nullptr);
    EXPECT_EQ(m.GetAt(-1), nullptr);
    EXPECT_EQ(m.GetAt(CLabelManager::kMaxLabels), nullptr);

    m.CollectFamilies();
    m.SortFamilies();
    std::vector<std::string> families;
    for (int i = 0; i < m.GetFamilyCount(); ++i)
        families.push_back(m.GetFamilyName(i));
    // "Wire" and "WIRE" are one family; the short file has no name yet.
    EXPECT_EQ(families.size(), 5u);
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    }));
    EXPECT_EQ(std::count_if(families.begin(), families.end(),
                            [](const std::string& f) { return f == "Wire" || f == "WIRE"; }),
              1);

    // A rescan starts afresh.
    QFile::remove(dir.filePath("X.LABEL"));
    EXPECT_EQ(m.LoadFolder(), 5);
    m.Clear();
    EXPECT_EQ(m.GetCount(), 0);
    EXPECT_EQ(m.GetAt(0), nullptr);
}

TEST(LabelCatalogue, DisplayNamesAreBounded)
{
    EXPECT_EQ(CLabelManager::DisplayNameOf(std::string(300, 'n') + ".label"), std::string(258, 'n'));
}

TEST(LabelCatalogue, FamilyListLimitsAndSorting)
{
    CLabelManager m;
    for (int i = CLabelManager::kMaxFamilies; i > 0; --i)
        m.AddFamily("F" + std::to_string(10000 + i));
    m.AddFamily("one too many");
    m.AddFamily("f10001"); // held already, in other case
    EXPECT_EQ(m.GetFamilyCount(), CLabelManager::kMaxFamilies);
    EXPECT_EQ(m.GetFamilyName(0), "F10512");
    m.SortFamilies();
    for (int i = 0; i < CLabelManager::kMaxFamilies; ++i)
        ASSERT_EQ(m.GetFamilyName(i), "F" + std::to_string(10001 + i)) << i;
    EXPECT_EQ(m.GetFamilyName(-1), "");
    EXPECT_EQ(m.GetFamilyName(CLabelManager::kMaxFamilies), "");
}

TEST(LabelCatalogue, ScanStopsAtItsCapacity)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const std::string header = labelFile<CLabelFileNew>("").substr(0, 12);
    // One file under every name: links need no new inode each, which on a
    // busy file system costs more than the scan itself.
    writeFile(dir, QStringLiteral("l0.label"), header);
    const QByteArray first = QFile::encodeName(dir.filePath(QStringLiteral("l0.label")));
    for (int i = 1; i < CLabelManager::kMaxLabels + 5; ++i)
        ASSERT_EQ(::link(first.constData(), QFile::encodeName(dir.filePath(QStringLiteral("l%1.label").arg(i))).constData()),
                  0);
    CLabelManager m;
    m.SetFolder(dir.path());
    EXPECT_EQ(m.LoadFolder(), CLabelManager::kMaxLabels);
    EXPECT_NE(m.GetAt(CLabelManager::kMaxLabels - 1), nullptr);
}
