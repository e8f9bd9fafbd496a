#pragma once
// Moved to tests/support/templateedit_fixture.h, shared by the test folders.
#include "support/templateedit_fixture.h"
