#pragma once
// Moved to tests/support/gridtest.h, shared by the test folders.
#include "support/gridtest.h"
