#include "platform/muldiv.h"

#include <limits>

int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    const int64_t p = int64_t(a) * int64_t(b);
    // |p| < 2^62 and |c| <= 2^31, so the halved divisor cannot overflow.
    const int64_t ac = c < 0 ? -int64_t(c) : int64_t(c);
    const bool negative = (p < 0) != (c < 0);
    const uint64_t ap = p < 0 ? uint64_t(-p) : uint64_t(p);
    const uint64_t q = (ap + uint64_t(ac) / 2) / uint64_t(ac);
    if (q > uint64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1u : 0u))
        return -1;
    return negative ? int32_t(-int64_t(q)) : int32_t(q);
}
