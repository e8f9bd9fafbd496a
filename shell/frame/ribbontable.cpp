#include "shell/frame/ribbontable.h"

#include "document/label/paper.h"
#include "platform/numberformat.h"
#include "shell/frame/commandids.h"

namespace {

using K = RibbonKind;

QString mm(double value)
{
    return QString::fromLatin1(numfmt::FormatGeneral(value, 6, CurrentNumberLocale().decimalSeparator)) +
           QStringLiteral(" mm");
}

QStringList mmList(std::initializer_list<double> values)
{
    QStringList out;
    for (double v : values)
        out << mm(v);
    return out;
}

QStringList numbers(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString::number(i);
    return out;
}

QStringList columnItems()
{
    QStringList out;
    for (char c = 'A'; c <= 'Z'; ++c)
        out << QString(QLatin1Char(c));
    for (int i = 1; i <= 26; ++i)
        out << QStringLiteral("%1 %2").arg(QStringLiteral("Image")).arg(i);
    return out;
}

QStringList paperItems()
{
    QStringList out;
    for (int code = 1; code <= 43; ++code) {
        const char* name = PaperNameForCode(code);
        if (name && *name)
            out << QString::fromLatin1(name);
    }
    out << QString::fromLatin1(kUserDefinedPaperName);
    return out;
}

// Builders for the table rows.
RibbonEntry e(K kind, int id, const char* text, int width = 0, QStringList items = {})
{
    RibbonEntry r;
    r.kind = kind;
    r.id = id;
    r.text = QString::fromUtf8(text);
    r.width = width;
    r.items = std::move(items);
    return r;
}
RibbonEntry btn(int id, const char* text, int group = 0)
{
    RibbonEntry r = e(K::Button, id, text);
    r.group = group;
    return r;
}
RibbonEntry large(int id, const char* text) { return e(K::LargeButton, id, text); }
RibbonEntry chk(int id, const char* text) { return e(K::Check, id, text); }
RibbonEntry edit(int id, const char* text, int width) { return e(K::Edit, id, text, width); }
RibbonEntry combo(int id, const char* text, int width, QStringList items) { return e(K::Combo, id, text, width, items); }
RibbonEntry sep() { return e(K::Separator, 0, ""); }
RibbonEntry colour(int id, const char* text, QStringList named = {})
{
    RibbonEntry r = e(K::Colour, id, text, 0, std::move(named));
    r.extra = QStringLiteral("Other");
    return r;
}
RibbonEntry panel(const char* text, const char* keyTips = "")
{
    RibbonEntry r = e(K::Panel, 0, text);
    r.keyTips = QString::fromLatin1(keyTips);
    return r;
}
RibbonEntry category(const char* text, int small, int largeStrip)
{
    RibbonEntry r = e(K::Category, 0, text);
    r.image = small;
    r.largeImage = largeStrip;
    return r;
}
RibbonEntry main(K kind, int id, const char* text, int image = -1, const char* keyTips = "")
{
    RibbonEntry r = e(kind, id, text);
    r.image = image;
    r.keyTips = QString::fromLatin1(keyTips);
    return r;
}

void appendMainPanel(std::vector<RibbonEntry>& t)
{
    RibbonEntry app = main(K::AppButton, 0, "File", 112, "f");
    app.width = 45;
    t.push_back(app);
    t.push_back(main(K::MainButton, cmd::kFileNew, "&New", 0));
    t.push_back(main(K::MainSubLabel, 0, "Create a new project"));
    t.push_back(main(K::MainSubButton, cmd::kFileNew, "Project"));
    t.push_back(main(K::MainSubLabel, 0, "Add to project"));
    t.push_back(main(K::MainSubButton, 854, "Template"));
    t.push_back(main(K::MainSubButton, 855, "Table"));
    t.push_back(main(K::MainButton, cmd::kFileOpen, "&Open...", 1));
    t.push_back(main(K::MainButton, cmd::kFileSave, "&Save", 2));
    t.push_back(main(K::MainButton, cmd::kFileSaveAs, "Save &As...", 3));
    t.push_back(main(K::MainButton, cmd::kFilePrint, "Print", 6, "pw"));
    t.push_back(main(K::MainSubButton, cmd::kFilePrintSetup, "Print Set&up", 11));
    t.push_back(main(K::MainButton, 259, "Send to", 5));
    t.push_back(main(K::MainSeparator, 0, ""));
    t.push_back(main(K::MainButton, cmd::kFileClose, "&Close", 9));
    RibbonEntry recent = main(K::RecentList, 0, "Recent Documents");
    recent.width = 300;
    t.push_back(recent);
    t.push_back(main(K::MainBottomButton, cmd::kAppAbout, "About Vorteplan Software"));
    t.push_back(main(K::MainBottomButton, cmd::kAppExit, "E&xit", 15));
}

void appendHome(std::vector<RibbonEntry>& t)
{
    t.push_back(category("&Home", 311, 111));
    t.push_back(panel("Template"));
    t.insert(t.end(), {btn(806, "Select label"), btn(838, "Guide"), btn(852, "Import")});
    t.push_back(panel("Clipboard", "d"));
    t.insert(t.end(), {large(cmd::kEditPaste, "Paste"), btn(cmd::kEditCut, "Cut"), btn(cmd::kEditCopy, "Copy"),
                       btn(cmd::kEditSelectAll, "Select All")});
    t.push_back(panel("View"));
    t.insert(t.end(), {chk(219, "Field codes"), chk(220, "Field contours"),
                       combo(245, "Zoom", 50, {"50 %", "100 %", "200 %", "400 %"}), sep(), btn(255, "Header"),
                       btn(254, "Label"), btn(256, "Footer")});
    t.push_back(panel("Insert"));
    t.insert(t.end(), {btn(221, "Text"), btn(222, "Barcode"), btn(223, "Image")});
    t.push_back(panel("Data source"));
    t.insert(t.end(), {btn(700, "Constant"), btn(701, "Table"), combo(705, "Column", 50, columnItems()), sep(),
                       btn(702, "Date"), btn(703, "Time"), btn(704, "Auto increment")});
    t.push_back(panel("Font/Text alignment"));
    t.push_back(e(K::FontCombo, 250, ""));
    t.push_back(combo(251, "Size", 30, {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28",
                                        "36", "48", "72"}));
    t.insert(t.end(), {btn(230, "Bold", 1), btn(231, "Italic", 1), btn(232, "Underline", 1), btn(235, "Left", 2),
                       btn(236, "Center", 2), btn(237, "Right", 2), colour(722, "Color")});
    t.push_back(panel("Barcode"));
    t.push_back(combo(790, "Symbol", 80, {"2/5 Interleaved", "Code 128", "Code 39", "EAN 128", "EAN 13", "EAN 8",
                                          QString::fromUtf8("QR Code\u00AE"), "UPCA"}));
    QStringList module = mmList({0.2, 0.3, 0.4, 0.6, 0.8, 1});
    module << "80 %" << "100 %" << "120 %" << "150 %" << "200 %";
    t.push_back(combo(791, "Module", 80, module));
    t.push_back(combo(792, "Height", 80, {mm(5), mm(6), mm(8), mm(10), mm(12), mm(15), mm(20), "50 %", "60 %",
                                          "70 %", "80 %", "90 %", "95 %", "100 %"}));
}

void appendLabel(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Label", 115, 114));
    t.push_back(panel("Definition"));
    t.insert(t.end(), {btn(903, "&New"), btn(241, "Load"), btn(926, "Import"), sep(), btn(845, "Save label"),
                       btn(846, "Save label as..."), btn(807, "Delete")});
    t.push_back(panel("Paper"));
    t.insert(t.end(), {combo(771, "Size", 70, paperItems()), edit(798, "Width", 70), edit(799, "Height", 70),
                       btn(605, "Portrait"), btn(606, "Landscape")});
    t.push_back(panel("Size and shape"));
    t.insert(t.end(), {edit(772, "Width", 60), edit(773, "Height", 60), edit(607, "Radius", 60),
                       btn(785, "Rectangular"), btn(786, "Rounded corners"), btn(787, "Elliptical")});
    t.push_back(panel("Margins"));
    t.insert(t.end(), {edit(784, "Top :", 60), edit(783, "Left :", 60)});
    t.push_back(panel("Page layout"));
    t.insert(t.end(), {edit(777, "Rows :", 50), edit(778, "Cols   :", 50)});
    t.push_back(panel("Label spacing"));
    t.insert(t.end(), {edit(774, "Hor :", 60), edit(775, "Ver :", 60)});
    t.push_back(panel("Printer"));
    t.insert(t.end(), {chk(813, "Select device"), chk(811, "Store setting"), btn(812, "Setup")});
}

void appendPage(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Page", 110, 111));
    t.push_back(panel("Vertical blocks"));
    t.insert(t.end(), {edit(779, "Count :", 60), edit(788, "Space : ", 60)});
    t.push_back(panel("Header"));
    t.insert(t.end(), {edit(814, "Width", 70), edit(815, "Height", 70), chk(816, "Enable"),
                       edit(817, "From top :", 70), edit(818, "From left :", 70)});
    t.push_back(panel("Footer"));
    t.insert(t.end(), {edit(819, "Width", 70), edit(820, "Height", 70), chk(821, "Enable"),
                       edit(822, "From top :", 70), edit(823, "From left :", 70)});
    t.push_back(panel("Module marking"));
    t.insert(t.end(), {chk(1116, "Enable"), edit(1117, "Width :", 70)});
}

void appendLabelInfo(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Label info", 110, 111));
    t.push_back(panel("Marking type"));
    t.insert(t.end(), {chk(824, "Wire"), chk(825, "Cable"), chk(826, "Component"), chk(827, "Terminal block"),
                       chk(828, "PLC"), chk(1151, "Module"), chk(829, "Other")});
    t.push_back(panel("Printer type"));
    t.insert(t.end(), {chk(830, "Laser"), chk(832, "Thermo"), chk(833, "Thermal transfer"), chk(835, "Other")});
    t.push_back(panel("Family"));
    t.insert(t.end(), {combo(cmd::kFamilyCombo, "Name", 200, {}), btn(1083, "Enter article number")});
    t.push_back(panel("Files"));
    t.insert(t.end(), {btn(836, "Image"), btn(837, "Info"), btn(935, "Delete")});
}

void appendTable(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Table", 314, 111));
    t.push_back(panel("Import"));
    t.insert(t.end(), {btn(730, "Table"), btn(805, "Text file"), btn(861, "Excel file")});
    t.push_back(panel("Goto"));
    t.insert(t.end(), {btn(733, "First row"), btn(737, "Previous page"), btn(735, "Previous row"),
                       btn(736, "Next row"), btn(738, "Next page"), btn(734, "Last row")});
    t.push_back(panel("Edit"));
    t.insert(t.end(), {btn(741, "Repeat"), btn(731, "Sequence"), btn(732, "Find"), btn(742, "Replace"),
                       btn(760, "Insert row"), btn(761, "Insert column")});
    t.push_back(panel("Sort"));
    t.insert(t.end(), {btn(762, "Ascending"), btn(763, "Descending")});
    t.push_back(panel("Image"));
    t.insert(t.end(), {chk(770, "Image column"), btn(847, "Link image")});
    t.push_back(panel("Filter"));
    t.insert(t.end(), {chk(803, "Enable"), btn(804, "Setup"), btn(808, "Load"), btn(809, "Store")});
}

void appendModuleMarking(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Module marking", 314, 111));
    t.push_back(panel("Material"));
    t.insert(t.end(), {edit(1194, "Length :", 70), chk(1115, "Fixed length")});
    t.push_back(panel("Select"));
    t.insert(t.end(), {btn(1120, "Modules"), btn(1121, "Objects")});
    t.push_back(panel("Module and multiplicator"));
    t.insert(t.end(), {edit(1086, "Length :", 70), chk(1118, "Use preset"), btn(1123, "Update marker"),
                       btn(1087, " x 1 "), btn(1088, " x 2 "), btn(1089, " x 3 "), btn(1090, " x 4 "),
                       btn(1109, " x 5 "), combo(1110, "x", 30, numbers(1, 10))});
    t.push_back(panel("Marker"));
    t.insert(t.end(), {combo(1097, "Count :", 30, {}), btn(1095, "Add"), btn(1103, "Insert"), btn(1091, "Delete"),
                       btn(1092, "Delete all"), btn(1195, "Join"), btn(1196, "Split"), chk(1113, "Skip"),
                       edit(1119, "Adjustment :", 70), chk(1125, "Draw borders")});
    t.push_back(panel("Position"));
    t.insert(t.end(), {btn(1101, "First"), btn(1102, "Last"), edit(1098, "Marker :", 35), btn(1099, "Previous"),
                       btn(1100, "Next")});
    t.push_back(panel("Margins"));
    t.insert(t.end(), {edit(1111, "Left  :", 70), edit(1112, "Right:", 70)});
    t.push_back(panel("Total"));
    t.insert(t.end(), {edit(1093, "Modules :", 50), edit(1094, "Markers  :", 50)});
}

void appendDraw(std::vector<RibbonEntry>& t)
{
    const std::initializer_list<double> widths = {0.1, 0.125, 0.25, 0.5, 1, 1.25, 2.5, 5};
    t.push_back(category("Draw", 315, 111));
    t.push_back(panel("Object"));
    t.insert(t.end(), {btn(710, "Line"), btn(711, "Rectangle"), btn(712, "Rounded rectangle"),
                       btn(713, "Triangle"), btn(714, "Ellipse")});
    t.push_back(panel("Border"));
    t.insert(t.end(), {combo(800, "Line width", 80, mmList(widths)), colour(720, "Border color")});
    t.push_back(panel("Background"));
    t.insert(t.end(), {chk(723, "Transparent"), colour(721, "Fill color")});
    t.push_back(panel("Corners"));
    t.push_back(combo(801, "Radius", 80, mmList(widths)));
    t.push_back(panel("Triangle"));
    t.push_back(chk(802, "Warning sign"));
}

void appendFineTune(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Fine tune layout", 310, 111));
    t.push_back(panel("Protect"));
    t.push_back(chk(780, "Lock"));
    t.push_back(panel("Arrange"));
    t.insert(t.end(), {btn(252, "Bring to front"), btn(253, "Send to back"), btn(228, "Bring forward"),
                       btn(229, "Send backward")});
    t.push_back(panel("Align"));
    t.insert(t.end(), {btn(246, "Left"), btn(239, "Horizontal"), btn(248, "Right"), btn(247, "Top"),
                       btn(240, "Vertical"), btn(249, "Bottom")});
    t.push_back(panel("Space evenly"));
    t.insert(t.end(), {btn(751, "Horizontal"), btn(752, "Vertical")});
    t.push_back(panel("Position"));
    t.insert(t.end(), {edit(610, "X:", 0), edit(611, "Y:", 0), edit(612, "Width :", 0), edit(613, "Height:", 0)});
}

void appendEdit(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Edit", 310, 111));
    t.push_back(panel("Image"));
    t.insert(t.end(), {btn(226, "Import"), btn(227, "Reset")});
    t.push_back(panel("Duplicate"));
    t.insert(t.end(), {btn(850, "Above"), btn(851, "Left"), sep(), btn(782, "Right"), btn(781, "Below")});
    t.push_back(panel("Rotate"));
    t.insert(t.end(), {btn(224, "Left"), btn(225, "Right")});
    t.push_back(panel("Group"));
    t.insert(t.end(), {btn(233, "Combine objects"), btn(234, "Split")});
}

void appendFormat(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Format", 110, 111));
    t.push_back(panel("Text"));
    t.insert(t.end(), {chk(849, "Auto size"), chk(877, "Center vertical"),
                       combo(693, "Character set", 120,
                             {"English", "Default", "Symbol", "Macintosh", "Japanese", "Korean (Hangul)",
                              "Korean (Johab)", "Simplified Chinese", "Traditional Chinese", "Greek", "Turkish",
                              "Vietnamese", "Hebrew", "Arabic", "Baltic", "Cyrillic", "Thai", "Eastern European",
                              "OEM"})});
    t.push_back(panel("Barcode"));
    const QString ratio = QString::fromLatin1(numfmt::FormatGeneral(2.5, 6, CurrentNumberLocale().decimalSeparator)) +
                          QStringLiteral(":1");
    t.insert(t.end(), {combo(796, "Ratio        :", 50, {"2:1", ratio, "3:1"}),
                       combo(797, "Compens.:", 50, {"-1", "0", "1", "2"}), combo(1079, "QR margin:", 50, {"4", "5", "6"}),
                       sep(), combo(1069, "QR version", 50, numbers(1, 40)),
                       combo(1071, "ECC level", 50, {"L", "M", "Q", "H"}),
                       combo(1073, "QR encodning", 50, {"8-bit data", "Kanji"}), sep(), chk(793, "Add check digit"),
                       chk(794, "Show Human readable"), chk(795, "Show HR check digit")});
    t.push_back(panel("Date"));
    t.insert(t.end(), {combo(600, "Format", 80, {"Short", "Year (YY)", "Month (MM)", "Day (DD)", "Week number"}),
                       edit(602, "Offset ( days )", 50)});
    t.push_back(panel("Auto increment"));
    t.insert(t.end(), {edit(755, "Prefix: ", 0), edit(754, "Value : ", 0), edit(753, "Suffix: ", 0),
                       chk(756, "Leading zero"), edit(757, "Min digits: ", 0), btn(cmd::kEditUndo, "Undo"),
                       btn(cmd::kEditRedo, "Redo")});
}

void appendOptions(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Options", 115, 114));
    t.push_back(panel("Designer"));
    t.push_back(chk(848, "Show rulers"));
    t.push_back(panel("Helplines"));
    t.insert(t.end(), {chk(258, "Horizontal"), edit(11259, "", 50), sep(), chk(257, "Vertical"), edit(11260, "", 50)});
    t.push_back(panel("Engrave"));
    t.insert(t.end(), {chk(862, "Draw label borders"), chk(863, "Pause between pages"),
                       colour(864, "Border color",
                              {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "#ff6600", "white"}),
                       combo(865, "Line width", 80, mmList({0, 0.1, 0.15, 0.25, 0.5, 1, 1.5, 2.5, 5}))});
    t.push_back(panel("Table"));
    t.insert(t.end(), {combo(603, "Delimiter", 80, {"None", "Space", "Line break"}),
                       chk(604, "Separate blank fields")});
    t.push_back(panel("Window layout"));
    t.push_back(chk(1122, "Show windows stacked"));
}

void appendOutside(std::vector<RibbonEntry>& t)
{
    RibbonEntry style = e(K::StyleButton, 0, "Style");
    style.items = {"Office 2007 (&Blue Style)", "Office 2007 (B&lack Style)", "Office 2007 (&Silver Style)",
                   "Office 2007 (&Aqua Style)"};
    style.itemIds = {cmd::kLookOffice2007Blue, cmd::kLookOffice2007Black, cmd::kLookOffice2007Silver,
                     cmd::kLookOffice2007Aqua};
    style.extra = QStringLiteral("Modify Visual Style");
    style.toolTip = QStringLiteral("Choose one of the Office 2007 themes");
    t.push_back(style);
    for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kEditUndo, cmd::kEditRedo, cmd::kFilePrint})
        t.push_back(e(K::QuickAccess, id, ""));
    RibbonEntry help = e(K::HelpButton, cmd::kHelp, "Help");
    help.keyTips = QStringLiteral("a");
    t.push_back(help);
}

} // namespace

std::vector<RibbonEntry> BuildRibbonTable()
{
    std::vector<RibbonEntry> t;
    t.reserve(420);
    appendMainPanel(t);
    appendHome(t);
    appendLabel(t);
    appendPage(t);
    appendLabelInfo(t);
    appendTable(t);
    appendModuleMarking(t);
    appendDraw(t);
    appendFineTune(t);
    appendEdit(t);
    appendFormat(t);
    appendOptions(t);
    appendOutside(t);
    return t;
}

QStringList RibbonCategoryNames()
{
    QStringList out;
    for (const RibbonEntry& entry : BuildRibbonTable())
        if (entry.kind == RibbonKind::Category)
            out << QString(entry.text).remove(QLatin1Char('&'));
    return out;
}

std::vector<Accelerator> AcceleratorTable()
{
    using Q = QKeySequence;
    return {
        {Q(Qt::Key_Escape), cmd::kEscape},
        {Q(Qt::CTRL | Qt::Key_C), cmd::kEditCopy},
        {Q(Qt::CTRL | Qt::Key_Insert), cmd::kEditCopy},
        {Q(Qt::CTRL | Qt::Key_X), cmd::kEditCut},
        {Q(Qt::SHIFT | Qt::Key_Delete), 839},
        {Q(Qt::CTRL | Qt::Key_V), cmd::kEditPaste},
        {Q(Qt::SHIFT | Qt::Key_Insert), cmd::kEditPaste},
        {Q(Qt::CTRL | Qt::Key_Z), cmd::kEditUndo},
        {Q(Qt::ALT | Qt::Key_Backspace), cmd::kEditUndo},
        {Q(Qt::CTRL | Qt::Key_Y), cmd::kEditRedo},
        {Q(Qt::CTRL | Qt::Key_N), cmd::kFileNew},
        {Q(Qt::CTRL | Qt::Key_O), cmd::kFileOpen},
        {Q(Qt::CTRL | Qt::Key_S), cmd::kFileSave},
        {Q(Qt::CTRL | Qt::Key_P), cmd::kFilePrint},
        {Q(Qt::Key_F6), cmd::kNextPane},
        {Q(Qt::SHIFT | Qt::Key_F6), cmd::kPrevPane},
        {Q(Qt::CTRL | Qt::Key_A), cmd::kEditSelectAll},
        {Q(Qt::CTRL | Qt::Key_B), 732},
    };
}
