#pragma once
// The ribbon as data: every element of the application button's panel, the
// categories with their panels and elements in order, the quick access
// toolbar and the tab-row buttons. CRibbonBar builds its widgets from this
// table and nothing else; the table is also what tests check.
//
// Lists whose texts are lengths ("0.2 mm") are formatted with the user's
// decimal separator (CurrentNumberLocale) when the table is built.
#include <QKeySequence>
#include <QString>
#include <QStringList>

#include <vector>

enum class RibbonKind {
    // The application button and its main panel.
    AppButton,
    MainButton,       // a command of the main panel
    MainSubLabel,     // a heading among a main button's sub-items
    MainSubButton,    // a sub-item of the main button before it
    MainSeparator,
    RecentList,       // the recent documents ("Recent File List")
    MainBottomButton, // About and Exit below the panel
    // Categories and their contents.
    Category,
    Panel,
    Button,
    LargeButton,
    Check,
    Edit,      // edit box; `width` in pixels, `text` its label
    Combo,     // combo box with an edit field; `items` its list
    FontCombo, // every installed font
    Colour,    // colour button; `items` named colours, `extra` the "Other" button
    Separator,
    // Outside the categories.
    QuickAccess, // a command on the quick access toolbar
    StyleButton, // the "Style" menu on the tab row (`items` / `itemIds`)
    HelpButton,
};

struct RibbonEntry {
    RibbonKind kind = RibbonKind::Button;
    int id = 0; // command id; 0 for entries that send none
    QString text;
    int width = 0;        // edit and combo boxes, recent list
    QStringList items;    // combo list, colour names, menu texts
    std::vector<int> itemIds; // the commands of a menu's items
    QString keyTips;      // each character one key tip
    int image = -1;       // small image (index in its strip), -1 none
    int largeImage = -1;  // categories: their large image strip
    int group = 0;        // buttons of one button group share a number
    QString extra;        // "Other" of colour buttons; description of Style
    QString toolTip;
};

// The whole ribbon in creation order.
std::vector<RibbonEntry> BuildRibbonTable();

// Only the category texts, in tab order ("&Home" given as "Home").
QStringList RibbonCategoryNames();
// The index of the Module marking category, which the design view watches.
inline constexpr int kModuleMarkingCategory = 5;

// The accelerator table: keys and the command they send.
struct Accelerator {
    QKeySequence keys;
    int id = 0;
};
std::vector<Accelerator> AcceleratorTable();
