#pragma once
// The pictures of the commands shown in the ribbon, the quick access
// toolbar, the application menu and the context menus: one SVG of the
// bundled icon set per command id.
#include <QColor>
#include <QIcon>

#include <span>

struct CommandIcon {
    int id;
    const char* name; // file name in resources/icons without ".svg"
};

// Every command that has a picture.
std::span<const CommandIcon> CommandIcons();
// The picture's name for a command; null when it has none.
const char* CommandIconName(int id);
// A picture of the set by its name, drawn in `colour`; null when missing.
QIcon SetPicture(const char* name, const QColor& colour = QColor());
// The picture of a collapsed ribbon panel whose commands have none.
QIcon PanelPicture();
// The picture drawn in `colour` (the set's own colour when invalid); a null
// icon when the command has none or its file is missing.
QIcon CommandIconPicture(int id, const QColor& colour = QColor());
