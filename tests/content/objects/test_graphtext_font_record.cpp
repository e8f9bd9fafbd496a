// Text objects: font fields that do not fit the record keep their sign.
#include "content/objects/graphtext.h"
#include "content/objects/graphbarcode.h"

#include <gtest/gtest.h>

TEST(GraphTextFontRecord, OversizedFontFieldsSaturateInTheRecord)
{
    // A font of 49152 points (height -65536) must not come back as height 0,
    // nor a huge negative height as a positive (cell) height.
    for (int32_t height : {-65536, -40000, 40000}) {
        SCOPED_TRACE(height);
        CGraphTextExt t;
        LOGFONTA lf;
        lf.lfHeight = height;
        lf.lfWeight = 100000;
        t.SetLogFont(lf);
        RecordWriter w;
        t.Save(w);
        CGraphTextExt back;
        RecordReader r(w.data());
        ASSERT_TRUE(back.Load(r));
        LOGFONTA got;
        back.GetLogFont(got);
        EXPECT_EQ(got.lfHeight, height < 0 ? -32768 : 32767);
        EXPECT_EQ(got.lfWeight, 32767);
    }
    // Values that fit are written as they are.
    CGraphBarcode b;
    LOGFONTA lf;
    lf.lfHeight = -32768;
    lf.lfEscapement = 2700;
    b.SetLogFont(lf);
    RecordWriter w;
    b.Save(w);
    CGraphBarcode back;
    RecordReader r(w.data());
    ASSERT_TRUE(back.Load(r));
    LOGFONTA got;
    back.GetLogFont(got);
    EXPECT_EQ(got.lfHeight, -32768);
    EXPECT_EQ(got.lfEscapement, 2700);
}
