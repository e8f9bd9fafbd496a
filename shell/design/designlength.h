#pragma once
// Lengths and percentages of the design canvas and its ribbon boxes: the
// program's one length text (platform/lengthtext.h).
#include "platform/lengthtext.h"

namespace designlength {
using lengthtext::FormatLength;
using lengthtext::kMetric;
using lengthtext::kUS;
using lengthtext::ParseLength;
using lengthtext::ParsePercent;
} // namespace designlength
