#include "shell/frame/ribbontable.h"

#include "document/label/paper.h"
#include "platform/commandids.h"
#include "platform/numberformat.h"
#include "resources/version.h"

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
    t.push_back(main(K::MainSubButton, cmd::kAddTemplate, "Template"));
    t.push_back(main(K::MainSubButton, cmd::kAddTable, "Table"));
    t.push_back(main(K::MainButton, cmd::kFileOpen, "&Open...", 1));
    t.push_back(main(K::MainButton, cmd::kFileSave, "&Save", 2));
    t.push_back(main(K::MainButton, cmd::kFileSaveAs, "Save &As...", 3));
    t.push_back(main(K::MainButton, cmd::kFilePrint, "Print", 6, "pw"));
    t.push_back(main(K::MainSubButton, cmd::kFilePrintSetup, "Print Set&up", 11));
    t.push_back(main(K::MainButton, cmd::kSendTo, "Send to", 5));
    t.push_back(main(K::MainSeparator, 0, ""));
    t.push_back(main(K::MainButton, cmd::kFileClose, "&Close", 9));
    RibbonEntry recent = main(K::RecentList, 0, "Recent Documents");
    recent.width = 300;
    t.push_back(recent);
    RibbonEntry about = main(K::MainBottomButton, cmd::kAppAbout, "About ");
    about.text += QLatin1String(appversion::kProductName);
    t.push_back(about);
    t.push_back(main(K::MainBottomButton, cmd::kAppExit, "E&xit", 15));
}

void appendHome(std::vector<RibbonEntry>& t)
{
    t.push_back(category("&Home", 311, 111));
    t.push_back(panel("Template"));
    t.insert(t.end(), {btn(cmd::kSelectLabel, "Select label"), btn(cmd::kGuide, "Guide"),
                       btn(cmd::kImportTemplate, "Import")});
    t.push_back(panel("Clipboard", "d"));
    t.insert(t.end(), {large(cmd::kEditPaste, "Paste"), btn(cmd::kEditCut, "Cut"), btn(cmd::kEditCopy, "Copy"),
                       btn(cmd::kEditSelectAll, "Select All")});
    t.push_back(panel("View"));
    t.insert(t.end(), {chk(cmd::kFieldCodes, "Field codes"), chk(cmd::kFieldContours, "Field contours"),
                       combo(cmd::kZoomBox, "Zoom", 50, {"50 %", "100 %", "200 %", "400 %"}), sep(),
                       btn(cmd::kShowHeader, "Header"),
                       btn(cmd::kShowLabel, "Label"), btn(cmd::kShowFooter, "Footer")});
    t.push_back(panel("Insert"));
    t.insert(t.end(), {btn(cmd::kInsertText, "Text"), btn(cmd::kInsertBarcode, "Barcode"),
                       btn(cmd::kInsertImage, "Image")});
    t.push_back(panel("Data source"));
    t.insert(t.end(), {btn(cmd::kSourceConstant, "Constant"), btn(cmd::kSourceTable, "Table"),
                       combo(cmd::kColumnBox, "Column", 50, columnItems()), sep(),
                       btn(cmd::kSourceDate, "Date"), btn(cmd::kSourceTime, "Time"),
                       btn(cmd::kSourceAutoIncrement, "Auto increment")});
    t.push_back(panel("Font/Text alignment"));
    t.push_back(e(K::FontCombo, cmd::kTypefaceBox, ""));
    t.push_back(combo(cmd::kFontSizeBox, "Size", 30,
                      {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"}));
    t.insert(t.end(), {btn(cmd::kBold, "Bold", 1), btn(cmd::kItalic, "Italic", 1),
                       btn(cmd::kUnderline, "Underline", 1), btn(cmd::kTextAlignLeft, "Left", 2),
                       btn(cmd::kTextAlignCenter, "Center", 2), btn(cmd::kTextAlignRight, "Right", 2),
                       colour(cmd::kTextColour, "Color")});
    t.push_back(panel("Barcode"));
    t.push_back(combo(cmd::kBarcodeSymbolBox, "Symbol", 80,
                      {"2/5 Interleaved", "Code 128", "Code 39", "EAN 128", "EAN 13", "EAN 8",
                       QString::fromUtf8("QR Code\u00AE"), "UPCA"}));
    QStringList module = mmList({0.2, 0.3, 0.4, 0.6, 0.8, 1});
    module << "80 %" << "100 %" << "120 %" << "150 %" << "200 %";
    t.push_back(combo(cmd::kBarcodeModuleBox, "Module", 80, module));
    t.push_back(combo(cmd::kBarcodeHeightBox, "Height", 80,
                      {mm(5), mm(6), mm(8), mm(10), mm(12), mm(15), mm(20), "50 %", "60 %", "70 %", "80 %", "90 %",
                       "95 %", "100 %"}));
}

void appendLabel(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Label", 115, 114));
    t.push_back(panel("Definition"));
    t.insert(t.end(), {btn(cmd::kNewLabel, "&New"), btn(cmd::kLoadLabel, "Load"),
                       btn(cmd::kImportLabelFiles, "Import"), sep(), btn(cmd::kSaveLabel, "Save label"),
                       btn(cmd::kSaveLabelAs, "Save label as..."), btn(cmd::kDeleteLabel, "Delete")});
    t.push_back(panel("Paper"));
    t.insert(t.end(), {combo(cmd::kPaperSizeBox, "Size", 70, paperItems()), edit(cmd::kPaperWidth, "Width", 70),
                       edit(cmd::kPaperHeight, "Height", 70),
                       btn(cmd::kPortrait, "Portrait"), btn(cmd::kLandscape, "Landscape")});
    t.push_back(panel("Size and shape"));
    t.insert(t.end(), {edit(cmd::kLabelWidth, "Width", 60), edit(cmd::kLabelHeight, "Height", 60),
                       edit(cmd::kLabelRadius, "Radius", 60),
                       btn(cmd::kShapeRectangular, "Rectangular"), btn(cmd::kShapeRounded, "Rounded corners"),
                       btn(cmd::kShapeElliptical, "Elliptical")});
    t.push_back(panel("Margins"));
    t.insert(t.end(), {edit(cmd::kMarginTop, "Top :", 60), edit(cmd::kMarginLeft, "Left :", 60)});
    t.push_back(panel("Page layout"));
    t.insert(t.end(), {edit(cmd::kRows, "Rows :", 50), edit(cmd::kColumns, "Cols   :", 50)});
    t.push_back(panel("Label spacing"));
    t.insert(t.end(), {edit(cmd::kPitchHorizontal, "Hor :", 60), edit(cmd::kPitchVertical, "Ver :", 60)});
    t.push_back(panel("Printer"));
    t.insert(t.end(), {chk(cmd::kStorePrinter, "Select device"), chk(cmd::kStorePrinterSettings, "Store setting"),
                       btn(cmd::kLabelPrinterSetup, "Setup")});
}

void appendPage(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Page", 110, 111));
    t.push_back(panel("Vertical blocks"));
    t.insert(t.end(), {edit(cmd::kBlockCount, "Count :", 60), edit(cmd::kBlockSpace, "Space : ", 60)});
    t.push_back(panel("Header"));
    t.insert(t.end(), {edit(cmd::kHeaderWidth, "Width", 70), edit(cmd::kHeaderHeight, "Height", 70),
                       chk(cmd::kHeaderEnable, "Enable"),
                       edit(cmd::kHeaderTop, "From top :", 70), edit(cmd::kHeaderLeft, "From left :", 70)});
    t.push_back(panel("Footer"));
    t.insert(t.end(), {edit(cmd::kFooterWidth, "Width", 70), edit(cmd::kFooterHeight, "Height", 70),
                       chk(cmd::kFooterEnable, "Enable"),
                       edit(cmd::kFooterTop, "From top :", 70), edit(cmd::kFooterLeft, "From left :", 70)});
    t.push_back(panel("Module marking"));
    t.insert(t.end(), {chk(cmd::kMarkingEnable, "Enable"), edit(cmd::kStripWidth, "Width :", 70)});
}

void appendLabelInfo(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Label info", 110, 111));
    t.push_back(panel("Marking type"));
    t.insert(t.end(), {chk(cmd::kMarkingWire, "Wire"), chk(cmd::kMarkingCable, "Cable"),
                       chk(cmd::kMarkingComponent, "Component"), chk(cmd::kMarkingTerminalBlock, "Terminal block"),
                       chk(cmd::kMarkingPlc, "PLC"), chk(cmd::kMarkingModule, "Module"),
                       chk(cmd::kMarkingOther, "Other")});
    t.push_back(panel("Printer type"));
    t.insert(t.end(), {chk(cmd::kPrinterLaser, "Laser"), chk(cmd::kPrinterThermo, "Thermo"),
                       chk(cmd::kPrinterThermalTransfer, "Thermal transfer"), chk(cmd::kPrinterOther, "Other")});
    t.push_back(panel("Family"));
    t.insert(t.end(), {combo(cmd::kFamilyBox, "Name", 200, {}), btn(cmd::kArticleNumbers, "Enter article number")});
    t.push_back(panel("Files"));
    t.insert(t.end(), {btn(cmd::kLabelImageFile, "Image"), btn(cmd::kLabelInfoFile, "Info"),
                       btn(cmd::kDeleteLabelFiles, "Delete")});
}

void appendTable(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Table", 314, 111));
    t.push_back(panel("Import"));
    t.insert(t.end(), {btn(cmd::kImportTable, "Table"), btn(cmd::kImportText, "Text file"),
                       btn(cmd::kImportExcel, "Excel file")});
    t.push_back(panel("Goto"));
    t.insert(t.end(), {btn(cmd::kFirstRow, "First row"), btn(cmd::kPreviousPage, "Previous page"),
                       btn(cmd::kPreviousRow, "Previous row"),
                       btn(cmd::kNextRow, "Next row"), btn(cmd::kNextPage, "Next page"),
                       btn(cmd::kLastRow, "Last row")});
    t.push_back(panel("Edit"));
    t.insert(t.end(), {btn(cmd::kRepeat, "Repeat"), btn(cmd::kSequence, "Sequence"), btn(cmd::kFind, "Find"),
                       btn(cmd::kReplace, "Replace"),
                       btn(cmd::kInsertRow, "Insert row"), btn(cmd::kInsertColumn, "Insert column")});
    t.push_back(panel("Sort"));
    t.insert(t.end(), {btn(cmd::kSortAscending, "Ascending"), btn(cmd::kSortDescending, "Descending")});
    t.push_back(panel("Image"));
    t.insert(t.end(), {chk(cmd::kImageColumn, "Image column"), btn(cmd::kLinkImage, "Link image")});
    t.push_back(panel("Filter"));
    t.insert(t.end(), {chk(cmd::kFilterEnable, "Enable"), btn(cmd::kFilterSetup, "Setup"),
                       btn(cmd::kFilterLoad, "Load"), btn(cmd::kFilterStore, "Store")});
}

void appendModuleMarking(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Module marking", 314, 111));
    t.push_back(panel("Material"));
    t.insert(t.end(), {edit(cmd::kMaterialLength, "Length :", 70), chk(cmd::kFixedLength, "Fixed length")});
    t.push_back(panel("Select"));
    t.insert(t.end(), {btn(cmd::kSelectModules, "Modules"), btn(cmd::kSelectObjects, "Objects")});
    t.push_back(panel("Module and multiplicator"));
    t.insert(t.end(), {edit(cmd::kModuleLength, "Length :", 70), chk(cmd::kUsePreset, "Use preset"),
                       btn(cmd::kUpdateMarker, "Update marker"),
                       btn(cmd::kMultiply1, " x 1 "), btn(cmd::kMultiply2, " x 2 "), btn(cmd::kMultiply3, " x 3 "),
                       btn(cmd::kMultiply4, " x 4 "),
                       btn(cmd::kMultiply5, " x 5 "), combo(cmd::kMultiplierBox, "x", 30, numbers(1, 10))});
    t.push_back(panel("Marker"));
    t.insert(t.end(), {combo(cmd::kModulesToAddBox, "Count :", 30, {}), btn(cmd::kAddMarker, "Add"),
                       btn(cmd::kInsertMarker, "Insert"), btn(cmd::kDeleteMarker, "Delete"),
                       btn(cmd::kDeleteAllMarkers, "Delete all"), btn(cmd::kJoinMarker, "Join"),
                       btn(cmd::kSplitMarker, "Split"), chk(cmd::kSkipMarker, "Skip"),
                       edit(cmd::kModuleGap, "Adjustment :", 70), chk(cmd::kMarkerBorders, "Draw borders")});
    t.push_back(panel("Position"));
    t.insert(t.end(), {btn(cmd::kFirstMarker, "First"), btn(cmd::kLastMarker, "Last"),
                       edit(cmd::kGotoMarker, "Marker :", 35), btn(cmd::kPreviousMarker, "Previous"),
                       btn(cmd::kNextMarker, "Next")});
    t.push_back(panel("Margins"));
    t.insert(t.end(), {edit(cmd::kMarkingLeftMargin, "Left  :", 70), edit(cmd::kMarkingRightMargin, "Right:", 70)});
    t.push_back(panel("Total"));
    t.insert(t.end(), {edit(cmd::kModuleTotal, "Modules :", 50), edit(cmd::kMarkerTotal, "Markers  :", 50)});
}

void appendDraw(std::vector<RibbonEntry>& t)
{
    const std::initializer_list<double> widths = {0.1, 0.125, 0.25, 0.5, 1, 1.25, 2.5, 5};
    t.push_back(category("Draw", 315, 111));
    t.push_back(panel("Object"));
    t.insert(t.end(), {btn(cmd::kInsertLine, "Line"), btn(cmd::kInsertRectangle, "Rectangle"),
                       btn(cmd::kInsertRoundedRectangle, "Rounded rectangle"),
                       btn(cmd::kInsertTriangle, "Triangle"), btn(cmd::kInsertEllipse, "Ellipse")});
    t.push_back(panel("Border"));
    t.insert(t.end(), {combo(cmd::kLineWidthBox, "Line width", 80, mmList(widths)),
                       colour(cmd::kBorderColour, "Border color")});
    t.push_back(panel("Background"));
    t.insert(t.end(), {chk(cmd::kTransparent, "Transparent"), colour(cmd::kFillColour, "Fill color")});
    t.push_back(panel("Corners"));
    t.push_back(combo(cmd::kCornerRadiusBox, "Radius", 80, mmList(widths)));
    t.push_back(panel("Triangle"));
    t.push_back(chk(cmd::kWarningSign, "Warning sign"));
}

void appendFineTune(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Fine tune layout", 310, 111));
    t.push_back(panel("Protect"));
    t.push_back(chk(cmd::kLock, "Lock"));
    t.push_back(panel("Arrange"));
    t.insert(t.end(), {btn(cmd::kBringToFront, "Bring to front"), btn(cmd::kSendToBack, "Send to back"),
                       btn(cmd::kBringForward, "Bring forward"),
                       btn(cmd::kSendBackward, "Send backward")});
    t.push_back(panel("Align"));
    t.insert(t.end(), {btn(cmd::kAlignLeft, "Left"), btn(cmd::kCenterHorizontal, "Horizontal"),
                       btn(cmd::kAlignRight, "Right"), btn(cmd::kAlignTop, "Top"),
                       btn(cmd::kCenterVertical, "Vertical"), btn(cmd::kAlignBottom, "Bottom")});
    t.push_back(panel("Space evenly"));
    t.insert(t.end(), {btn(cmd::kSpaceHorizontal, "Horizontal"), btn(cmd::kSpaceVertical, "Vertical")});
    t.push_back(panel("Position"));
    t.insert(t.end(), {edit(cmd::kSelectionX, "X:", 0), edit(cmd::kSelectionY, "Y:", 0),
                       edit(cmd::kSelectionWidth, "Width :", 0), edit(cmd::kSelectionHeight, "Height:", 0)});
}

void appendEdit(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Edit", 310, 111));
    t.push_back(panel("Image"));
    t.insert(t.end(), {btn(cmd::kImportImage, "Import"), btn(cmd::kResetImage, "Reset")});
    t.push_back(panel("Duplicate"));
    t.insert(t.end(), {btn(cmd::kDuplicateAbove, "Above"), btn(cmd::kDuplicateLeft, "Left"), sep(),
                       btn(cmd::kDuplicateRight, "Right"), btn(cmd::kDuplicateBelow, "Below")});
    t.push_back(panel("Rotate"));
    t.insert(t.end(), {btn(cmd::kRotateLeft, "Left"), btn(cmd::kRotateRight, "Right")});
    t.push_back(panel("Group"));
    t.insert(t.end(), {btn(cmd::kCombine, "Combine objects"), btn(cmd::kSplit, "Split")});
}

void appendFormat(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Format", 110, 111));
    t.push_back(panel("Text"));
    t.insert(t.end(), {chk(cmd::kAutoSize, "Auto size"), chk(cmd::kCenterTextVertical, "Center vertical"),
                       combo(cmd::kCharSetBox, "Character set", 120,
                             {"English", "Default", "Symbol", "Macintosh", "Japanese", "Korean (Hangul)",
                              "Korean (Johab)", "Simplified Chinese", "Traditional Chinese", "Greek", "Turkish",
                              "Vietnamese", "Hebrew", "Arabic", "Baltic", "Cyrillic", "Thai", "Eastern European",
                              "OEM"})});
    t.push_back(panel("Barcode"));
    const QString ratio = QString::fromLatin1(numfmt::FormatGeneral(2.5, 6, CurrentNumberLocale().decimalSeparator)) +
                          QStringLiteral(":1");
    t.insert(t.end(), {combo(cmd::kBarcodeRatioBox, "Ratio        :", 50, {"2:1", ratio, "3:1"}),
                       combo(cmd::kBarcodeCompensationBox, "Compens.:", 50, {"-1", "0", "1", "2"}),
                       combo(cmd::kQrMarginBox, "QR margin:", 50, {"4", "5", "6"}),
                       sep(), combo(cmd::kQrVersionBox, "QR version", 50, numbers(1, 40)),
                       combo(cmd::kQrEccLevelBox, "ECC level", 50, {"L", "M", "Q", "H"}),
                       combo(cmd::kQrEncodingBox, "QR encodning", 50, {"8-bit data", "Kanji"}), sep(),
                       chk(cmd::kCheckDigit, "Add check digit"),
                       chk(cmd::kHumanReadable, "Show Human readable"),
                       chk(cmd::kHrCheckDigit, "Show HR check digit")});
    t.push_back(panel("Date"));
    t.insert(t.end(), {combo(cmd::kDateFormatBox, "Format", 80,
                             {"Short", "Year (YY)", "Month (MM)", "Day (DD)", "Week number"}),
                       edit(cmd::kDateOffset, "Offset ( days )", 50)});
    t.push_back(panel("Auto increment"));
    t.insert(t.end(), {edit(cmd::kCounterPrefix, "Prefix: ", 0), edit(cmd::kCounterStart, "Value : ", 0),
                       edit(cmd::kCounterSuffix, "Suffix: ", 0),
                       chk(cmd::kLeadingZero, "Leading zero"), edit(cmd::kMinDigits, "Min digits: ", 0),
                       btn(cmd::kEditUndo, "Undo"),
                       btn(cmd::kEditRedo, "Redo")});
}

void appendOptions(std::vector<RibbonEntry>& t)
{
    t.push_back(category("Options", 115, 114));
    t.push_back(panel("Designer"));
    t.push_back(chk(cmd::kShowRulers, "Show rulers"));
    t.push_back(panel("Helplines"));
    t.insert(t.end(), {chk(cmd::kHelpLinesHorizontal, "Horizontal"), edit(cmd::kHelpLineRows, "", 50), sep(),
                       chk(cmd::kHelpLinesVertical, "Vertical"), edit(cmd::kHelpLineColumns, "", 50)});
    t.push_back(panel("Engrave"));
    t.insert(t.end(), {chk(cmd::kDrawLabelBorders, "Draw label borders"),
                       chk(cmd::kPauseBetweenPages, "Pause between pages"),
                       colour(cmd::kEngraveBorderColour, "Border color",
                              {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "#ff6600", "white"}),
                       combo(cmd::kEngraveLineWidthBox, "Line width", 80,
                             mmList({0, 0.1, 0.15, 0.25, 0.5, 1, 1.5, 2.5, 5}))});
    t.push_back(panel("Table"));
    t.insert(t.end(), {combo(cmd::kDelimiterBox, "Delimiter", 80, {"None", "Space", "Line break"}),
                       chk(cmd::kSeparateBlankFields, "Separate blank fields")});
    t.push_back(panel("Window layout"));
    t.push_back(chk(cmd::kShowStacked, "Show windows stacked"));
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
        {Q(Qt::SHIFT | Qt::Key_Delete), cmd::kDelete},
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
        {Q(Qt::CTRL | Qt::Key_B), cmd::kFind},
    };
}
