#include "shell/tableviewcommandtarget.h"

#include "tables/view/vorteplansofttableview.h"

namespace {

void apply(const TableCommandState& state, CCmdUI& ui)
{
    ui.Enable(state.enabled);
    if (state.checked)
        ui.SetCheck(*state.checked ? 1 : 0);
    if (state.text)
        ui.SetText(*state.text);
}

} // namespace

CTableViewCommandTarget::CTableViewCommandTarget(CVorteplanSoftTableView& view)
{
    for (const TableCommand& command : view.Commands()) {
        UpdateHandler update;
        if (command.update)
            update = [fn = command.update](CCmdUI& ui) {
                TableCommandState state;
                fn(state);
                apply(state, ui);
            };
        if (command.run)
            OnCommand(command.id, command.run, update);
        else
            OnUpdate(command.id, update ? update : [](CCmdUI& ui) { ui.Enable(false); });
    }
}
