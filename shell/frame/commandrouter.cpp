#include "shell/frame/commandrouter.h"

void CCmdTarget::OnCommand(int id, Handler handler, UpdateHandler update)
{
    RangeHandler range;
    if (handler)
        range = [h = std::move(handler)](int) { h(); };
    m_entries[id] = Entry{std::move(range), std::move(update)};
}

void CCmdTarget::OnCommandRange(int first, int last, RangeHandler handler, UpdateHandler update)
{
    for (int id = first; id <= last; ++id)
        m_entries[id] = Entry{handler, update};
}

void CCmdTarget::OnUpdate(int id, UpdateHandler update)
{
    Entry& entry = m_entries[id];
    entry.update = std::move(update);
}

void CCmdTarget::RemoveCommand(int id)
{
    m_entries.erase(id);
}

const CCmdTarget::Entry* CCmdTarget::find(int id) const
{
    const auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : &it->second;
}

bool CCmdTarget::HandlesCommand(int id) const
{
    return find(id) != nullptr;
}

std::vector<int> CCmdTarget::CommandIds() const
{
    std::vector<int> ids;
    ids.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        ids.push_back(entry.first);
    return ids;
}

bool CCmdTarget::OnCmdMsg(int id)
{
    const Entry* entry = find(id);
    if (!entry)
        return false;
    if (entry->handler) {
        // The handler may replace its own entry: run a copy.
        const RangeHandler handler = entry->handler;
        handler(id);
    }
    return true;
}

bool CCmdTarget::OnUpdateCmdUI(CCmdUI& ui)
{
    const Entry* entry = find(ui.GetID());
    if (!entry)
        return false;
    ui.Enable(true);
    if (entry->update)
        entry->update(ui);
    else if (!entry->handler)
        ui.Enable(false);
    return true;
}

std::vector<CCmdTarget*> CCommandRouter::Chain() const
{
    std::vector<CCmdTarget*> chain;
    if (m_view)
        if (CCmdTarget* t = m_view())
            chain.push_back(t);
    if (m_document)
        if (CCmdTarget* t = m_document())
            chain.push_back(t);
    if (m_frame)
        chain.push_back(m_frame);
    if (m_app)
        chain.push_back(m_app);
    return chain;
}

void CCommandRouter::ApplyPendingInput()
{
    if (!m_pendingInput || m_applyingInput)
        return;
    m_applyingInput = true;
    const std::function<void()> handler = m_pendingInput;
    handler();
    m_applyingInput = false;
}

bool CCommandRouter::routeNow(int id)
{
    for (CCmdTarget* target : Chain())
        if (target->OnCmdMsg(id))
            return true;
    return false;
}

bool CCommandRouter::Route(int id)
{
    ApplyPendingInput();
    return routeNow(id);
}

bool CCommandRouter::Execute(int id)
{
    // The typed input first: it may change what the command finds enabled.
    ApplyPendingInput();
    if (!Update(id).IsEnabled())
        return false;
    return routeNow(id);
}

CCmdUI CCommandRouter::Update(int id) const
{
    CCmdUI ui(id);
    for (CCmdTarget* target : Chain())
        if (target->OnUpdateCmdUI(ui))
            return ui;
    ui.Enable(false);
    return ui;
}
