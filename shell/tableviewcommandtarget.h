#pragma once
// A table view as a link of the command route: its commands and update
// handlers registered with a command target, which the project window
// names as its active view while the table page is active.
#include "shell/frame/commandrouter.h"

class CVorteplanSoftTableView;

class CTableViewCommandTarget : public CCmdTarget {
public:
    // The view must outlive the target (both belong to the table page).
    explicit CTableViewCommandTarget(CVorteplanSoftTableView& view);
};
