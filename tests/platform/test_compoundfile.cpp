#include "platform/compoundfile.h"
#include "support/biff_builder.h"

#include <gtest/gtest.h>

using bifftest::compoundFile;

namespace {

std::string pattern(size_t n, char seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = char(seed + char(i % 251));
    return s;
}

uint32_t field32(const std::string& d, size_t at)
{
    return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16
         | uint32_t(uint8_t(d[at + 3])) << 24;
}

void setField32(std::string& d, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        d[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// Offset of FAT entry `index` (the builder's FAT follows all other sectors).
size_t fatEntry(const std::string& file, uint32_t index)
{
    return (size_t(field32(file, 0x4C)) + 1) * 512 + size_t(index) * 4;
}

} // namespace

TEST(CompoundFile, ReadsRegularAndMiniStreamsByNameIgnoringCase)
{
    const std::string big = pattern(10000, 'a');
    const std::string small = pattern(100, 'k');
    const std::string file = compoundFile({{u"Workbook", big}, {u"\x05SummaryInformation", small}, {u"Empty", ""}});
    ASSERT_TRUE(CCompoundFile::IsCompoundFile(file));
    CCompoundFile cf;
    ASSERT_TRUE(cf.Open(file));
    std::string out;
    EXPECT_TRUE(cf.ReadStream("workBOOK", out));
    EXPECT_EQ(out, big);
    EXPECT_TRUE(cf.ReadStream(QStringLiteral("\x05summaryinformation"), out));
    EXPECT_EQ(out, small);
    EXPECT_TRUE(cf.ReadStream("Empty", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(cf.ReadStream("Book", out));
}

TEST(CompoundFile, RefusesDamagedStructures)
{
    const std::string good = compoundFile({{u"Workbook", pattern(5000, 'a')}, {u"Small", pattern(200, 'b')}});
    CCompoundFile cf;
    std::string out;

    EXPECT_FALSE(cf.Open(good.substr(0, 511)));
    EXPECT_FALSE(cf.Open(std::string(600, 'x')));
    std::string badShift = good;
    badShift[0x1E] = 20;
    EXPECT_FALSE(cf.Open(badShift));

    // A FAT chain that loops back on itself ends the read instead of hanging.
    std::string loop = good;
    setField32(loop, fatEntry(loop, 3), 0);
    ASSERT_TRUE(cf.Open(loop));
    EXPECT_FALSE(cf.ReadStream("Workbook", out));

    // A chain pointing beyond the file.
    std::string outside = good;
    setField32(outside, fatEntry(outside, 2), 100000);
    ASSERT_TRUE(cf.Open(outside));
    EXPECT_FALSE(cf.ReadStream("Workbook", out));

    // The file cut in the middle of the stream.
    EXPECT_FALSE(cf.Open(std::string_view(good).substr(0, 512 * 5)) && cf.ReadStream("Workbook", out));

    // A FAT sector count larger than the file.
    std::string manyFat = good;
    setField32(manyFat, 0x2C, 0x7FFFFFFF);
    EXPECT_FALSE(cf.Open(manyFat));

    // A stream whose size claims more than its chain holds.
    std::string longer = good;
    const size_t dir = (size_t(field32(longer, 0x30)) + 1) * 512;
    setField32(longer, dir + 128 + 120, 1u << 30);
    ASSERT_TRUE(cf.Open(longer));
    EXPECT_FALSE(cf.ReadStream("Workbook", out));

    // Sibling links that form a cycle: every entry is visited once.
    std::string cycle = good;
    setField32(cycle, dir + 128 + 72, 1);
    setField32(cycle, dir + 128 + 68, 1);
    ASSERT_TRUE(cf.Open(cycle));
    EXPECT_TRUE(cf.ReadStream("Workbook", out));
    EXPECT_FALSE(cf.ReadStream("Small", out));
}

TEST(CompoundFile, StreamViewsReadWhatReadStreamReads)
{
    const std::string good = compoundFile({{u"Workbook", pattern(5000, 'a')}, {u"Small", pattern(200, 'b')}});
    const size_t dir = (size_t(field32(good, 0x30)) + 1) * 512;
    // The stream's sectors 0..9 follow one another; chained 0, 2, 1, 3, ...
    // they are scattered.
    std::string scattered = good;
    setField32(scattered, fatEntry(scattered, 0), 2);
    setField32(scattered, fatEntry(scattered, 2), 1);
    setField32(scattered, fatEntry(scattered, 1), 3);
    std::string loop = good;
    setField32(loop, fatEntry(loop, 3), 0);
    std::string outside = good;
    setField32(outside, fatEntry(outside, 2), 100000);
    std::string longer = good;
    setField32(longer, dir + 128 + 120, 1u << 30);
    std::string beyond = good; // as long as the file: in place it would leave it
    setField32(beyond, dir + 128 + 120, uint32_t(good.size() - 512 + 1));
    const std::string cut = good.substr(0, 512 * 5);
    // Following one another but for the last sector, which is sector 10
    // (the mini stream) instead of 9.
    std::string lastApart = good;
    setField32(lastApart, fatEntry(lastApart, 8), 10);
    for (const std::string* f : std::initializer_list<const std::string*>{&good, &scattered, &loop, &outside, &longer,
                                                                          &beyond, &cut, &lastApart}) {
        const std::string& file = *f;
        CCompoundFile cf;
        if (!cf.Open(file))
            continue;
        for (const char* name : {"Workbook", "Small", "None"}) {
            SCOPED_TRACE(name);
            std::string copied, copy;
            std::string_view view;
            const bool read = cf.ReadStream(name, copied);
            ASSERT_EQ(cf.ReadStreamView(name, view, copy), read);
            if (read) {
                EXPECT_EQ(view, copied);
            }
            // Read in place exactly when the sectors follow one another.
            const bool inPlace = view.data() >= file.data() && view.data() < file.data() + file.size();
            EXPECT_EQ(inPlace, read && f == &good && std::string_view(name) == "Workbook");
        }
    }
    // Its bytes: sectors 0 to 8 of the file, then the first 392 of sector 10.
    CCompoundFile cf;
    ASSERT_TRUE(cf.Open(lastApart));
    std::string copy;
    std::string_view view;
    ASSERT_TRUE(cf.ReadStreamView("Workbook", view, copy));
    EXPECT_TRUE(view == good.substr(512, 9 * 512) + good.substr(11 * 512, 392));
}
