#include "shell/frame/ribbontable.h"

#include "platform/numberformat.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Kinds as short codes, for the compact expectations below.
QString code(RibbonKind kind)
{
    switch (kind) {
    case RibbonKind::Button: return "b";
    case RibbonKind::LargeButton: return "B";
    case RibbonKind::Check: return "c";
    case RibbonKind::Edit: return "e";
    case RibbonKind::Combo: return "x";
    case RibbonKind::FontCombo: return "f";
    case RibbonKind::Colour: return "o";
    case RibbonKind::Separator: return "|";
    default: return "?";
    }
}

// Each category as "panel: b806 b838 ... / panel: ...".
std::map<QString, QString> categories()
{
    std::map<QString, QString> out;
    QString current;
    for (const RibbonEntry& e : BuildRibbonTable()) {
        if (e.kind == RibbonKind::Category) {
            current = QString(e.text).remove('&');
        } else if (e.kind == RibbonKind::Panel) {
            QString& text = out[current];
            text += (text.isEmpty() ? "" : " / ") + e.text + ":";
        } else if (!current.isEmpty() && code(e.kind) != "?") {
            out[current] += " " + code(e.kind) + (e.id ? QString::number(e.id) : QString());
        }
    }
    return out;
}

TEST(RibbonTable, ElevenCategoriesInTabOrderWithModuleMarkingSixth)
{
    const QStringList names = RibbonCategoryNames();
    EXPECT_EQ(names, (QStringList{"Home", "Label", "Page", "Label info", "Table", "Module marking", "Draw",
                                  "Fine tune layout", "Edit", "Format", "Options"}));
    EXPECT_EQ(names.value(kModuleMarkingCategory), "Module marking");
}

TEST(RibbonTable, EveryElementHasItsIdAndKindInOrder)
{
    const std::map<QString, QString> c = categories();
    EXPECT_EQ(c.at("Home"),
              "Template: b806 b838 b852 / Clipboard: B57637 b57635 b57634 b57642 / View: c219 c220 x245 | b255 b254 "
              "b256 / Insert: b221 b222 b223 / Data source: b700 b701 x705 | b702 b703 b704 / Font/Text alignment: "
              "f250 x251 b230 b231 b232 b235 b236 b237 o722 / Barcode: x790 x791 x792");
    EXPECT_EQ(c.at("Label"), "Definition: b903 b241 b926 | b845 b846 b807 / Paper: x771 e798 e799 b605 b606 / Size "
                             "and shape: e772 e773 e607 b785 b786 b787 / Margins: e784 e783 / Page layout: e777 e778 / "
                             "Label spacing: e774 e775 / Printer: c813 c811 b812");
    EXPECT_EQ(c.at("Page"), "Vertical blocks: e779 e788 / Header: e814 e815 c816 e817 e818 / Footer: e819 e820 c821 "
                            "e822 e823 / Module marking: c1116 e1117");
    EXPECT_EQ(c.at("Label info"), "Marking type: c824 c825 c826 c827 c828 c1151 c829 / Printer type: c830 c832 c833 "
                                  "c835 / Family: x866 b1083 / Files: b836 b837 b935");
    EXPECT_EQ(c.at("Table"), "Import: b730 b805 b861 / Goto: b733 b737 b735 b736 b738 b734 / Edit: b741 b731 b732 "
                             "b742 b760 b761 / Sort: b762 b763 / Image: c770 b847 / Filter: c803 b804 b808 b809");
    EXPECT_EQ(c.at("Module marking"),
              "Material: e1194 c1115 / Select: b1120 b1121 / Module and multiplicator: e1086 c1118 b1123 b1087 b1088 "
              "b1089 b1090 b1109 x1110 / Marker: x1097 b1095 b1103 b1091 b1092 b1195 b1196 c1113 e1119 c1125 / "
              "Position: b1101 b1102 e1098 b1099 b1100 / Margins: e1111 e1112 / Total: e1093 e1094");
    EXPECT_EQ(c.at("Draw"), "Object: b710 b711 b712 b713 b714 / Border: x800 o720 / Background: c723 o721 / Corners: "
                            "x801 / Triangle: c802");
    EXPECT_EQ(c.at("Fine tune layout"), "Protect: c780 / Arrange: b252 b253 b228 b229 / Align: b246 b239 b248 b247 "
                                        "b240 b249 / Space evenly: b751 b752 / Position: e610 e611 e612 e613");
    EXPECT_EQ(c.at("Edit"), "Image: b226 b227 / Duplicate: b850 b851 | b782 b781 / Rotate: b224 b225 / Group: b233 "
                            "b234");
    EXPECT_EQ(c.at("Format"), "Text: c849 c877 x693 / Barcode: x796 x797 x1079 | x1069 x1071 x1073 | c793 c794 c795 / "
                              "Date: x600 e602 / Auto increment: e755 e754 e753 c756 e757 b57643 b57644");
    EXPECT_EQ(c.at("Options"), "Designer: c848 / Helplines: c258 e11259 | c257 e11260 / Engrave: c862 c863 o864 x865 "
                               "/ Table: x603 c604 / Window layout: c1122");
}

TEST(RibbonTable, MainPanelQuickAccessAndTabRow)
{
    QStringList main;
    std::vector<int> quick;
    for (const RibbonEntry& e : BuildRibbonTable()) {
        switch (e.kind) {
        case RibbonKind::AppButton: EXPECT_EQ(e.keyTips, "f"); EXPECT_EQ(e.width, 45); break;
        case RibbonKind::MainButton: main << QString::number(e.id); break;
        case RibbonKind::MainSubButton: main << "+" + QString::number(e.id); break;
        case RibbonKind::MainSeparator: main << "|"; break;
        case RibbonKind::RecentList: main << "recent"; EXPECT_EQ(e.width, 300); break;
        case RibbonKind::MainBottomButton: main << "=" + QString::number(e.id); break;
        case RibbonKind::QuickAccess: quick.push_back(e.id); break;
        case RibbonKind::StyleButton:
            EXPECT_EQ(e.itemIds, (std::vector<int>{215, 216, 217, 218}));
            EXPECT_EQ(e.items.value(1), "Office 2007 (B&lack Style)");
            break;
        case RibbonKind::HelpButton: EXPECT_EQ(e.id, 57670); EXPECT_EQ(e.keyTips, "a"); break;
        default: break;
        }
    }
    EXPECT_EQ(main.join(' '), "57600 +57600 +854 +855 57601 57603 57604 57607 +57606 259 | 57602 recent =57664 =57665");
    EXPECT_EQ(quick, (std::vector<int>{57600, 57601, 57603, 57643, 57644, 57607}));
}

TEST(RibbonTable, ListsAreFilledAndLengthsUseTheUsersSeparator)
{
    const NumberLocale saved = CurrentNumberLocale();
    SetCurrentNumberLocale(NumberLocale{','});
    std::map<int, QStringList> lists;
    for (const RibbonEntry& e : BuildRibbonTable())
        if (e.kind == RibbonKind::Combo || e.kind == RibbonKind::Colour)
            lists[e.id] = e.items;
    SetCurrentNumberLocale(saved);

    EXPECT_EQ(lists[705].size(), 52);
    EXPECT_EQ(lists[705].value(25), "Z");
    EXPECT_EQ(lists[705].value(26), "Image 1");
    EXPECT_EQ(lists[791].mid(0, 6), (QStringList{"0,2 mm", "0,3 mm", "0,4 mm", "0,6 mm", "0,8 mm", "1 mm"}));
    EXPECT_EQ(lists[800].value(1), "0,125 mm");
    EXPECT_EQ(lists[865].value(0), "0 mm");
    EXPECT_EQ(lists[796], (QStringList{"2:1", "2,5:1", "3:1"}));
    EXPECT_EQ(lists[771].front(), "Letter");
    EXPECT_EQ(lists[771].back(), "User defined");
    EXPECT_EQ(lists[1069].size(), 40);
    EXPECT_EQ(lists[693].size(), 19);
    EXPECT_EQ(lists[864].size(), 9);
    EXPECT_TRUE(lists[866].isEmpty()); // filled at start-up
}

TEST(RibbonTable, Accelerators)
{
    std::map<QString, int> keys;
    for (const Accelerator& a : AcceleratorTable())
        keys[a.keys.toString(QKeySequence::PortableText)] = a.id;
    EXPECT_EQ(keys.size(), 18u);
    EXPECT_EQ(keys["Shift+Del"], 839); // delete, not cut
    EXPECT_EQ(keys["Ctrl+X"], 57635);
    EXPECT_EQ(keys["Ctrl+Ins"], 57634);
    EXPECT_EQ(keys["Shift+Ins"], 57637);
    EXPECT_EQ(keys["Alt+Backspace"], 57643);
    EXPECT_EQ(keys["Ctrl+B"], 732);
    EXPECT_EQ(keys["Esc"], 32768);
    EXPECT_EQ(keys["Shift+F6"], 57681);
}

} // namespace
