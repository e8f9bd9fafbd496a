#pragma once
// The pictures of ribbon and menu commands: the desktop theme's icon where
// one fits the command, else a small tile with the command's initial.
#include <QIcon>
#include <QString>

QIcon RibbonIcon(int id, const QString& text, int size);
