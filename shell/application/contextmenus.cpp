#include "shell/application/contextmenus.h"

#include "platform/commandids.h"
#include "shell/frame/commandicons.h"
#include "shell/frame/commandrouter.h"

#include <QMenu>

void CContextMenuManager::RegisterProgramMenus()
{
    using namespace cmd;
    const ContextMenuItem cut{kEditCut, "Cu&t\tCtrl+X"};
    const ContextMenuItem copy{kEditCopy, "&Copy\tCtrl+C"};
    const ContextMenuItem paste{kEditPaste, "&Paste\tCtrl+V"};
    const ContextMenuItem sep{};
    AddMenu(QStringLiteral("Edit"), 119, {cut, copy, paste});
    // Registered with the others; no view shows it.
    AddMenu(QStringLiteral("Explorer"), 174,
            {{kExplorerOpen, "&Open"}, {kExplorerOpenWith, "Open &With...."}, sep, {kExplorerCompile, "&Compile"}, sep,
             cut, copy, {kExplorerRemove, "&Remove"}, sep, {kExplorerProperties, "&Properties..."}});
    AddMenu(QStringLiteral("Design"), 322,
            {cut, copy, paste, {kDelete, "Delete\tDel"}, {kEditSelectAll, "Select all\tCtrl+A"}, sep,
             {kCombine, "Combine"}, {kSplit, "Split"}, sep,
             {kZoom50, "50%", "Zoom"}, {kZoom75, "75%", "Zoom"}, {kZoom100, "100%", "Zoom"},
             {kZoom200, "200%", "Zoom"}, {kZoom300, "300%", "Zoom"}, {kZoom400, "400%", "Zoom"}, sep,
             {kExportTemplate, "Export template"}, {kDeleteTemplate, "Delete template"}});
    AddMenu(QStringLiteral("Table"), 323,
            {cut, copy, paste, {kDelete, "Delete\tDEL"}, sep, {kSequence, "Sequence"}, {kRepeat, "Repeat"},
             {kInsertRow, "Insert row"}, {kReplace, "Replace"}, sep, {kLinkImage, "Link image"}, sep,
             {kDeleteTable, "Delete table"}});
    AddMenu(QStringLiteral("Preview"), 324,
            {{kZoom50, "Zoom 50%"}, {kZoom75, "Zoom 75%"}, {kZoom100, "Zoom 100%"}, {kZoom200, "Zoom 200%"},
             {kZoom300, "Zoom 300%"}, {kZoom400, "Zoom 400%"}});
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
