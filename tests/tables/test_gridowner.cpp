// The grid's owner interface: an owner that overrides nothing lets every
// notification through, and a recording owner sees them in order with the
// answers that refuse.
#include "tables/gridowner.h"
#include "tables/tableviewhost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingOwner : public CGridOwner {
public:
    std::vector<std::string> calls;
    int BeginLabelEdit(int row, int column) override
    {
        calls.push_back("begin " + std::to_string(row) + "," + std::to_string(column));
        return column == 1 ? -1 : 0; // an image column refuses the editor
    }
    int EndLabelEdit(int row, int column, const std::string& text) override
    {
        calls.push_back("end " + std::to_string(row) + "," + std::to_string(column) + " " + text);
        return 0;
    }
};

} // namespace

TEST(GridOwner, DefaultsLetEverythingThroughAndOverridesRefuse)
{
    CGridOwner plain;
    std::string text = "kept";
    EXPECT_EQ(plain.ItemChanging(1, 1), 0);
    EXPECT_EQ(plain.BeginLabelEdit(1, 1), 0);
    EXPECT_EQ(plain.EndLabelEdit(1, 1, "x"), 0);
    EXPECT_EQ(plain.GetDispInfo(1, 1, text), 0);
    EXPECT_EQ(text, "kept");

    RecordingOwner owner;
    CGridOwner& grid = owner;
    EXPECT_LT(grid.BeginLabelEdit(3, 1), 0);
    EXPECT_EQ(grid.BeginLabelEdit(3, 2), 0);
    EXPECT_EQ(grid.EndLabelEdit(3, 2, "abc"), 0);
    EXPECT_EQ(owner.calls, (std::vector<std::string>{"begin 3,1", "begin 3,2", "end 3,2 abc"}));
}
