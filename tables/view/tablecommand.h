#pragma once
// The commands a table view handles, as a list the shell's command router
// takes over (the table workspace does not know the router): each with its
// handler and its update handler. A command without a handler is claimed
// for its state only (status panes); one without an update handler is
// enabled.
#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct TableCommandState {
    bool enabled = true;
    std::optional<bool> checked;
    std::optional<QString> text;
};

struct TableCommand {
    int id = 0;
    std::function<void()> run;
    std::function<void(TableCommandState&)> update;
};

using TableCommandList = std::vector<TableCommand>;
