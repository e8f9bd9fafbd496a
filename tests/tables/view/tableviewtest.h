#pragma once
// Moved to tests/support/tableview_fixture.h, shared by the test folders.
#include "support/tableview_fixture.h"
