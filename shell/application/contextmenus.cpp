#include "shell/application/contextmenus.h"

#include "shell/frame/commandicons.h"

#include "shell/frame/commandrouter.h"

#include <QMenu>

void CContextMenuManager::RegisterProgramMenus()
{
    const ContextMenuItem cut{57635, "Cu&t\tCtrl+X"};
    const ContextMenuItem copy{57634, "&Copy\tCtrl+C"};
    const ContextMenuItem paste{57637, "&Paste\tCtrl+V"};
    const ContextMenuItem sep{};
    AddMenu(QStringLiteral("Edit"), 119, {cut, copy, paste});
    AddMenu(QStringLiteral("Explorer"), 174,
            {{136, "&Open"}, {137, "Open &With...."}, sep, {138, "&Compile"}, sep, cut, copy, {57632, "&Remove"}, sep,
             {135, "&Properties..."}});
    AddMenu(QStringLiteral("Design"), 322,
            {cut, copy, paste, {839, "Delete\tDel"}, {57642, "Select all\tCtrl+A"}, sep, {233, "Combine"},
             {234, "Split"}, sep, {858, "50%", "Zoom"}, {859, "75%", "Zoom"}, {840, "100%", "Zoom"},
             {841, "200%", "Zoom"}, {842, "300%", "Zoom"}, {843, "400%", "Zoom"}, sep, {860, "Export template"},
             {856, "Delete template"}});
    AddMenu(QStringLiteral("Table"), 323,
            {cut, copy, paste, {839, "Delete\tDEL"}, sep, {731, "Sequence"}, {741, "Repeat"}, {760, "Insert row"},
             {742, "Replace"}, sep, {847, "Link image"}, sep, {857, "Delete table"}});
    AddMenu(QStringLiteral("Preview"), 324,
            {{858, "Zoom 50%"}, {859, "Zoom 75%"}, {840, "Zoom 100%"}, {841, "Zoom 200%"}, {842, "Zoom 300%"},
             {843, "Zoom 400%"}});
}

void CContextMenuManager::AddMenu(const QString& name, int resourceId, std::vector<ContextMenuItem> items)
{
    m_menus.push_back(Menu{name, resourceId, std::move(items)});
}

QStringList CContextMenuManager::GetMenuNames() const
{
    QStringList out;
    for (const Menu& menu : m_menus)
        out << menu.name;
    return out;
}

int CContextMenuManager::GetResourceId(const QString& name) const
{
    for (const Menu& menu : m_menus)
        if (menu.name == name)
            return menu.resourceId;
    return 0;
}

const std::vector<ContextMenuItem>* CContextMenuManager::GetItems(const QString& name) const
{
    for (const Menu& menu : m_menus)
        if (menu.name == name)
            return &menu.items;
    return nullptr;
}

QMenu* CContextMenuManager::CreatePopup(const QString& name, QWidget* parent) const
{
    const std::vector<ContextMenuItem>* items = GetItems(name);
    if (!items)
        return nullptr;
    auto* menu = new QMenu(parent);
    QMenu* sub = nullptr;
    QString subName;
    for (const ContextMenuItem& item : *items) {
        QMenu* into = menu;
        if (item.submenu) {
            if (!sub || subName != QLatin1String(item.submenu)) {
                subName = QLatin1String(item.submenu);
                sub = menu->addMenu(subName);
            }
            into = sub;
        } else {
            sub = nullptr;
        }
        if (item.id == 0) {
            into->addSeparator();
            continue;
        }
        // The menu shows the text after a tab as the entry's key; the key
        // itself is the frame's accelerator.
        QAction* action = into->addAction(QString::fromLatin1(item.text));
        action->setData(item.id);
        action->setIcon(CommandIconPicture(item.id)); // none for the zoom levels
        QObject::connect(action, &QAction::triggered, menu, [this, id = item.id] { m_router.Execute(id); });
    }
    auto update = [this](QMenu* m) {
        for (QAction* action : m->actions()) {
            const int id = action->data().toInt();
            if (id == 0)
                continue;
            const CCmdUI state = m_router.Update(id);
            action->setEnabled(state.IsEnabled());
            if (state.GetChecked()) {
                action->setCheckable(true);
                action->setChecked(*state.GetChecked());
            }
        }
    };
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, update] {
        update(menu);
        for (QMenu* child : menu->findChildren<QMenu*>())
            update(child);
    });
    return menu;
}

void CContextMenuManager::ShowPopupMenu(const QString& name, const QPoint& globalPos, QWidget* parent) const
{
    QMenu* menu = CreatePopup(name, parent);
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
