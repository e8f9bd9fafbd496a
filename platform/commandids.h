#pragma once
// Every command id of the program, named once. Ribbon elements, menu
// entries, context menus, accelerators and status panes send or show these
// ids; the views, the document, the frame and the application register
// their handlers under them. The values are fixed: stored settings (the
// application look) and the quick access toolbar hold them.
//
// Each row is X(Name, id, Reach): the constant cmd::kName, and who sends
// the command: a control (Control), only the program itself (Internal:
// posted, forwarded between views, applied from a setting, or kept claimed
// so that it stays disabled), or nobody (Unshown: the entries of the
// "Explorer" context menu, which is registered with the others and shown
// by no view; nothing handles them). The command checks in the tests read
// the Reach column.
#include <cstddef>

#define VSL_COMMAND_IDS(X)                                                                                             \
    /* status bar, window list, context menu of the file explorer */                                                 \
    X(StatusPane1, 120, Control)                                                                                       \
    X(StatusPane2, 121, Control)                                                                                       \
    X(WindowDialog, 131, Control)                                                                                      \
    X(ExplorerProperties, 135, Unshown)                                                                                \
    X(ExplorerOpen, 136, Unshown)                                                                                      \
    X(ExplorerOpenWith, 137, Unshown)                                                                                  \
    X(ExplorerCompile, 138, Unshown)                                                                                   \
    /* application looks: 215..218 on the Style menu, the others from the stored setting */                        \
    X(LookPlain, 210, Internal)                                                                                        \
    X(LookOfficeXp, 211, Internal)                                                                                     \
    X(LookWindows, 212, Internal)                                                                                      \
    X(LookOffice2003, 213, Internal)                                                                                   \
    X(LookVisualStudio2005, 214, Internal)                                                                             \
    X(LookOffice2007Blue, 215, Control)                                                                                \
    X(LookOffice2007Black, 216, Control)                                                                               \
    X(LookOffice2007Silver, 217, Control)                                                                              \
    X(LookOffice2007Aqua, 218, Control)                                                                                \
    /* Home */                                                                                                         \
    X(SelectLabel, 806, Control)                                                                                       \
    X(Guide, 838, Control)                                                                                             \
    X(ImportTemplate, 852, Control)                                                                                    \
    X(FieldCodes, 219, Control)                                                                                        \
    X(FieldContours, 220, Control)                                                                                     \
    X(ZoomBox, 245, Control)                                                                                           \
    X(ShowHeader, 255, Control)                                                                                        \
    X(ShowLabel, 254, Control)                                                                                         \
    X(ShowFooter, 256, Control)                                                                                        \
    X(InsertText, 221, Control)                                                                                        \
    X(InsertBarcode, 222, Control)                                                                                     \
    X(InsertImage, 223, Control)                                                                                       \
    X(SourceConstant, 700, Control)                                                                                    \
    X(SourceTable, 701, Control)                                                                                       \
    X(ColumnBox, 705, Control)                                                                                         \
    X(SourceDate, 702, Control)                                                                                        \
    X(SourceTime, 703, Control)                                                                                        \
    X(SourceAutoIncrement, 704, Control)                                                                               \
    X(TypefaceBox, 250, Control)                                                                                       \
    X(FontSizeBox, 251, Control)                                                                                       \
    X(Bold, 230, Control)                                                                                              \
    X(Italic, 231, Control)                                                                                            \
    X(Underline, 232, Control)                                                                                         \
    X(TextAlignLeft, 235, Control)                                                                                     \
    X(TextAlignCenter, 236, Control)                                                                                   \
    X(TextAlignRight, 237, Control)                                                                                    \
    X(TextColour, 722, Control)                                                                                        \
    X(BarcodeSymbolBox, 790, Control)                                                                                  \
    X(BarcodeModuleBox, 791, Control)                                                                                  \
    X(BarcodeHeightBox, 792, Control)                                                                                  \
    /* Label */                                                                                                        \
    X(NewLabel, 903, Control)                                                                                          \
    X(LoadLabel, 241, Control)                                                                                         \
    X(ImportLabelFiles, 926, Control)                                                                                  \
    X(SaveLabel, 845, Control)                                                                                         \
    X(SaveLabelAs, 846, Control)                                                                                       \
    X(DeleteLabel, 807, Control)                                                                                       \
    X(PaperSizeBox, 771, Control)                                                                                      \
    X(PaperWidth, 798, Control)                                                                                        \
    X(PaperHeight, 799, Control)                                                                                       \
    X(Portrait, 605, Control)                                                                                          \
    X(Landscape, 606, Control)                                                                                         \
    X(LabelWidth, 772, Control)                                                                                        \
    X(LabelHeight, 773, Control)                                                                                       \
    X(LabelRadius, 607, Control)                                                                                       \
    X(ShapeRectangular, 785, Control)                                                                                  \
    X(ShapeRounded, 786, Control)                                                                                      \
    X(ShapeElliptical, 787, Control)                                                                                   \
    X(MarginTop, 784, Control)                                                                                         \
    X(MarginLeft, 783, Control)                                                                                        \
    X(Rows, 777, Control)                                                                                              \
    X(Columns, 778, Control)                                                                                           \
    X(PitchHorizontal, 774, Control)                                                                                   \
    X(PitchVertical, 775, Control)                                                                                     \
    X(StorePrinter, 813, Control)                                                                                      \
    X(StorePrinterSettings, 811, Control)                                                                              \
    X(LabelPrinterSetup, 812, Control)                                                                                 \
    /* Page */                                                                                                         \
    X(BlockCount, 779, Control)                                                                                        \
    X(BlockSpace, 788, Control)                                                                                        \
    X(HeaderWidth, 814, Control)                                                                                       \
    X(HeaderHeight, 815, Control)                                                                                      \
    X(HeaderEnable, 816, Control)                                                                                      \
    X(HeaderTop, 817, Control)                                                                                         \
    X(HeaderLeft, 818, Control)                                                                                        \
    X(FooterWidth, 819, Control)                                                                                       \
    X(FooterHeight, 820, Control)                                                                                      \
    X(FooterEnable, 821, Control)                                                                                      \
    X(FooterTop, 822, Control)                                                                                         \
    X(FooterLeft, 823, Control)                                                                                        \
    X(MarkingEnable, 1116, Control)                                                                                    \
    X(StripWidth, 1117, Control)                                                                                       \
    /* Label info */                                                                                                   \
    X(MarkingWire, 824, Control)                                                                                       \
    X(MarkingCable, 825, Control)                                                                                      \
    X(MarkingComponent, 826, Control)                                                                                  \
    X(MarkingTerminalBlock, 827, Control)                                                                              \
    X(MarkingPlc, 828, Control)                                                                                        \
    X(MarkingModule, 1151, Control)                                                                                    \
    X(MarkingOther, 829, Control)                                                                                      \
    X(PrinterLaser, 830, Control)                                                                                      \
    X(PrinterThermo, 832, Control)                                                                                     \
    X(PrinterThermalTransfer, 833, Control)                                                                            \
    X(PrinterOther, 835, Control)                                                                                      \
    X(FamilyBox, 866, Control)                                                                                         \
    X(ArticleNumbers, 1083, Control)                                                                                   \
    X(LabelImageFile, 836, Control)                                                                                    \
    X(LabelInfoFile, 837, Control)                                                                                     \
    X(DeleteLabelFiles, 935, Control)                                                                                  \
    /* Table */                                                                                                        \
    X(ImportTable, 730, Control)                                                                                       \
    X(ImportText, 805, Control)                                                                                        \
    X(ImportExcel, 861, Control)                                                                                       \
    X(FirstRow, 733, Control)                                                                                          \
    X(PreviousPage, 737, Control)                                                                                      \
    X(PreviousRow, 735, Control)                                                                                       \
    X(NextRow, 736, Control)                                                                                           \
    X(NextPage, 738, Control)                                                                                          \
    X(LastRow, 734, Control)                                                                                           \
    X(Repeat, 741, Control)                                                                                            \
    X(Sequence, 731, Control)                                                                                          \
    X(Find, 732, Control)                                                                                              \
    X(Replace, 742, Control)                                                                                           \
    X(InsertRow, 760, Control)                                                                                         \
    X(InsertColumn, 761, Control)                                                                                      \
    X(SortAscending, 762, Control)                                                                                     \
    X(SortDescending, 763, Control)                                                                                    \
    X(ImageColumn, 770, Control)                                                                                       \
    X(LinkImage, 847, Control)                                                                                         \
    X(FilterEnable, 803, Control)                                                                                      \
    X(FilterSetup, 804, Control)                                                                                       \
    X(FilterLoad, 808, Control)                                                                                        \
    X(FilterStore, 809, Control)                                                                                       \
    /* Module marking */                                                                                               \
    X(MaterialLength, 1194, Control)                                                                                   \
    X(FixedLength, 1115, Control)                                                                                      \
    X(SelectModules, 1120, Control)                                                                                    \
    X(SelectObjects, 1121, Control)                                                                                    \
    X(ModuleLength, 1086, Control)                                                                                     \
    X(UsePreset, 1118, Control)                                                                                        \
    X(UpdateMarker, 1123, Control)                                                                                     \
    X(Multiply1, 1087, Control)                                                                                        \
    X(Multiply2, 1088, Control)                                                                                        \
    X(Multiply3, 1089, Control)                                                                                        \
    X(Multiply4, 1090, Control)                                                                                        \
    X(Multiply5, 1109, Control)                                                                                        \
    X(MultiplierBox, 1110, Control)                                                                                    \
    X(ModulesToAddBox, 1097, Control)                                                                                  \
    X(AddMarker, 1095, Control)                                                                                        \
    X(InsertMarker, 1103, Control)                                                                                     \
    X(DeleteMarker, 1091, Control)                                                                                     \
    X(DeleteAllMarkers, 1092, Control)                                                                                 \
    X(JoinMarker, 1195, Control)                                                                                       \
    X(SplitMarker, 1196, Control)                                                                                      \
    X(SkipMarker, 1113, Control)                                                                                       \
    X(ModuleGap, 1119, Control)                                                                                        \
    X(MarkerBorders, 1125, Control)                                                                                    \
    X(FirstMarker, 1101, Control)                                                                                      \
    X(LastMarker, 1102, Control)                                                                                       \
    X(GotoMarker, 1098, Control)                                                                                       \
    X(PreviousMarker, 1099, Control)                                                                                   \
    X(NextMarker, 1100, Control)                                                                                       \
    X(MarkingLeftMargin, 1111, Control)                                                                                \
    X(MarkingRightMargin, 1112, Control)                                                                               \
    X(ModuleTotal, 1093, Control)                                                                                      \
    X(MarkerTotal, 1094, Control)                                                                                      \
    X(StripWidthKey, 1085, Internal)                                                                                   \
    X(JobRow, 1114, Internal)                                                                                          \
    X(TableFlag, 696, Internal)                                                                                        \
    X(ApplyMarkingRow, 1084, Internal)                                                                                 \
    /* Draw */                                                                                                         \
    X(InsertLine, 710, Control)                                                                                        \
    X(InsertRectangle, 711, Control)                                                                                   \
    X(InsertRoundedRectangle, 712, Control)                                                                            \
    X(InsertTriangle, 713, Control)                                                                                    \
    X(InsertEllipse, 714, Control)                                                                                     \
    X(LineWidthBox, 800, Control)                                                                                      \
    X(BorderColour, 720, Control)                                                                                      \
    X(Transparent, 723, Control)                                                                                       \
    X(FillColour, 721, Control)                                                                                        \
    X(CornerRadiusBox, 801, Control)                                                                                   \
    X(WarningSign, 802, Control)                                                                                       \
    /* Fine tune layout */                                                                                             \
    X(Lock, 780, Control)                                                                                              \
    X(BringToFront, 252, Control)                                                                                      \
    X(SendToBack, 253, Control)                                                                                        \
    X(BringForward, 228, Control)                                                                                      \
    X(SendBackward, 229, Control)                                                                                      \
    X(AlignLeft, 246, Control)                                                                                         \
    X(CenterHorizontal, 239, Control)                                                                                  \
    X(AlignRight, 248, Control)                                                                                        \
    X(AlignTop, 247, Control)                                                                                          \
    X(CenterVertical, 240, Control)                                                                                    \
    X(AlignBottom, 249, Control)                                                                                       \
    X(SpaceHorizontal, 751, Control)                                                                                   \
    X(SpaceVertical, 752, Control)                                                                                     \
    X(SelectionX, 610, Control)                                                                                        \
    X(SelectionY, 611, Control)                                                                                        \
    X(SelectionWidth, 612, Control)                                                                                    \
    X(SelectionHeight, 613, Control)                                                                                   \
    /* Edit */                                                                                                         \
    X(ImportImage, 226, Control)                                                                                       \
    X(ResetImage, 227, Control)                                                                                        \
    X(DuplicateAbove, 850, Control)                                                                                    \
    X(DuplicateLeft, 851, Control)                                                                                     \
    X(DuplicateRight, 782, Control)                                                                                    \
    X(DuplicateBelow, 781, Control)                                                                                    \
    X(RotateLeft, 224, Control)                                                                                        \
    X(RotateRight, 225, Control)                                                                                       \
    X(Combine, 233, Control)                                                                                           \
    X(Split, 234, Control)                                                                                             \
    /* Format */                                                                                                       \
    X(AutoSize, 849, Control)                                                                                          \
    X(CenterTextVertical, 877, Control)                                                                                \
    X(CharSetBox, 693, Control)                                                                                        \
    X(BarcodeRatioBox, 796, Control)                                                                                   \
    X(BarcodeCompensationBox, 797, Control)                                                                            \
    X(QrMarginBox, 1079, Control)                                                                                      \
    X(QrVersionBox, 1069, Control)                                                                                     \
    X(QrEccLevelBox, 1071, Control)                                                                                    \
    X(QrEncodingBox, 1073, Control)                                                                                    \
    X(CheckDigit, 793, Control)                                                                                        \
    X(HumanReadable, 794, Control)                                                                                     \
    X(HrCheckDigit, 795, Control)                                                                                      \
    X(DateFormatBox, 600, Control)                                                                                     \
    X(DateOffset, 602, Control)                                                                                        \
    X(DateOptions, 601, Internal)                                                                                      \
    X(CounterPrefix, 755, Control)                                                                                     \
    X(CounterStart, 754, Control)                                                                                      \
    X(CounterSuffix, 753, Control)                                                                                     \
    X(LeadingZero, 756, Control)                                                                                       \
    X(MinDigits, 757, Control)                                                                                         \
    /* Options */                                                                                                      \
    X(ShowRulers, 848, Control)                                                                                        \
    X(HelpLinesHorizontal, 258, Control)                                                                               \
    X(HelpLineRows, 11259, Control)                                                                                    \
    X(HelpLinesVertical, 257, Control)                                                                                 \
    X(HelpLineColumns, 11260, Control)                                                                                 \
    X(DrawLabelBorders, 862, Control)                                                                                  \
    X(PauseBetweenPages, 863, Control)                                                                                 \
    X(EngraveBorderColour, 864, Control)                                                                               \
    X(EngraveLineWidthBox, 865, Control)                                                                               \
    X(DelimiterBox, 603, Control)                                                                                      \
    X(SeparateBlankFields, 604, Control)                                                                               \
    X(ShowStacked, 1122, Control)                                                                                      \
    /* context menus and the document's own commands */                                                               \
    X(Delete, 839, Control)                                                                                            \
    X(Zoom50, 858, Control)                                                                                            \
    X(Zoom75, 859, Control)                                                                                            \
    X(Zoom100, 840, Control)                                                                                           \
    X(Zoom200, 841, Control)                                                                                           \
    X(Zoom300, 842, Control)                                                                                           \
    X(Zoom400, 843, Control)                                                                                           \
    X(AddTemplate, 854, Control)                                                                                       \
    X(AddTable, 855, Control)                                                                                          \
    X(DeleteTemplate, 856, Control)                                                                                    \
    X(DeleteTable, 857, Control)                                                                                       \
    X(ExportTemplate, 860, Control)                                                                                    \
    X(SendTo, 259, Control)                                                                                            \
    X(ReverseOrder, 764, Internal)                                                                                     \
    X(ShowDesign, 242, Internal)                                                                                       \
    X(ShowTable, 243, Internal)                                                                                        \
    X(ShowPreview, 244, Internal)                                                                                      \
    X(UnusedFirst, 11261, Internal)                                                                                    \
    X(UnusedLast, 11262, Internal)                                                                                     \
    X(Escape, 32768, Control)                                                                                          \
    /* the common commands */                                                                                          \
    X(FileNew, 57600, Control)                                                                                         \
    X(FileOpen, 57601, Control)                                                                                        \
    X(FileClose, 57602, Control)                                                                                       \
    X(FileSave, 57603, Control)                                                                                        \
    X(FileSaveAs, 57604, Control)                                                                                      \
    X(FilePrintSetup, 57606, Control)                                                                                  \
    X(FilePrint, 57607, Control)                                                                                       \
    X(FileMruFirst, 57616, Control)                                                                                    \
    X(FileMruLast, 57625, Control)                                                                                     \
    X(ExplorerRemove, 57632, Unshown)                                                                                  \
    X(EditCopy, 57634, Control)                                                                                        \
    X(EditCut, 57635, Control)                                                                                         \
    X(EditPaste, 57637, Control)                                                                                       \
    X(EditSelectAll, 57642, Control)                                                                                   \
    X(EditUndo, 57643, Control)                                                                                        \
    X(EditRedo, 57644, Control)                                                                                        \
    X(AppAbout, 57664, Control)                                                                                        \
    X(AppExit, 57665, Control)                                                                                         \
    X(Help, 57670, Control)                                                                                            \
    X(NextPane, 57680, Control)                                                                                        \
    X(PrevPane, 57681, Control)

namespace cmd {

#define VSL_COMMAND_CONSTANT(name, id, reach) inline constexpr int k##name = id;
VSL_COMMAND_IDS(VSL_COMMAND_CONSTANT)
#undef VSL_COMMAND_CONSTANT

// The ranges handled by one handler each.
inline constexpr int kLookFirst = kLookPlain;
inline constexpr int kLookLast = kLookOffice2007Aqua;
inline constexpr int kFileMruCount = kFileMruLast - kFileMruFirst + 1; // recent documents 1..10

enum class Reach { Control, Internal, Unshown };

struct CommandRow {
    int id;
    const char* name; // without the k
    Reach reach;
};

inline constexpr CommandRow kCommandRows[] = {
#define VSL_COMMAND_ROW(name, id, reach) {id, #name, Reach::reach},
    VSL_COMMAND_IDS(VSL_COMMAND_ROW)
#undef VSL_COMMAND_ROW
};

// The row of `id`; the row of a range's first id for the ids inside it;
// null for an id the table does not name.
constexpr const CommandRow* Find(int id)
{
    if (id > kFileMruFirst && id < kFileMruLast)
        id = kFileMruFirst;
    for (const CommandRow& row : kCommandRows)
        if (row.id == id)
            return &row;
    return nullptr;
}

// Each id is named once.
constexpr bool EveryIdOnce()
{
    constexpr size_t n = sizeof(kCommandRows) / sizeof(kCommandRows[0]);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (kCommandRows[i].id == kCommandRows[j].id)
                return false;
    return true;
}
static_assert(EveryIdOnce(), "a command id is named twice");

} // namespace cmd
