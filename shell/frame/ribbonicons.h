#pragma once
// The pictures of ribbon and menu commands: the command's picture of the
// bundled icon set (commandicons.h), drawn in `colour` when one is given;
// a command without one gets a small tile with its initial.
#include <QColor>
#include <QIcon>
#include <QString>

QIcon RibbonIcon(int id, const QString& text, int size, const QColor& colour = QColor());
