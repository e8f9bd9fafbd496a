#pragma once
// Moved to tests/support/wmf_builder.h, shared with the benchmarks.
#include "support/wmf_builder.h"
