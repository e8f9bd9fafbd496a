#pragma once
// Moved to tests/support/excel_numbers_book.h, shared with the benchmarks.
#include "support/excel_numbers_book.h"
