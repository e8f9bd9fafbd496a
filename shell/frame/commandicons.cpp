#include "shell/frame/commandicons.h"

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
    {57600, "document-new"}, {57601, "document-open"}, {57603, "document-save"}, {57604, "document-save-as"},
    {57607, "document-print"}, {57606, "printer"}, {259, "mail-send"}, {57602, "document-close"},
    {57664, "help-about"}, {57665, "application-exit"}, {57670, "help-contents"},
    {854, "document-new-from-template"}, {855, "insert-table"},
    // Clipboard, undo
    {57643, "edit-undo"}, {57644, "edit-redo"}, {57637, "edit-paste"}, {57635, "edit-cut"}, {57634, "edit-copy"},
    {57642, "edit-select-all"}, {839, "edit-delete"},
    // Home
    {806, "view-list-details"}, {838, "tools-wizard"}, {852, "document-import"},
    {255, "format-border-set-top"}, {254, "tag"}, {256, "format-border-set-bottom"},
    {221, "insert-text"}, {222, "view-barcode"}, {223, "insert-image"},
    {700, "text-field"}, {701, "table"}, {702, "view-calendar-day"}, {703, "clock"}, {704, "format-list-ordered"},
    {722, "format-text-color"}, {230, "format-text-bold"}, {231, "format-text-italic"}, {232, "format-text-underline"},
    {235, "format-justify-left"}, {236, "format-justify-center"}, {237, "format-justify-right"},
    // Label
    {903, "tag-new"}, {241, "tag-folder"}, {926, "archive-insert"}, {845, "document-save-as-template"},
    {846, "document-export"}, {807, "tag-delete"}, {605, "page-simple"}, {606, "transform-rotate"},
    {785, "select-rectangular"}, {786, "tool_rounded_rectangle"}, {787, "tool_elliptical_selection"},
    {812, "configure"},
    // Label info
    {836, "photo"}, {837, "documentinfo"}, {935, "edit-clear"}, {1083, "edit-rename"},
    // Table
    {730, "document-open-data"}, {805, "text-x-generic"}, {861, "x-office-spreadsheet"},
    {733, "go-first"}, {737, "go-previous-view-page"}, {735, "go-previous"}, {736, "go-next"},
    {738, "go-next-view-page"}, {734, "go-last"},
    {741, "repeat"}, {731, "format-precision-more"}, {732, "edit-find"}, {742, "edit-find-replace"},
    {760, "edit-table-insert-row-below"}, {761, "edit-table-insert-column-right"},
    {762, "view-sort-ascending"}, {763, "view-sort-descending"}, {847, "insert-link"},
    {804, "view-filter"}, {808, "document-open-folder"}, {809, "document-save-all"},
    // Module marking
    {1120, "view-multiple-objects"}, {1121, "edit-select"}, {1123, "view-refresh"},
    {1087, "labplot-1x-zoom"}, {1088, "labplot-2x-zoom"}, {1089, "labplot-3x-zoom"}, {1090, "labplot-4x-zoom"},
    {1109, "labplot-5x-zoom"}, {1095, "list-add"}, {1103, "format-insert-node"}, {1091, "list-remove"},
    {1092, "edit-clear-all"}, {1195, "merge"}, {1196, "split"},
    {1101, "go-first-view"}, {1102, "go-last-view"}, {1099, "go-previous-view"}, {1100, "go-next-view"},
    // Draw
    {720, "format-stroke-color"}, {721, "format-fill-color"}, {864, "color-picker"}, {710, "draw-line"}, {711, "draw-rectangle"}, {712, "draw-rectangle-rounded"}, {713, "draw-triangle"},
    {714, "draw-ellipse"},
    // Fine tune layout
    {252, "object-order-front"}, {253, "object-order-back"}, {228, "object-order-raise"},
    {229, "object-order-lower"}, {246, "align-horizontal-left"}, {239, "align-horizontal-center"},
    {248, "align-horizontal-right"}, {247, "align-vertical-top"}, {240, "align-vertical-center"},
    {249, "align-vertical-bottom"}, {751, "distribute-horizontal-equal"}, {752, "distribute-vertical-equal"},
    // Edit
    {226, "edit-image"}, {227, "edit-reset"}, {850, "arrow-up"}, {851, "arrow-left"}, {782, "arrow-right"},
    {781, "arrow-down"}, {224, "object-rotate-left"}, {225, "object-rotate-right"}, {233, "object-group"},
    {234, "object-ungroup"},
    // Context menus
    {856, "edit-delete-shred"}, {857, "edit-delete-remove"}, {860, "document-send"},
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
