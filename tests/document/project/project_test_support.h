#pragma once
// Moved to tests/support/project_fixture.h, shared by the test folders.
#include "support/project_fixture.h"
