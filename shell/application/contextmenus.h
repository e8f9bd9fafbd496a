#pragma once
// The context menus the views show, registered by name at start-up:
// "Edit", "Explorer", "Design", "Table" and "Preview". A view asks for its
// menu by name; every entry sends its command through the router and
// takes its state from the update handlers when the menu opens.
#include <QPoint>
#include <QString>
#include <QStringList>

#include <vector>

class CCommandRouter;
class QMenu;
class QWidget;

struct ContextMenuItem {
    int id = 0;                  // 0: a separator
    const char* text = "";
    const char* submenu = nullptr; // the submenu the entry belongs to
};

class CContextMenuManager {
public:
    explicit CContextMenuManager(CCommandRouter& router) : m_router(router) {}

    // Registers the five menus of the program (names in this order).
    void RegisterProgramMenus();
    void AddMenu(const QString& name, int resourceId, std::vector<ContextMenuItem> items);

    QStringList GetMenuNames() const;
    int GetResourceId(const QString& name) const; // 0 when unknown
    const std::vector<ContextMenuItem>* GetItems(const QString& name) const;

    // A new popup menu for `name` (owned by `parent`); null when unknown.
    QMenu* CreatePopup(const QString& name, QWidget* parent) const;
    // Shows it at a screen position and runs the chosen command.
    void ShowPopupMenu(const QString& name, const QPoint& globalPos, QWidget* parent) const;

private:
    struct Menu {
        QString name;
        int resourceId = 0;
        std::vector<ContextMenuItem> items;
    };
    CCommandRouter& m_router;
    std::vector<Menu> m_menus;
};
