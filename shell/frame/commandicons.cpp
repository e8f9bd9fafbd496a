#include "shell/frame/commandicons.h"

#include "platform/commandids.h"
#include "resources/resources.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

// The pictures of the commands: one file of the bundled icon set each
// (resources/icons, Breeze, LGPL-3), no two commands alike.
const CommandIcon kCommandIcons[] = {
    // File menu, quick access toolbar and help
    {cmd::kFileNew, "document-new"},
    {cmd::kFileOpen, "document-open"},
    {cmd::kFileSave, "document-save"},
    {cmd::kFileSaveAs, "document-save-as"},
    {cmd::kFilePrint, "document-print"},
    {cmd::kFilePrintSetup, "printer"},
    {cmd::kSendTo, "mail-send"},
    {cmd::kFileClose, "document-close"},
    {cmd::kAppAbout, "help-about"},
    {cmd::kAppExit, "application-exit"},
    {cmd::kHelp, "help-contents"},
    {cmd::kAddTemplate, "document-new-from-template"},
    {cmd::kAddTable, "insert-table"},
    // Clipboard, undo
    {cmd::kEditUndo, "edit-undo"},
    {cmd::kEditRedo, "edit-redo"},
    {cmd::kEditPaste, "edit-paste"},
    {cmd::kEditCut, "edit-cut"},
    {cmd::kEditCopy, "edit-copy"},
    {cmd::kEditSelectAll, "edit-select-all"},
    {cmd::kDelete, "edit-delete"},
    // Home
    {cmd::kSelectLabel, "view-list-details"},
    {cmd::kGuide, "tools-wizard"},
    {cmd::kImportTemplate, "document-import"},
    {cmd::kShowHeader, "format-border-set-top"},
    {cmd::kShowLabel, "tag"},
    {cmd::kShowFooter, "format-border-set-bottom"},
    {cmd::kInsertText, "insert-text"},
    {cmd::kInsertBarcode, "view-barcode"},
    {cmd::kInsertImage, "insert-image"},
    {cmd::kSourceConstant, "text-field"},
    {cmd::kSourceTable, "table"},
    {cmd::kSourceDate, "view-calendar-day"},
    {cmd::kSourceTime, "clock"},
    {cmd::kSourceAutoIncrement, "format-list-ordered"},
    {cmd::kTextColour, "format-text-color"},
    {cmd::kBold, "format-text-bold"},
    {cmd::kItalic, "format-text-italic"},
    {cmd::kUnderline, "format-text-underline"},
    {cmd::kTextAlignLeft, "format-justify-left"},
    {cmd::kTextAlignCenter, "format-justify-center"},
    {cmd::kTextAlignRight, "format-justify-right"},
    // Label
    {cmd::kNewLabel, "tag-new"},
    {cmd::kLoadLabel, "tag-folder"},
    {cmd::kImportLabelFiles, "archive-insert"},
    {cmd::kSaveLabel, "document-save-as-template"},
    {cmd::kSaveLabelAs, "document-export"},
    {cmd::kDeleteLabel, "tag-delete"},
    {cmd::kPortrait, "page-simple"},
    {cmd::kLandscape, "transform-rotate"},
    {cmd::kShapeRectangular, "select-rectangular"},
    {cmd::kShapeRounded, "tool_rounded_rectangle"},
    {cmd::kShapeElliptical, "tool_elliptical_selection"},
    {cmd::kLabelPrinterSetup, "configure"},
    // Label info
    {cmd::kLabelImageFile, "photo"},
    {cmd::kLabelInfoFile, "documentinfo"},
    {cmd::kDeleteLabelFiles, "edit-clear"},
    {cmd::kArticleNumbers, "edit-rename"},
    // Table
    {cmd::kImportTable, "document-open-data"},
    {cmd::kImportText, "text-x-generic"},
    {cmd::kImportExcel, "x-office-spreadsheet"},
    {cmd::kFirstRow, "go-first"},
    {cmd::kPreviousPage, "go-previous-view-page"},
    {cmd::kPreviousRow, "go-previous"},
    {cmd::kNextRow, "go-next"},
    {cmd::kNextPage, "go-next-view-page"},
    {cmd::kLastRow, "go-last"},
    {cmd::kRepeat, "repeat"},
    {cmd::kSequence, "format-precision-more"},
    {cmd::kFind, "edit-find"},
    {cmd::kReplace, "edit-find-replace"},
    {cmd::kInsertRow, "edit-table-insert-row-below"},
    {cmd::kInsertColumn, "edit-table-insert-column-right"},
    {cmd::kSortAscending, "view-sort-ascending"},
    {cmd::kSortDescending, "view-sort-descending"},
    {cmd::kLinkImage, "insert-link"},
    {cmd::kFilterSetup, "view-filter"},
    {cmd::kFilterLoad, "document-open-folder"},
    {cmd::kFilterStore, "document-save-all"},
    // Module marking
    {cmd::kSelectModules, "view-multiple-objects"},
    {cmd::kSelectObjects, "edit-select"},
    {cmd::kUpdateMarker, "view-refresh"},
    {cmd::kMultiply1, "labplot-1x-zoom"},
    {cmd::kMultiply2, "labplot-2x-zoom"},
    {cmd::kMultiply3, "labplot-3x-zoom"},
    {cmd::kMultiply4, "labplot-4x-zoom"},
    {cmd::kMultiply5, "labplot-5x-zoom"},
    {cmd::kAddMarker, "list-add"},
    {cmd::kInsertMarker, "format-insert-node"},
    {cmd::kDeleteMarker, "list-remove"},
    {cmd::kDeleteAllMarkers, "edit-clear-all"},
    {cmd::kJoinMarker, "merge"},
    {cmd::kSplitMarker, "split"},
    {cmd::kFirstMarker, "go-first-view"},
    {cmd::kLastMarker, "go-last-view"},
    {cmd::kPreviousMarker, "go-previous-view"},
    {cmd::kNextMarker, "go-next-view"},
    // Draw
    {cmd::kBorderColour, "format-stroke-color"},
    {cmd::kFillColour, "format-fill-color"},
    {cmd::kEngraveBorderColour, "color-picker"},
    {cmd::kInsertLine, "draw-line"},
    {cmd::kInsertRectangle, "draw-rectangle"},
    {cmd::kInsertRoundedRectangle, "draw-rectangle-rounded"},
    {cmd::kInsertTriangle, "draw-triangle"},
    {cmd::kInsertEllipse, "draw-ellipse"},
    // Fine tune layout
    {cmd::kBringToFront, "object-order-front"},
    {cmd::kSendToBack, "object-order-back"},
    {cmd::kBringForward, "object-order-raise"},
    {cmd::kSendBackward, "object-order-lower"},
    {cmd::kAlignLeft, "align-horizontal-left"},
    {cmd::kCenterHorizontal, "align-horizontal-center"},
    {cmd::kAlignRight, "align-horizontal-right"},
    {cmd::kAlignTop, "align-vertical-top"},
    {cmd::kCenterVertical, "align-vertical-center"},
    {cmd::kAlignBottom, "align-vertical-bottom"},
    {cmd::kSpaceHorizontal, "distribute-horizontal-equal"},
    {cmd::kSpaceVertical, "distribute-vertical-equal"},
    // Edit
    {cmd::kImportImage, "edit-image"},
    {cmd::kResetImage, "edit-reset"},
    {cmd::kDuplicateAbove, "arrow-up"},
    {cmd::kDuplicateLeft, "arrow-left"},
    {cmd::kDuplicateRight, "arrow-right"},
    {cmd::kDuplicateBelow, "arrow-down"},
    {cmd::kRotateLeft, "object-rotate-left"},
    {cmd::kRotateRight, "object-rotate-right"},
    {cmd::kCombine, "object-group"},
    {cmd::kSplit, "object-ungroup"},
    // Context menus
    {cmd::kDeleteTemplate, "edit-delete-shred"},
    {cmd::kDeleteTable, "edit-delete-remove"},
    {cmd::kExportTemplate, "document-send"},
};

// A collapsed ribbon panel whose commands have no picture.
constexpr char kPanelPicture[] = "overflow-menu";

// The set draws in its text colour; the picture takes the colour asked for.
constexpr char kSetTextColour[] = "#232629";

QByteArray svgOf(const char* name)
{
    appresources::Init();
    QFile file(QStringLiteral(":/vsl/icons/%1.svg").arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

std::span<const CommandIcon> CommandIcons()
{
    return kCommandIcons;
}

const char* CommandIconName(int id)
{
    for (const CommandIcon& icon : kCommandIcons)
        if (icon.id == id)
            return icon.name;
    return nullptr;
}

QIcon SetPicture(const char* name, const QColor& colour)
{
    static QHash<QString, QIcon> cache;
    const QString key = QLatin1String(name) + colour.name();
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QByteArray svg = svgOf(name);
    if (svg.isEmpty())
        return {};
    if (colour.isValid())
        svg.replace(kSetTextColour, colour.name().toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QIcon icon;
    for (int size : {16, 22, 32, 44, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    cache.insert(key, icon);
    return icon;
}

QIcon CommandIconPicture(int id, const QColor& colour)
{
    const char* name = CommandIconName(id);
    return name ? SetPicture(name, colour) : QIcon();
}

QIcon PanelPicture()
{
    return SetPicture(kPanelPicture, QColor());
}
